#include "tools/content/MusicGenerator.h"
#include "tools/content/SoundGenerator.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/sound/SoundFileReaderOGG.h"
#include "engine/sound/SoundFileReaderWAV.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using namespace Content;
using namespace KeystrelEngine;

namespace {

// -3 dBFS of a 16-bit sample.
constexpr int kPeakLimit = 23197;
constexpr std::uint32_t kStreamingThreshold = 786432;

class SoundContent : public ::testing::Test
{
protected:
    // Interleaved 16-bit samples of the whole file.
    static std::vector<std::int16_t> ReadSamples(SoundFileReader& reader)
    {
        std::vector<std::int16_t> samples(reader.GetPcmSize() / 2);
        std::uint32_t total = 0;
        bool atEnd = false;
        while (!atEnd && total < reader.GetPcmSize()) {
            std::uint32_t got = 0;
            reader.Read(reinterpret_cast<std::uint8_t*>(samples.data()) + total, reader.GetPcmSize() - total, got,
                        atEnd);
            total += got;
            if (got == 0)
                break;
        }
        EXPECT_EQ(total, reader.GetPcmSize());
        return samples;
    }

    // The loop's wrap from the last frame to the first is no larger a step than the largest step inside it, in
    // every channel.
    static void ExpectSeamless(const std::vector<std::int16_t>& samples, unsigned channels)
    {
        const std::size_t frames = samples.size() / channels;
        for (unsigned channel = 0; channel < channels; ++channel) {
            const auto at = [&](std::size_t frame) { return static_cast<int>(samples[frame * channels + channel]); };
            int inner = 0;
            for (std::size_t frame = 1; frame < frames; ++frame)
                inner = std::max(inner, std::abs(at(frame) - at(frame - 1)));
            EXPECT_LE(std::abs(at(0) - at(frames - 1)), inner) << "channel " << channel;
        }
    }

    std::vector<std::int16_t> ReadEffect(const std::string& file)
    {
        SoundFileReaderWAV reader(&files, file, &log);
        return ReadSamples(reader);
    }

    MessageManager log{"", "Test", "", false, false};
    FileManager files{&log, KEYSTREL_BUILD_FOLDER, "Data"};
};

// The period (in samples, 10 to 100) at which the sound's opening best matches itself: the shortest lag whose
// correlation comes within a tenth of the best, so that multiples of the period do not win.
int Period(const std::vector<std::int16_t>& samples)
{
    constexpr std::size_t kFrom = 200;
    constexpr std::size_t kLength = 2048;
    std::vector<double> correlation(101, 0.0);
    for (int lag = 10; lag <= 100; ++lag) {
        for (std::size_t i = kFrom; i < kFrom + kLength; ++i)
            correlation[lag] += static_cast<double>(samples[i]) * samples[i + lag];
    }
    const double best = *std::max_element(correlation.begin(), correlation.end());
    for (int lag = 10; lag <= 100; ++lag) {
        if (correlation[lag] >= 0.9 * best)
            return lag;
    }
    return 0;
}

} // namespace

TEST_F(SoundContent, EffectsAreQuietShortMonoPcmThatFadeOrLoopSeamlessly)
{
    for (const SoundEffect& effect : SoundGenerator::Effects()) {
        SCOPED_TRACE(effect.file);
        SoundFileReaderWAV reader(&files, effect.file, &log);
        EXPECT_EQ(reader.GetChannels(), 1u);
        EXPECT_EQ(reader.GetBitsPerSample(), 16u);
        EXPECT_EQ(reader.GetSamplingRate(), 22050u);
        EXPECT_EQ(reader.GetPcmSize(), 2 * std::lround(effect.seconds * 22050));
        EXPECT_LE(reader.GetPcmSize(), kStreamingThreshold);
        const std::vector<std::int16_t> samples = ReadSamples(reader);
        ASSERT_FALSE(samples.empty());
        const auto loudest =
            std::max_element(samples.begin(), samples.end(), [](int a, int b) { return std::abs(a) < std::abs(b); });
        EXPECT_LE(std::abs(*loudest), kPeakLimit);
        if (effect.loops) {
            ExpectSeamless(samples, 1);
        } else {
            EXPECT_EQ(samples.front(), 0);
            EXPECT_EQ(samples.back(), 0);
        }
    }
}

TEST_F(SoundContent, MusicIsLongStereoVorbisThatLoopsSeamlessly)
{
    for (const TrackStyle& track : MusicGenerator::Tracks()) {
        SCOPED_TRACE(track.file);
        SoundFileReaderOGG reader(&files, track.file, &log);
        EXPECT_EQ(reader.GetChannels(), 2u);
        EXPECT_EQ(reader.GetBitsPerSample(), 16u);
        EXPECT_EQ(reader.GetSamplingRate(), 44100u);
        EXPECT_GE(reader.GetPcmSize() / 4.0 / 44100.0, track.minimumSeconds);
        ExpectSeamless(ReadSamples(reader), 2);
    }
}

TEST_F(SoundContent, LongerChainsSoundHigherAndEveryPraiseIsItsOwn)
{
    int previous = 1000;
    for (int i = 0; i < 5; ++i) {
        const int period = Period(ReadEffect("audio\\game\\combination_" + std::to_string(i) + ".wav"));
        EXPECT_LT(period, previous) << "combination_" << i;
        previous = period;
    }
    std::set<std::vector<std::int16_t>> praises;
    for (int i = 0; i < 9; ++i)
        praises.insert(ReadEffect("audio\\game\\character_paise_" + std::to_string(i) + ".wav"));
    EXPECT_EQ(praises.size(), 9u);
}
