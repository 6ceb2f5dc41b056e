// A stereo hall: eight damped feedback delays (combs) per side summed and then smeared by four all-pass
// stages, the right side's delays a little longer than the left's so that the two sides differ. It reverberates
// a piece as a loop: the send runs through twice and only the second turn is kept, so the tail of the end
// rings on into the start exactly as it would when the piece repeats.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace Content {

class Reverb
{
public:
    // Delays are tuned for 44,100 samples per second.
    Reverb();

    // Adds wet x the reverberation of the mono send to left and right (all the same length).
    void AddLooped(const std::vector<float>& send, std::vector<float>& left, std::vector<float>& right, float wet);

private:
    struct Delay
    {
        std::vector<float> buffer;
        std::size_t index = 0;
        float store = 0.0f;

        float Comb(float input);
        float Allpass(float input);
        void Advance();
    };

    struct Side
    {
        std::array<Delay, 8> combs;
        std::array<Delay, 4> allpasses;

        float Process(float input);
    };

    std::array<Side, 2> m_sides;
};

} // namespace Content
