#include "tests/game/app/MenuWindowFixture.h"

#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "platform/testing.h"

#include <SDL_mouse.h>

namespace AppTesting {

namespace {

const std::vector<KeystrelEngine::GUITextRecord> kNoTexts;

// The game's loop hands the window its messages before each frame: the typed keys reach the frame's list.
void PumpMessages()
{
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageA(&message);
}

} // namespace

void MenuWindowFixture::SetUp()
{
    MenuFixture::SetUp();
    for (const char* table : {"help", "high_scores", "exit", "welcome", "profiles", "new_profile", "rename_profile",
                              "delete_profile", "profile_name_conflict"})
        engine->m_gui->m_texts->LoadTexts("ui\\texts\\" + language + "\\" + table + ".ini");
}

void MenuWindowFixture::Step(Wispfold::GUIMenuWindow& window)
{
    PlatformTesting::AdvanceFakeClock(kFrameTime);
    engine->Update();
    window.Update();
    background->Step();
    background->printer->Update();
    KeepTexts();
    engine->EndFrame();
}

void MenuWindowFixture::KeepTexts()
{
    texts.clear();
    KeystrelEngine::GUIManager& gui = *engine->m_gui;
    const auto keep = [&](const auto& registry) {
        for (const KeystrelEngine::GUIWindow* widget : registry.GetSlots()) {
            if (!widget)
                continue;
            std::vector<KeystrelEngine::GUITextRecord>& kept = texts[widget];
            for (std::uint32_t i = 0; i < widget->GetTextCount(); ++i)
                kept.push_back(widget->GetTextRecord(i));
        }
    };
    keep(gui.m_windows);
    keep(gui.m_buttons);
    keep(gui.m_editBoxes);
}

const std::vector<KeystrelEngine::GUITextRecord>&
MenuWindowFixture::Texts(const KeystrelEngine::GUIWindow* widget) const
{
    const auto found = texts.find(widget);
    return found == texts.end() ? kNoTexts : found->second;
}

std::u16string MenuWindowFixture::Resolved(const KeystrelEngine::GUITextRecord& record) const
{
    return record.isKey ? engine->m_gui->m_texts->GetText(record.key, record.number) : record.text;
}

void MenuWindowFixture::OpenFully(Wispfold::GUIMenuWindow& window)
{
    for (int frame = 0; frame < 40 && window.m_colour.a < 1.0f; ++frame)
        Step(window);
    ASSERT_EQ(window.m_colour.a, 1.0f);
}

void MenuWindowFixture::RunUntilGone(Wispfold::GUIMenuWindow& window)
{
    for (int frame = 0; frame < 40 && !manager->m_frameFree; ++frame)
        Step(window);
    ASSERT_TRUE(manager->m_frameFree);
}

void MenuWindowFixture::Point(const KeystrelEngine::GUIWindow& widget)
{
    PointAt(*engine->m_window, widget);
}

void MenuWindowFixture::Press(Wispfold::GUIMenuWindow& window, const KeystrelEngine::GUIWindow& widget)
{
    Point(widget);
    Step(window);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
    Step(window);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
    Step(window);
}

void MenuWindowFixture::Type(Wispfold::GUIMenuWindow& window, const std::string& utf8)
{
    PlatformTesting::InjectText(utf8);
    PumpMessages();
    Step(window);
}

void MenuWindowFixture::PressKey(Wispfold::GUIMenuWindow& window, SDL_Scancode key)
{
    PlatformTesting::InjectKey(key, true);
    PumpMessages();
    Step(window);
}

void MenuWindowFixture::ReleaseKey(Wispfold::GUIMenuWindow& window, SDL_Scancode key)
{
    PlatformTesting::InjectKey(key, false);
    PumpMessages();
    Step(window);
}

} // namespace AppTesting
