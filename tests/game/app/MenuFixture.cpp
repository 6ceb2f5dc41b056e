#include "tests/game/app/MenuFixture.h"

#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "platform/testing.h"
#include "tests/tools/content/ContentData.h"

#include <algorithm>

namespace AppTesting {

using Wispfold::GUIMenuWindow;

StandInBackground::StandInBackground(KeystrelEngine::Engine& engine)
    : titleArea(engine.m_gui->CreateWindow(KeystrelEngine::GUIWindow::kShown, {150.0f, 478.0f}, {500.0f, 48.0f},
                                           static_cast<const KeystrelEngine::Model*>(nullptr), nullptr)),
      printer(std::make_unique<GameTools::GUITextPrinter>(engine.m_timers.get(), engine.m_gui->m_texts.get(), titleArea,
                                                          3, 28.0f, 1, KeystrelEngine::GUIPoint{},
                                                          KeystrelEngine::Color{1.0f, 1.0f, 1.0f, 1.0f}))
{
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
    ContentTesting::LoadFonts(*gui.m_fonts, ContentTesting::ReadFontList(*engine->m_files, "en"), true);
    for (const char* table : {"common.ini", "main_menu.ini"})
        gui.m_texts->LoadTexts(std::string("ui\\texts\\en\\") + table);
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
