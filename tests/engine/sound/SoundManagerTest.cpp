#include "SoundTestBed.h"

#include "engine/sound/Sound.h"
#include "engine/sound/SoundBuffer.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

using namespace KeystrelEngine;
using namespace SoundTesting;
using namespace Formats;

namespace {

SoundBytes Ramp16(std::int16_t from, int count)
{
    SoundBytes pcm;
    for (int i = 0; i < count; ++i) {
        const auto sample = static_cast<std::uint16_t>(from + i);
        pcm.push_back(static_cast<std::uint8_t>(sample));
        pcm.push_back(static_cast<std::uint8_t>(sample >> 8));
    }
    return pcm;
}

std::vector<std::int16_t> Frames(std::int16_t from, int count)
{
    std::vector<std::int16_t> samples;
    for (int i = 0; i < count; ++i)
        samples.insert(samples.end(), 2, static_cast<std::int16_t>(from + i));
    return samples;
}

class SoundManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { bed.WriteSound("ramp.wav", MakeWav(1, 16, 22050, Ramp16(1, 10))); }

    void Queue(std::uint32_t kind, Sound* sound) { bed.manager->m_commands.push_back(new SoundCommand{kind, sound}); }

    SoundTestBed bed;
};

// A back end whose sounds refuse to play as often as a test says, to reach the voice stealing.
class RefusingSound : public Sound
{
public:
    RefusingSound(SoundBufferManager* buffers, const std::string& name) : Sound(buffers, name, nullptr) {}

    void Update() override {}
    bool Play() override
    {
        ++plays;
        const bool played = refusals == 0;
        refusals -= refusals > 0;
        if (played)
            state = Playing;
        return played;
    }
    void Pause() override { state = Paused; }
    void Stop() override { state = Stopped; }
    int GetState() const override { return state; }

    int refusals = 0;
    int plays = 0;
    int state = Stopped;
};

class NullBuffer : public SoundBuffer
{
public:
    explicit NullBuffer(const std::string& name) : SoundBuffer(nullptr, name, nullptr) {}

    void CreateDeviceBuffer(SoundBuffer*) override {}
    void ReleaseDeviceBuffer() override {}
    bool WriteChunk(std::uint32_t, const std::uint8_t*, std::uint32_t) override { return true; }
    void QueueChunk(std::uint32_t) override {}
    void UnqueueProcessedBuffers(std::vector<std::uint32_t>& played) override { played.clear(); }
};

class RefusingSystem : public SoundSystem
{
public:
    RefusingSystem() : SoundSystem(nullptr, nullptr, nullptr, false) {}

    Sound* CreateSound(const std::string& name) override { return new RefusingSound(m_bufferManager, name); }
    Sound* CreateSound(const Sound& source) override { return CreateSound(source.GetName()); }
    SoundBuffer* CreateSoundBuffer(const std::string& name) override { return new NullBuffer(name); }
    SoundBuffer* CreateSoundBuffer(SoundBuffer& source) override { return CreateSoundBuffer(source.GetName()); }
};

} // namespace

TEST_F(SoundManagerTest, StatesFollowPlayPauseStopAndTheEndOfTheData)
{
    Sound* sound = bed.manager->CreateSound("ramp.wav");
    EXPECT_EQ(sound->GetState(), Sound::Stopped);
    bed.manager->Play(sound, true);
    EXPECT_EQ(bed.Render(3), Frames(1, 3));
    sound->Pause();
    EXPECT_EQ(sound->GetState(), Sound::Paused);
    EXPECT_EQ(bed.Render(2), std::vector<std::int16_t>(4, 0));
    bed.manager->Play(sound, true);
    EXPECT_EQ(bed.Render(2), Frames(4, 2)) << "play resumes a paused sound";
    bed.manager->Play(sound, true);
    EXPECT_EQ(bed.Render(2), Frames(1, 2)) << "play restarts a playing sound";
    bed.Render(20);
    EXPECT_EQ(sound->GetState(), Sound::Playing) << "until the next update";
    bed.manager->Update(true);
    EXPECT_EQ(sound->GetState(), Sound::Stopped);
    bed.manager->Play(sound, true);
    sound->Stop();
    EXPECT_EQ(sound->GetState(), Sound::Stopped);
    EXPECT_EQ(bed.Render(1), std::vector<std::int16_t>(2, 0));
}

