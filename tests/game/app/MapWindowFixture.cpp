#include "tests/game/app/MapWindowFixture.h"

#include "engine/foundation/Controls.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "framework/ProfileBase.h"

namespace AppTesting {

void MapWindowFixture::SetUp()
{
    MenuFixture::SetUp();
    engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\start_game.ini");
    catalogue = std::make_unique<Wispfold::LevelManager>(engine->m_log.get(), engine->m_files.get());
    profile = profiles->AddProfile(u"Ada");
    profiles->m_current = profile;
}

void MapWindowFixture::TearDown()
{
    map.reset();
    catalogue.reset();
    MenuFixture::TearDown();
}

void MapWindowFixture::MakeMap()
{
    map = std::make_unique<Wispfold::GUIStartGameLogicWindow>(engine.get(), player.get(), data.get(), manager.get(),
                                                              data->GetChildWindow(), profiles.get(), catalogue.get());
}

void MapWindowFixture::SetLevels(GameFramework::LevelId current, GameFramework::LevelId best)
{
    profile->m_currentLevel = current;
    profile->m_bestLevel = best;
}

void MapWindowFixture::Step(const std::function<void()>& input)
{
    PlatformTesting::AdvanceFakeClock(kFrameTime);
    engine->Update();
    if (input)
        input();
    map->Update();
    background->Step();
    background->printer->Update();
    engine->EndFrame();
}

void MapWindowFixture::OpenFully(std::int32_t mode)
{
    map->Open(mode);
    for (int frame = 0; frame < 60 && map->m_colour.a < 1.0f; ++frame)
        Step();
    ASSERT_EQ(map->m_colour.a, 1.0f);
}

void MapWindowFixture::Point(KeystrelEngine::GUIWindow& window, bool held, bool wentDown)
{
    const KeystrelEngine::GUIPoint corner = window.GetAbsolutePosition();
    KeystrelEngine::GUIRect hit{corner.x, corner.y, window.m_size.width, window.m_size.height};
    if (window.m_hasHitArea)
        hit = {corner.x + window.m_hitArea.x, corner.y + window.m_hitArea.y, window.m_hitArea.width,
               window.m_hitArea.height};
    window.Update(hit.x + hit.width / 2.0f, hit.y + hit.height / 2.0f, held, wentDown);
}

void MapWindowFixture::Click(KeystrelEngine::GUIWindow& window)
{
    Step([&] {
        Point(window, true, true);
        Point(window, false, false);
    });
}

std::uint32_t MapWindowFixture::DoubleClick(KeystrelEngine::GUIWindow& window)
{
    for (const bool down : {true, false, true, false}) {
        Step([&] {
            engine->m_controls->SetKeyState("MOUSE1", down);
            Point(window, down, down);
        });
    }
    return map->m_result;
}

} // namespace AppTesting
