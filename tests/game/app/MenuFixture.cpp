#include "tests/game/app/MenuFixture.h"

#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "platform/testing.h"
#include "tests/tools/content/ContentData.h"

#include <algorithm>

namespace AppTesting {

using Wispfold::GUIMenuWindow;

namespace {

using Wispfold::ControlKind;

ControlSpec Button(const std::string& model, const std::string& base)
{
    return {ControlKind::Button, model, base, base + "_selection_area", base + "_text_area"};
}

std::vector<ControlSpec> Buttons(const std::string& folder, int count, const std::string& base)
{
    std::vector<ControlSpec> buttons;
    for (int i = 0; i < count; ++i)
        buttons.push_back(Button(folder + "\\button_" + std::to_string(i), "controls\\" + base));
    return buttons;
}

ControlSpec Own(ControlKind kind, const std::string& model, const std::string& textArea = {})
{
    return {kind, model, model, {}, textArea};
}

std::vector<ControlSpec> Settings(const std::string& folder)
{
    std::vector<ControlSpec> settings;
    for (const char* slider : {"\\slider_music", "\\slider_sound"})
        settings.push_back({ControlKind::HorizontalScroll, folder + slider, "controls\\scroll_h", {}, {}});
    settings.push_back({ControlKind::CheckBox, folder + "\\fullscreen_check_box", "controls\\check_box", {}, {}});
    return settings;
}

std::vector<ControlSpec> Joined(std::initializer_list<std::vector<ControlSpec>> parts)
{
    std::vector<ControlSpec> joined;
    for (const std::vector<ControlSpec>& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

std::vector<ControlSpec> InGameControls()
{
    std::vector<ControlSpec> controls{Button("game_logic\\menu_button", "controls\\button_small")};
    for (const char* button : {"mode", "minimize", "maximize_window", "maximize_fullscreen", "close"}) {
        const std::string base =
            button == std::string("maximize_window") || button == std::string("maximize_fullscreen") ? "maximize"
                                                                                                     : button;
        controls.push_back(
            Button("game_logic\\" + std::string(button) + "_button", "controls\\button_game_logic_" + base));
    }
    for (const char* panel : {"level_name", "score"}) {
        const std::string model = std::string("game_logic\\") + panel;
        controls.push_back(Own(ControlKind::ModelWindow, model, model + "_text_area"));
    }
    return controls;
}

} // namespace

const std::vector<MenuSet>& MenuSets()
{
    using Wispfold::FrameKind;
    static const std::vector<MenuSet> sets{
        {"main_menu", FrameKind::MainMenu, Buttons("main_menu", 7, "button_main_menu")},
        {"big_window", FrameKind::BigWindow, Buttons("big_window", 3, "button_big")},
        {"small_window", FrameKind::SmallWindow,
         Joined({{Own(ControlKind::EditBox, "small_window\\edit")}, Buttons("small_window", 2, "button_big")})},
        {"start_game", FrameKind::StartGame, Buttons("start_game", 2, "button_small")},
        {"options", FrameKind::BigWindow,
         Joined({Settings("options"),
                 {Own(ControlKind::ModelWindow, "options\\resolution_text", "options\\resolution_text_area"),
                  Own(ControlKind::Button, "options\\resolution_button_left"),
                  Own(ControlKind::Button, "options\\resolution_button_right")},
                 Buttons("big_window", 3, "button_big")})},
        {"game_logic_menu", FrameKind::BigWindow,
         Joined({Settings("game_logic_menu"),
                 {{ControlKind::CheckBox, "game_logic_menu\\relax_check_box", "controls\\check_box", {}, {}},
                  Button("big_window\\button_1", "controls\\button_big"),
                  Button("big_window\\button_2", "controls\\button_big")}})},
        {"profiles", FrameKind::BigWindow,
         Joined({{Own(ControlKind::ModelWindow, "profiles\\text")},
                 Buttons("profiles", 4, "button_small"),
                 {{ControlKind::VerticalScroll, "profiles\\scroll", "controls\\scroll_v", {}, {}}}})},
        {"game_logic", FrameKind::BigWindow, InGameControls()},
    };
    return sets;
}

StandInBackground::StandInBackground(KeystrelEngine::Engine& engine)
    : titleArea(engine.m_gui->CreateWindow(KeystrelEngine::GUIWindow::kShown, {150.0f, 478.0f}, {500.0f, 48.0f},
                                           static_cast<const KeystrelEngine::Model*>(nullptr), nullptr)),
      printer(std::make_unique<GameTools::GUITextPrinter>(engine.m_timers.get(), engine.m_gui->m_texts.get(), titleArea,
                                                          3, 28.0f, 1, KeystrelEngine::GUIPoint{},
                                                          KeystrelEngine::Color{1.0f, 1.0f, 1.0f, 1.0f}))
{
}

Wispfold::MenuBackground::PanelState StandInBackground::GetPanelState() const
{
    if (present)
        return releaseRequest ? PanelState::GivenBack : justArrived ? PanelState::Arrived : PanelState::Up;
    return request ? PanelState::Called : PanelState::InScene;
}

void StandInBackground::RequestPanel()
{
    request = true;
    releaseRequest = false;
    ++requests;
}

void StandInBackground::ReleasePanel()
{
    request = false;
    releaseRequest = true;
    ++releases;
}

void StandInBackground::Step()
{
    if (request && !present) {
        present = justArrived = windowVisible = true;
        request = false;
    }
    if (releaseRequest) {
        present = windowVisible = releaseRequest = false;
    }
}

void MenuFixture::SetUp()
{
    AppFixture::SetUp();
    KeystrelEngine::GUIManager& gui = *engine->m_gui;
    gui.m_camera->m_width = 800.0f;
    gui.m_camera->m_height = 600.0f;
    ContentTesting::LoadFonts(*gui.m_fonts, ContentTesting::ReadFontList(*engine->m_files, language), true);
    for (const char* table : {"common.ini", "main_menu.ini"})
        gui.m_texts->LoadTexts("ui\\texts\\" + language + "\\" + table);
    data = MakeSharedData();
    LoadSharedData(*data);
    background = std::make_unique<StandInBackground>(*engine);
    manager = std::make_unique<Wispfold::GUIMenuWindowManager>(background.get());
    manager->m_frameFree = true;
    player->AddSound(GUIMenuWindow::kAppearSound, "audio\\menu\\window_appear.wav", 4, false);
    player->AddSound(GUIMenuWindow::kDisappearSound, "audio\\menu\\window_disappear.wav", 4, false);
}

void MenuFixture::TearDown()
{
    windows.clear();
    manager.reset();
    background.reset();
    data.reset();
    AppFixture::TearDown();
}

GUIMenuWindow& MenuFixture::MakeWindow(Wispfold::FrameKind kind)
{
    windows.push_back(std::make_unique<GUIMenuWindow>(engine.get(), player.get(), data.get(), manager.get(), kind,
                                                      data->GetChildWindow()));
    return *windows.back();
}

GUIMenuWindow& MenuFixture::MakeWindow(const MenuSet& set)
{
    GUIMenuWindow& window = MakeWindow(set.frame);
    for (const ControlSpec& control : set.controls)
        window.AddControl(control.kind, control.model, control.base, control.selectionArea, control.textArea);
    return window;
}

void MenuFixture::Frame(std::initializer_list<GUIMenuWindow*> updated)
{
    PlatformTesting::AdvanceFakeClock(kFrameTime);
    engine->Update();
    for (GUIMenuWindow* window : updated)
        window->Update();
    background->Step();
    background->printer->Update();
    engine->EndFrame();
}

int MenuFixture::Plays(std::uint32_t soundId) const
{
    const auto& voices = player->GetVoices();
    return static_cast<int>(std::count_if(voices.begin(), voices.end(), [soundId](const auto& voice) {
        return voice->soundId == soundId && voice->startTime > 0.0;
    }));
}

} // namespace AppTesting
