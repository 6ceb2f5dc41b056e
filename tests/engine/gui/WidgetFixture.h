// What the widget tests share beyond the GUI fixture: a fake clock from the start (the master timer and the
// caret read it), GUI sounds 0 to 12 registered through the sound test bed so that each play is told by its id,
// and mouse frames that hand one cursor state to a widget.
#pragma once

#include "engine/gui/GUISoundManager.h"
#include "engine/sound/Sound.h"
#include "platform/testing.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/sound/SoundTestBed.h"

#include <map>
#include <vector>

namespace GUITesting {

// One frame of the mouse as the GUI manager hands it out.
struct Mouse
{
    float x = 0.0f;
    float y = 0.0f;
    bool held = false;
    bool wentDown = false;
};

class WidgetFixture : public GUIFixture
{
protected:
    static constexpr std::uint32_t kSoundIds = 13;

    WidgetFixture() { PlatformTesting::UseFakeClock(); }
    ~WidgetFixture() override { PlatformTesting::UseRealClock(); }

    void SetUp() override
    {
        GUIFixture::SetUp();
        PlatformTesting::AdvanceFakeClock(1.0);
        // Below the data folder the GUI fixture writes to (the sound bed would write a folder of another case).
        RenderTesting::WriteDataFile("gui.wav", Formats::MakeWav(1, 16, 22050, Formats::SoundBytes(200, 0)));
        guiSounds = std::make_unique<KeystrelEngine::GUISoundManager>(timers.get(), bed.manager.get());
        for (std::uint32_t id = 0; id < kSoundIds; ++id) {
            guiSounds->AddSound(id, "gui.wav");
            soundIds[guiSounds->GetSounds(id)[0]] = id;
        }
    }

    void TearDown() override
    {
        TakeSounds();
        guiSounds.reset();
        GUIFixture::TearDown();
    }

    // The ids of the GUI sounds played since the last call, in order; the clock moves on past the repeat guard.
    std::vector<std::uint32_t> TakeSounds()
    {
        std::vector<std::uint32_t> ids;
        for (KeystrelEngine::SoundCommand* command : bed.manager->m_commands) {
            ids.push_back(soundIds.at(command->sound));
            delete command;
        }
        bed.manager->m_commands.clear();
        PlatformTesting::AdvanceFakeClock(0.02);
        return ids;
    }

    // A quad-less source model for widgets made from an existing model: a self-made quad of the description.
    KeystrelEngine::Model* SourceQuad(const KeystrelEngine::ShaderDescriptor& descriptor)
    {
        return models->CreateSelfMadeModel(0xC11, 4, 4, &descriptor, camera);
    }

    SoundTesting::SoundTestBed bed;
    std::unique_ptr<KeystrelEngine::GUISoundManager> guiSounds;
    std::map<const KeystrelEngine::Sound*, std::uint32_t> soundIds;
};

} // namespace GUITesting
