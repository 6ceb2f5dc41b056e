#include "tools/content/Filter.h"
#include "tools/content/MonoSound.h"
#include "tools/content/MusicRenderer.h"
#include "tools/content/Oscillator.h"
#include "tools/content/Reverb.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace Content;

namespace {

constexpr unsigned kRate = 44100;

// The largest output of the filter over the second half of a second of a unit sine (the first half settles it).
float SteadyAmplitude(Filter filter, double frequency)
{
    float peak = 0.0f;
    for (int i = 0; i < static_cast<int>(kRate); ++i) {
        const float output =
            filter.Process(static_cast<float>(std::sin(2.0 * std::numbers::pi * frequency * i / kRate)));
        if (i > static_cast<int>(kRate) / 2)
            peak = std::max(peak, std::abs(output));
    }
    return peak;
}

float Peak(const std::vector<float>& samples, std::size_t from = 0, std::size_t to = SIZE_MAX)
{
    float peak = 0.0f;
    for (std::size_t i = from; i < std::min(to, samples.size()); ++i)
        peak = std::max(peak, std::abs(samples[i]));
    return peak;
}

std::vector<int> Pcm(const MonoSound& sound, double peakDb)
{
    const std::vector<std::uint8_t> bytes = sound.ToPcm16(peakDb);
    std::vector<int> samples;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8));
    return samples;
}

} // namespace

TEST(Oscillator, WavesStayInRangeAndRepeatEveryCycle)
{
    for (Wave wave : {Wave::Sine, Wave::Triangle, Wave::Saw}) {
        Oscillator oscillator(wave);
        std::vector<float> samples;
        for (int i = 0; i < 400; ++i)
            samples.push_back(oscillator.Next(0.01));
        EXPECT_LE(Peak(samples), 1.05f);
        EXPECT_GE(Peak(samples), 0.95f);
        for (int i = 0; i < 300; ++i)
            EXPECT_NEAR(samples[i], samples[i + 100], 1e-4f) << static_cast<int>(wave) << " at " << i;
    }
    for (double phase : {-1.75, -0.3, 0.0, 0.1, 0.25, 0.61, 3.9})
        EXPECT_NEAR(Oscillator::Sine(phase), std::sin(2.0 * std::numbers::pi * phase), 1e-5) << phase;
}

TEST(Filter, LowPassKeepsTheLowsAndBandPassPicksItsCentre)
{
    const Filter lowPass(Filter::Mode::LowPass, 1000.0, 0.707, kRate);
    EXPECT_NEAR(SteadyAmplitude(lowPass, 100.0), 1.0f, 0.02f);
    EXPECT_NEAR(SteadyAmplitude(lowPass, 1000.0), 0.707f, 0.02f);
    EXPECT_LT(SteadyAmplitude(lowPass, 8000.0), 0.03f);
    const Filter bandPass(Filter::Mode::BandPass, 1000.0, 5.0, kRate);
    EXPECT_NEAR(SteadyAmplitude(bandPass, 1000.0), 1.0f, 0.02f);
    EXPECT_LT(SteadyAmplitude(bandPass, 250.0), 0.1f);
    EXPECT_LT(SteadyAmplitude(bandPass, 4000.0), 0.1f);
}

TEST(MonoSound, LoopsWrapWhatRunsPastTheirEndAndOneShotsFadeAtTheStatedPeak)
{
    const Tone lateTone{.start = 0.09, .length = 0.03, .pitch = 441.0, .envelope = {.attack = 0.0, .release = 0.0}};
    MonoSound loop(0.1, true);
    MonoSound oneShot(0.1, false);
    loop.Add(lateTone);
    oneShot.Add(lateTone);
    ASSERT_EQ(loop.Samples().size(), 2205u);
    EXPECT_GT(Peak(loop.Samples(), 0, 400), 0.9f);
    EXPECT_EQ(Peak(oneShot.Samples(), 0, 1900), 0.0f);
    EXPECT_GT(Peak(oneShot.Samples(), 1985), 0.9f);

    const std::vector<int> faded = Pcm(oneShot, -6.0);
    EXPECT_EQ(faded.front(), 0);
    EXPECT_EQ(faded.back(), 0);
    EXPECT_NEAR(*std::max_element(faded.begin(), faded.end()), 16423, 2);
    const std::vector<int> looped = Pcm(loop, -6.0);
    EXPECT_NE(looped.front(), 0);
    EXPECT_NEAR(std::round(loop.WholeCycles(447.0) * loop.Seconds()), loop.WholeCycles(447.0) * loop.Seconds(), 1e-9);
}

TEST(Reverb, TheTailOfTheEndRingsIntoTheStartOnTwoDifferentSides)
{
    constexpr std::size_t kFrames = 20000;
    std::vector<float> send(kFrames, 0.0f);
    std::vector<float> left(kFrames, 0.0f);
    std::vector<float> right(kFrames, 0.0f);
    Reverb().AddLooped(send, left, right, 1.0f);
    EXPECT_EQ(std::max(Peak(left), Peak(right)), 0.0f);

    send.back() = 1.0f;
    Reverb().AddLooped(send, left, right, 1.0f);
    EXPECT_GT(Peak(left, 0, 5000), 1e-3f);
    EXPECT_GT(Peak(right, 0, 5000), 1e-3f);
    EXPECT_NE(left, right);
}

TEST(MusicRenderer, ANoteRingingPastTheEndSoundsAtTheStartAndThePeakIsAtMinusThreeDecibels)
{
    const Score score{120.0, 8, {{7.5, 0.5, 69, 1.0f, Instrument::Harp, 0.0f}}};
    const StereoTrack track = MusicRenderer::Render(score);
    ASSERT_EQ(track.left.size(), 8u * 22050u);
    EXPECT_GT(Peak(track.left, 0, 5000), 0.01f);
    EXPECT_NEAR(std::max(Peak(track.left), Peak(track.right)), std::pow(10.0f, -3.0f / 20.0f), 1e-6f);
}
