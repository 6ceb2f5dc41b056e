#include "SoundTestBed.h"

#include "engine/sound/Sound.h"
#include "engine/sound/SoundBuffer.h"
#include "engine/sound/SoundBuffer_DS7.h"
#include "platform/testing.h"

#include <gtest/gtest.h>
#include <random>

using namespace KeystrelEngine;
using namespace SoundTesting;
using namespace Formats;

namespace {

// About 1.5 MB of 22,050 Hz 16-bit stereo, every frame different.
constexpr std::uint32_t kFrames = 375000;

class StreamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bed.WriteSound("stream.wav", MakeWav(2, 16, 22050, CounterPattern(kFrames)));
        m_expected = Samples16(CounterPattern(kFrames));
        m_sound = bed.manager->CreateSound("stream.wav");
        ASSERT_TRUE(m_sound->GetBuffer()->IsStreamed());
    }

    // Renders in random steps (the first one larger than a chunk) with a full sound update after each, until
    // frames frames are out or the sound has stopped.
    std::vector<std::int16_t> Play(std::uint32_t frames)
    {
        std::mt19937 random(1234);
        std::uniform_int_distribution<std::uint32_t> step(1, 9000);
        std::vector<std::int16_t> output;
        std::uint32_t next = 7000;
        while (output.size() < 2 * static_cast<std::size_t>(frames) && m_sound->GetState() != Sound::Stopped) {
            const std::vector<std::int16_t> part = bed.Render(next);
            output.insert(output.end(), part.begin(), part.end());
            bed.manager->Update(true);
            next = step(random);
        }
        return output;
    }

    SoundTestBed bed;
    std::vector<std::int16_t> m_expected;
    Sound* m_sound = nullptr;
};

} // namespace

TEST_F(StreamTest, WithoutLoopTheOutputIsTheFileThenSilence)
{
    bed.manager->Play(m_sound, true);
    const std::vector<std::int16_t> output = Play(3 * kFrames);
    EXPECT_EQ(m_sound->GetState(), Sound::Stopped);
    ASSERT_GE(output.size(), m_expected.size());
    EXPECT_TRUE(std::equal(m_expected.begin(), m_expected.end(), output.begin()));
    EXPECT_TRUE(std::all_of(output.begin() + m_expected.size(), output.end(), [](std::int16_t s) { return s == 0; }));
    EXPECT_LT(output.size(), m_expected.size() + 2 * 5 * 6144) << "the stream stops soon after its end";
}

TEST_F(StreamTest, WithLoopTheEndIsFollowedByTheStartSeamlessly)
{
    m_sound->SetLoop(true);
    bed.manager->Play(m_sound, true);
    const std::vector<std::int16_t> output = Play(5 * kFrames / 2);
    EXPECT_EQ(m_sound->GetState(), Sound::Playing);
    for (std::size_t i = 0; i < output.size(); ++i)
        ASSERT_EQ(output[i], m_expected[i % m_expected.size()]) << "at sample " << i;
}

TEST_F(StreamTest, PauseKeepsThePlaceAndPlayResumesIt)
{
    bed.manager->Play(m_sound, true);
    std::vector<std::int16_t> output = bed.Render(10000);
    bed.manager->Update(true);
    m_sound->Pause();
    bed.manager->Update(true);
    EXPECT_EQ(bed.Render(500), std::vector<std::int16_t>(1000, 0));
    EXPECT_EQ(m_sound->GetState(), Sound::Paused);
    bed.manager->Play(m_sound, true);
    const std::vector<std::int16_t> rest = bed.Render(10000);
    output.insert(output.end(), rest.begin(), rest.end());
    EXPECT_TRUE(std::equal(output.begin(), output.end(), m_expected.begin()));
}

TEST_F(StreamTest, ALostStreamRestartsInItsOldState)
{
    bed.manager->Play(m_sound, true);
    bed.Render(20000);
    bed.manager->Update(true);
    PlatformTesting::LoseSoundBuffers();
    bed.manager->Update(true);
    EXPECT_EQ(m_sound->GetState(), Sound::Playing);
    const std::vector<std::int16_t> restarted = bed.Render(1000);
    EXPECT_TRUE(std::equal(restarted.begin(), restarted.end(), m_expected.begin()));

    m_sound->Pause();
    PlatformTesting::LoseSoundBuffers();
    bed.manager->Update(true);
    EXPECT_EQ(m_sound->GetState(), Sound::Paused);
    EXPECT_EQ(bed.Render(100), std::vector<std::int16_t>(200, 0));
}

TEST_F(StreamTest, ReplayAfterTheEndLoopingEndedWithThePassHeardAndPlayAfterUnload)
{
    // Played again in the frame after it ran out by itself, before the sound has heard of the end.
    bed.manager->Play(m_sound, true);
    auto* buffer = static_cast<SoundBuffer_DS7*>(m_sound->GetBuffer());
    while (buffer->IsPlaying()) {
        bed.Render(5000);
        bed.manager->Update(true);
    }
    ASSERT_EQ(m_sound->GetState(), Sound::Playing);
    bed.manager->Play(m_sound, true);
    const std::vector<std::int16_t> replay = Play(kFrames);
    ASSERT_GE(replay.size(), m_expected.size());
    EXPECT_TRUE(std::equal(m_expected.begin(), m_expected.end(), replay.begin()));

    // Looping switched off ends with the pass being heard, also when the ring holds the start of the next pass.
    for (const std::uint32_t heard : {kFrames + kFrames / 3, kFrames - 30000}) {
        m_sound->SetLoop(true);
        bed.manager->Play(m_sound, true);
        std::vector<std::int16_t> output = Play(heard);
        m_sound->SetLoop(false);
        const std::vector<std::int16_t> rest = Play(3 * kFrames);
        output.insert(output.end(), rest.begin(), rest.end());
        const std::size_t end = (heard / kFrames + 1) * m_expected.size();
        EXPECT_EQ(m_sound->GetState(), Sound::Stopped);
        ASSERT_GE(output.size(), end);
        for (std::size_t i = 0; i < output.size(); ++i)
            ASSERT_EQ(output[i], i < end ? m_expected[i % m_expected.size()] : 0) << heard << " at sample " << i;
    }

    // Unloaded, the stream plays nothing and ends at the next update.
    m_sound->GetBuffer()->Unload();
    bed.manager->Play(m_sound, true);
    EXPECT_EQ(bed.Render(1000), std::vector<std::int16_t>(2000, 0));
    bed.manager->Update(true);
    EXPECT_EQ(m_sound->GetState(), Sound::Stopped);
}
