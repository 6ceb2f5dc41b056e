#include "tests/game/app/SettingsWindowFixture.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "game/app/GUISettingsControls.h"
#include "platform/testing.h"

#include <SDL_mouse.h>
#include <algorithm>

namespace AppTesting {

void SettingsWindowFixture::SetUp()
{
    MenuFixture::SetUp();
    for (const char* table : {"options.ini", "game_logic_menu.ini"})
        engine->m_gui->m_texts->LoadTexts(std::string("ui\\texts\\en\\") + table);
    engine->m_config->RegisterVariable("g_update_video_mode", "", KeystrelEngine::Config::TypeCommand, false, nullptr,
                                       false);
    player->AddSound(Wispfold::GUISettingsControls::kSliderSound, "audio\\menu\\volume_slider.wav", 1, true);
    ann = static_cast<Wispfold::Profile*>(profiles->AddProfile(u"Ann"));
    profiles->m_current = ann;
}

void SettingsWindowFixture::Point(const KeystrelEngine::GUIWindow& widget)
{
    PointAt(*engine->m_window, widget);
}

void SettingsWindowFixture::Press(Wispfold::GUIMenuWindow& window)
{
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
    Frame({&window});
}

void SettingsWindowFixture::Release(Wispfold::GUIMenuWindow& window)
{
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
    Frame({&window});
}

void SettingsWindowFixture::Click(const KeystrelEngine::GUIWindow& widget, Wispfold::GUIMenuWindow& window)
{
    Point(widget);
    Press(window);
    Release(window);
}

std::vector<KeystrelEngine::GUITextRecord> SettingsWindowFixture::FrameTexts(Wispfold::GUIMenuWindow& window,
                                                                             const KeystrelEngine::GUIWindow& widget)
{
    PlatformTesting::AdvanceFakeClock(kFrameTime);
    engine->Update();
    window.Update();
    std::vector<KeystrelEngine::GUITextRecord> texts;
    for (std::uint32_t i = 0; i < widget.GetTextCount(); ++i)
        texts.push_back(widget.GetTextRecord(i));
    background->Step();
    engine->EndFrame();
    return texts;
}

GameFramework::ProfileVolumes SettingsWindowFixture::SavedVolumes() const
{
    return Wispfold::Profile(engine->m_log.get(), engine->m_files.get(), userFolder, ann->GetFileName()).m_volumes;
}

bool SettingsWindowFixture::IsRaised(const std::string& command) const
{
    return engine->m_config->GetCommandState(command) == KeystrelEngine::Config::kCommandRaised;
}

KeystrelEngine::Config& SettingsWindowFixture::config() const
{
    return *engine->m_config;
}

} // namespace AppTesting