TEST_F(SoundManagerTest, LoopingSwitchedOnDuringPlayContinuesThePass)
{
    Sound* sound = bed.manager->CreateSound("ramp.wav");
    bed.manager->Play(sound, true);
    bed.Render(6);
    sound->SetLoop(true);
    std::vector<std::int16_t> expected = Frames(7, 4);
    const std::vector<std::int16_t> again = Frames(1, 3);
    expected.insert(expected.end(), again.begin(), again.end());
    EXPECT_EQ(bed.Render(7), expected);
    bed.manager->Update(true);
    EXPECT_EQ(sound->GetState(), Sound::Playing);
}

TEST_F(SoundManagerTest, QueuedCommandsRunInOrderOnlyOnAFullUpdate)
{
    Sound* sound = bed.manager->CreateSound("ramp.wav");
    Queue(SoundCommand::Stop, sound);
    bed.manager->Play(sound, false);
    bed.manager->Update(false);
    EXPECT_EQ(sound->GetState(), Sound::Stopped);
    EXPECT_EQ(bed.manager->m_commands.size(), 2u);
    bed.manager->Update(true);
    EXPECT_EQ(sound->GetState(), Sound::Playing);
    EXPECT_TRUE(bed.manager->m_commands.empty());
    Queue(SoundCommand::Pause, sound);
    Queue(7, sound);
    bed.manager->Update(true);
    EXPECT_EQ(sound->GetState(), Sound::Paused);
}

TEST_F(SoundManagerTest, DeletingASoundDropsOnlyItsCommands)
{
    bed.WriteSound("other.wav", MakeWav(1, 16, 22050, Ramp16(100, 10)));
    Sound* doomed = bed.manager->CreateSound("ramp.wav");
    Sound* kept = bed.manager->CreateSound("other.wav");
    bed.manager->Play(kept, false);
    bed.manager->Play(doomed, false);
    Queue(SoundCommand::Pause, kept);
    Queue(SoundCommand::Stop, doomed);
    bed.manager->DeleteSound(doomed);
    ASSERT_EQ(bed.manager->m_commands.size(), 2u);
    EXPECT_EQ(bed.manager->m_commands[0]->kind, SoundCommand::Play);
    EXPECT_EQ(bed.manager->m_commands[1]->kind, SoundCommand::Pause);
    bed.manager->Update(true);
    EXPECT_EQ(kept->GetState(), Sound::Paused);
    bed.manager->DeleteSound(doomed);
    bed.manager->DeleteSound(nullptr);
    EXPECT_EQ(bed.manager->GetSounds().GetUsedSlots(), (std::vector<std::uint32_t>{1}));
}

TEST_F(SoundManagerTest, ALostStaticSoundReadsItsFileAgain)
{
    Sound* sound = bed.manager->CreateSound("ramp.wav");
    PlatformTesting::LoseSoundBuffers();
    bed.system->Refresh();
    bed.manager->Update(true);
    EXPECT_EQ(PlatformTesting::LostSoundBuffers(), 0);
    bed.manager->Play(sound, true);
    EXPECT_EQ(bed.Render(10), Frames(1, 10));
}

TEST(SoundManagerStealing, ARefusedPlayStopsTheFirstSoundThatIsNeitherStoppedNorLooping)
{
    RefusingSystem system;
    SoundManager manager(nullptr, nullptr, &system);
    auto* looping = static_cast<RefusingSound*>(manager.CreateSound("looping"));
    auto* idle = static_cast<RefusingSound*>(manager.CreateSound("idle"));
    auto* victim = static_cast<RefusingSound*>(manager.CreateSound("victim"));
    auto* requester = static_cast<RefusingSound*>(manager.CreateSound("requester"));
    looping->SetLoop(true);
    manager.Play(looping, true);
    manager.Play(victim, true);
    requester->refusals = 1;
    manager.Play(requester, true);
    EXPECT_EQ(requester->plays, 2);
    EXPECT_EQ(requester->GetState(), Sound::Playing);
    EXPECT_EQ(victim->GetState(), Sound::Stopped);
    EXPECT_EQ(looping->GetState(), Sound::Playing);
    EXPECT_EQ(idle->plays, 0);

    requester->Stop();
    requester->refusals = 2;
    manager.Play(requester, true);
    EXPECT_EQ(requester->plays, 3) << "with only a looping sound playing nothing is stolen";
    EXPECT_EQ(looping->GetState(), Sound::Playing);
}
