// GUI sounds against the sound manager's command queue, on a fake clock: voices alternate, a voice is not
// restarted within a hundredth of a second, and the voices go back to the sound manager.
#include "engine/gui/GUISoundManager.h"
#include "engine/foundation/Timer.h"
#include "engine/foundation/TimerManager.h"
#include "engine/sound/Sound.h"
#include "platform/testing.h"
#include "tests/engine/sound/SoundTestBed.h"

#include <gtest/gtest.h>

using KeystrelEngine::GUISoundManager;
using KeystrelEngine::Sound;
using KeystrelEngine::SoundCommand;

namespace {

class GUISoundManagerTest : public ::testing::Test
{
protected:
    GUISoundManagerTest()
    {
        PlatformTesting::UseFakeClock();
        timers = std::make_unique<KeystrelEngine::TimerManager>(true);
        PlatformTesting::AdvanceFakeClock(1.0);
        const Formats::SoundBytes click = Formats::MakeWav(1, 16, 22050, Formats::SoundBytes(200, 0));
        bed.WriteSound("click_a.wav", click);
        bed.WriteSound("click_b.wav", click);
    }

    ~GUISoundManagerTest() override { PlatformTesting::UseRealClock(); }

    // The sounds of the queued commands, which are all plays; the queue is emptied as the update would.
    std::vector<Sound*> TakeQueuedPlays()
    {
        std::vector<Sound*> sounds;
        for (SoundCommand* command : bed.manager->m_commands) {
            EXPECT_EQ(command->kind, SoundCommand::Play);
            sounds.push_back(command->sound);
            delete command;
        }
        bed.manager->m_commands.clear();
        return sounds;
    }

    SoundTesting::SoundTestBed bed;
    std::unique_ptr<KeystrelEngine::TimerManager> timers;
};

TEST_F(GUISoundManagerTest, VoicesAlternateAndAreNotRestartedWithinAHundredthOfASecond)
{
    GUISoundManager sounds(timers.get(), bed.manager.get());
    sounds.AddSound(1, "click_a.wav");
    sounds.AddSound(1, "click_b.wav");
    sounds.AddSound(2, "click_a.wav");
    const std::vector<Sound*> voices = sounds.GetSounds(1);
    ASSERT_EQ(voices.size(), 2u);
    Sound* other = sounds.GetSounds(2)[0];

    sounds.Play(5);
    EXPECT_TRUE(TakeQueuedPlays().empty()) << "an id without voices";

    std::vector<Sound*> played;
    for (int i = 0; i < 4; ++i) {
        sounds.Play(1);
        sounds.Play(1); // the same frame
        sounds.Play(2);
        const std::vector<Sound*> frame = TakeQueuedPlays();
        ASSERT_EQ(frame.size(), 2u);
        EXPECT_EQ(frame[1], other);
        played.push_back(frame[0]);
        PlatformTesting::AdvanceFakeClock(0.5);
    }
    EXPECT_EQ(played, (std::vector<Sound*>{voices[0], voices[1], voices[0], voices[1]}));

    // Any voice started less than 0.01 s ago holds the id back.
    PlatformTesting::AdvanceFakeClock(5.0);
    sounds.Play(1);
    PlatformTesting::AdvanceFakeClock(0.009);
    sounds.Play(1);
    EXPECT_EQ(TakeQueuedPlays().size(), 1u);
    PlatformTesting::AdvanceFakeClock(0.002);
    sounds.Play(1);
    EXPECT_EQ(TakeQueuedPlays().size(), 1u);
}

TEST_F(GUISoundManagerTest, NewVoicesStartAtFullVolumeAndAllGoBackToTheSoundManager)
{
    {
        GUISoundManager sounds(timers.get(), bed.manager.get());
        sounds.AddSound(0, "click_a.wav");
        sounds.GetSounds(0)[0]->SetVolume(0.3f); // the audio player's volume
        sounds.AddSound(0, "click_a.wav");
        sounds.AddSound(3, "click_b.wav");
        EXPECT_FLOAT_EQ(sounds.GetSounds(0)[1]->GetVolume(), 1.0f);
        EXPECT_FLOAT_EQ(sounds.GetSounds(3)[0]->GetVolume(), 1.0f);
        EXPECT_EQ(bed.manager->GetSounds().GetUsedSlots().size(), 3u);
        // A file the sound manager cannot read adds no voice.
        EXPECT_ANY_THROW(sounds.AddSound(4, "missing.wav"));
        sounds.Play(4);
        EXPECT_TRUE(TakeQueuedPlays().empty());
    }
    EXPECT_TRUE(bed.manager->GetSounds().GetUsedSlots().empty());

    // Without a sound manager nothing is registered or played.
    GUISoundManager silent(timers.get(), nullptr);
    silent.AddSound(0, "click_a.wav");
    silent.Play(0);
    EXPECT_TRUE(silent.GetSounds(0).empty());
}

} // namespace
