#include "tools/content/Reverb.h"

namespace Content {
namespace {

constexpr std::array<int, 8> kCombLengths{1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<int, 4> kAllpassLengths{556, 441, 341, 225};
constexpr int kStereoSpread = 23;
constexpr float kFeedback = 0.9f;
constexpr float kDamping = 0.25f;
constexpr float kInputGain = 0.015f;

} // namespace

Reverb::Reverb()
{
    for (std::size_t side = 0; side < m_sides.size(); ++side) {
        const int spread = static_cast<int>(side) * kStereoSpread;
        for (std::size_t i = 0; i < kCombLengths.size(); ++i)
            m_sides[side].combs[i].buffer.assign(kCombLengths[i] + spread, 0.0f);
        for (std::size_t i = 0; i < kAllpassLengths.size(); ++i)
            m_sides[side].allpasses[i].buffer.assign(kAllpassLengths[i] + spread, 0.0f);
    }
}

void Reverb::Delay::Advance()
{
    if (++index == buffer.size())
        index = 0;
}

float Reverb::Delay::Comb(float input)
{
    const float output = buffer[index];
    store = output * (1.0f - kDamping) + store * kDamping;
    buffer[index] = input + store * kFeedback;
    Advance();
    return output;
}

float Reverb::Delay::Allpass(float input)
{
    const float delayed = buffer[index];
    buffer[index] = input + delayed * 0.5f;
    Advance();
    return delayed - input;
}

float Reverb::Side::Process(float input)
{
    float sum = 0.0f;
    for (Delay& comb : combs)
        sum += comb.Comb(input * kInputGain);
    for (Delay& allpass : allpasses)
        sum = allpass.Allpass(sum);
    return sum;
}

void Reverb::AddLooped(const std::vector<float>& send, std::vector<float>& left, std::vector<float>& right, float wet)
{
    for (float sample : send) {
        m_sides[0].Process(sample);
        m_sides[1].Process(sample);
    }
    for (std::size_t i = 0; i < send.size(); ++i) {
        left[i] += wet * m_sides[0].Process(send[i]);
        right[i] += wet * m_sides[1].Process(send[i]);
    }
}

} // namespace Content
