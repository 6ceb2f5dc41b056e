// What the player sees of the game's effects and layers on GL, in the running game moved by the window's mouse:
// the cursor's trail of sparks along a fast sweep of the mouse in the main menu, on the map before a level and over
// the level-complete window after it, with a burst where the player clicks; and the upgrade scene after a stage's
// last level, with the next stage's land sparkling in, nothing of the level's window left over the valley and its
// hint readable; and the menu's landscape with the lands of whoever is the current player. The pictures are saved
// for people to look at.
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUITextManager.h"
#include "engine/render/ParticleSystem.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/GameLogicBase.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/GUILevelCompleteWindow.h"
#include "game/app/GUIProfilesWindow.h"
#include "game/app/GUIUpgradeWindow.h"
#include "game/app/Profile.h"
#include "game/play/LevelManager.h"

#include <SDL_mouse.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace GameTesting;
using AppTesting::PixelBox;
using KeystrelEngine::Image;

constexpr int kSparkLift = 90;    // a spark raises a pixel's summed red, green and blue by more than this
constexpr int kSweepPoints = 12;  // frames of a sweep, one point of the path a frame
constexpr int kSparksAtPoint = 4; // brightened pixels that show a spark
constexpr int kSceneDrift = 60;   // summed red, green and blue change of the living scene in two frames
constexpr int kWhite = 200;       // each of red, green and blue at least this: the hint's letters
constexpr int kSparkled = 6000;   // brightened pixels of the first frame of the new land's sparkles

class GameEffects : public GameFixture
{
protected:
    GameEffects() { PlatformTesting::UseRecordingDevice(false); }
};

Image Grab(TestedGame& game, const std::string& fileName = {})
{
    return AppTesting::GrabScreen(*game.GetEngine(), fileName);
}

// More than the scene's own slow movement changes between two frames.
int Differ(const Image& a, const Image& b, PixelBox box)
{
    return AppTesting::ChangedPixels(a, b, box, kSceneDrift);
}

// The pixels of the box for which the test holds, given the pixel of each picture there.
template <class Test> int Count(const Image& a, const Image& b, PixelBox box, Test test)
{
    int count = 0;
    AppTesting::ForEachPixel(b, box, [&](std::uint32_t x, std::uint32_t y) {
        count += test(RenderTesting::PixelFromBottom(a, x, y), RenderTesting::PixelFromBottom(b, x, y));
    });
    return count;
}

int Brightened(const Image& before, const Image& after, PixelBox box)
{
    const auto sum = [](const auto& p) { return p[0] + p[1] + p[2]; };
    return Count(before, after, box, [&sum](const auto& p, const auto& q) { return sum(q) - sum(p) > kSparkLift; });
}

// Where the window's model lies on the screen.
PixelBox ModelBox(TestedGame& game, const KeystrelEngine::GUIWindow& window)
{
    const KeystrelEngine::GUIPoint origin = window.GetAbsolutePosition();
    const KeystrelEngine::GUIPoint place = Wispfold::GUIControl::GetModelPosition(*window.GetQuad());
    const KeystrelEngine::GUISize size = Wispfold::GUIControl::GetModelExtent(*window.GetQuad());
    return AppTesting::OnScreen(*game.GetEngine(), {origin.x + place.x, origin.y + place.y, size.width, size.height});
}

// The level won as soon as it runs.
void Win(TestedGame& game)
{
    game.m_gameLogic->SetState(GameFramework::GameLogicBase::LevelWon);
}

// The mouse as the player moves it over the screens, and the pictures of its sparks held against the ones before.
class Mouse
{
public:
    std::vector<Step> steps;
    int sweepsSeen = 0;

    // Once the screen is shown the mouse rests at the start for half a second, then sweeps fast to the end, a point
    // a frame; the picture after the sweep is held against the one before it at every point the cursor passed.
    // With a click, the mouse rests at the end and clicks; three frames later the burst must show.
    void Sweep(const std::string& screen, std::function<bool(TestedGame&)> shown, POINT from, POINT step, bool click)
    {
        const auto at = [from, step](int n) { return POINT{from.x + step.x * n, from.y + step.y * n}; };
        steps.push_back({screen, std::move(shown)});
        steps.push_back({screen + ": rest", Rest(from),
                         [this, screen](TestedGame& game) { m_before = Grab(game, screen + "_before_sweep.bmp"); }});
        steps.push_back({screen + ": sweep", [this, at, n = 0](TestedGame& game) mutable {
                             MoveTo(game, at(++n));
                             return n == kSweepPoints;
                         }});
        steps.push_back({screen + ": swept", Frames(2), [this, screen, at](TestedGame& game) {
                             const Image after = Grab(game, screen + "_sweep.bmp");
                             // The trail leaves from below and right of the cursor's tip, and its sparks fall; the
                             // oldest may have died out by the end of the sweep.
                             int pointsWithSparks = 0;
                             for (int n = 1; n < kSweepPoints; ++n)
                                 pointsWithSparks += Brightened(m_before, after,
                                                                Around(after, at(n), -10, 0, 45, 60)) >= kSparksAtPoint;
                             EXPECT_GE(pointsWithSparks, (kSweepPoints - 1) * 2 / 3) << screen;
                             ++sweepsSeen;
                         }});
        if (!click)
            return;
        steps.push_back({screen + ": rest to click", Rest(at(kSweepPoints)), [this, screen](TestedGame& game) {
                             m_before = Grab(game, screen + "_before_click.bmp");
                             PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
                         }});
        steps.push_back({screen + ": clicked", Frames(3), [this, screen, end = at(kSweepPoints)](TestedGame& game) {
                             const Image after = Grab(game, screen + "_click.bmp");
                             // Left of the tip, where neither the cursor's picture nor its trail lies.
                             EXPECT_GE(Brightened(m_before, after, Around(after, end, -45, -40, -4, 40)), 20) << screen;
                             PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
                         }});
    }

private:
    // A box of window pixels (rows counted down from the top, as the mouse counts them) by its edges' offsets from
    // the point.
    static PixelBox Around(const Image& picture, POINT point, int left, int top, int right, int bottom)
    {
        const int height = static_cast<int>(picture.GetHeight());
        return {point.x + left, height - point.y - bottom, point.x + right, height - point.y - top};
    }

    std::function<bool(TestedGame&)> Rest(POINT at)
    {
        return [this, at, frames = 0](TestedGame& game) mutable {
            if (frames == 0)
                MoveTo(game, at);
            return ++frames == 15;
        };
    }

    void MoveTo(TestedGame& game, POINT to)
    {
        PlatformTesting::InjectMouseMotion(game.Window().m_handle, to.x, to.y, to.x - m_at.x, to.y - m_at.y);
        m_at = to;
    }

    POINT m_at{0, 0};
    Image m_before;
};

TEST_F(GameEffects, TheCursorTrailsSparksInTheMenusBeforeAndAfterALevelAndBurstsWhereItClicks)
{
    Mouse mouse;
    mouse.steps.push_back(NewPlayer(true));
    // Down the dark margin of the main menu's frame, beside its buttons.
    mouse.Sweep("main_menu", MainMenuShown, {265, 180}, {0, 45}, true);
    const std::vector<Step> level = StartLevel("level", Win);
    mouse.steps.push_back(level[0]);
    // Along the flowers under the map's way.
    mouse.Sweep("map", Settled(&TestedGame::m_startGameLogicWindow), {250, 600}, {45, 0}, false);
    mouse.steps.insert(mouse.steps.end(), level.begin() + 1, level.end());
    // Across the empty lower half of the level-complete window.
    mouse.Sweep("level_complete", Settled(&TestedGame::m_levelCompleteWindow), {250, 540}, {45, 0}, true);
    const int exitCode = Play(std::move(mouse.steps));
    if (HadNoRenderDevice())
        GTEST_SKIP() << "no GL device: " << MessageBoxTexts();
    EXPECT_EQ(MessageBoxTexts(), "");
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(mouse.sweepsSeen, 3);
}

// Where the upgrade window prints its hint.
PixelBox HintBox(TestedGame& game)
{
    using Wispfold::GUIUpgradeWindow;
    const KeystrelEngine::GUIManager& gui = *game.GetEngine()->m_gui;
    const KeystrelEngine::TextBounds text =
        gui.m_fonts->FindFont(GUIUpgradeWindow::kHintFont)
            ->MeasureText(gui.m_texts->GetText("HIT_MOUSE_BUTTON_TO_CONTINUE", -1), 0.0f, -1.0f);
    const float width = text.maxX - text.minX;
    return AppTesting::OnScreen(*game.GetEngine(),
                                {(GUIUpgradeWindow::kWidth - width) / 2.0f, GUIUpgradeWindow::kHintY + text.minY, width,
                                 text.maxY - text.minY});
}

// The last level of the first stage won and left with CONTINUE: the upgrade scene must show the valley with the
// next stage's land fading in under a burst of sparkles, then, once the guide has told of the upgrade, its hint.
// The sparkles outshine the land they fall on; next to nothing (the land's swaying) changes where the level's
// window stood when that window is taken off the screen by force; the hint's white letters, absent before the
// hint's time, show along its whole width.
TEST_F(GameEffects, TheUpgradeSceneShowsTheNewLandAndItsHintWithNothingOfTheLevelsWindowOverThem)
{
    using Wispfold::GUIUpgradeWindow;
    Image beforeGlow, glow, beforeHint, scene, forced;
    std::vector<PixelBox> levelWindow;
    PixelBox hint, land{1 << 30, 1 << 30, 0, 0};
    const auto clockPast = [](float seconds) {
        return [seconds](TestedGame& game) {
            return game.GetUpgradeWindow()->IsActive() && game.GetUpgradeWindow()->GetClock() > seconds;
        };
    };
    const auto lastLevel = [](TestedGame& game) {
        const GameFramework::LevelId last{0, game.m_levelManager->GetStage(0).levelCount - 1};
        Current(game).m_currentLevel = Current(game).m_bestLevel = last;
        // No energy left to count.
        static_cast<Wispfold::LevelRecord*>(game.m_levelManager->GetLevel(last))->levelFactor = 0.0f;
    };
    std::vector<Step> steps =
        Join({{NewPlayer(true), {"last level of the stage", Always, lastLevel}},
              StartLevel("level", Win),
              PressContinue<Wispfold::GUILevelCompleteWindow>("level complete", &TestedGame::m_levelCompleteWindow)});
    // The frame before the burst is kept to hold the burst's frame against.
    steps.push_back({"the new land's sparkles",
                     [&](TestedGame& game) {
                         if (game.GetBackground()->GetGlow()->GetLiveCount() > 0)
                             return true;
                         beforeGlow = Grab(game);
                         return false;
                     },
                     [&](TestedGame& game) { glow = Grab(game, "upgrade_scene_sparkles.bmp"); }});
    steps.push_back({"before the hint", clockPast(GUIUpgradeWindow::kClickDelay),
                     [&](TestedGame& game) { beforeHint = Grab(game, "upgrade_scene_before_the_hint.bmp"); }, 1800});
    steps.push_back({"upgrade scene", clockPast(GUIUpgradeWindow::kHintDelay + 1.0f), [&](TestedGame& game) {
                         scene = Grab(game, "upgrade_scene.bmp");
                         hint = HintBox(game);
                         auto& hud = static_cast<Wispfold::GUIGameLogicWindow&>(*game.m_gameLogicWindow);
                         for (int i = 0; i < Wispfold::GUIGameLogicWindow::kOwnCount; ++i) {
                             const auto index = static_cast<Wispfold::GUIGameLogicWindow::ControlIndex>(i);
                             levelWindow.push_back(ModelBox(game, *hud.GetControl(index).GetWidget()));
                         }
                         hud.GetRoot()->SetVisible(false);
                         const Wispfold::GUIBackgroundWindow& background = *game.GetBackground();
                         for (const auto& theme : background.GetStageThemes()) {
                             if (theme.stage != static_cast<std::int32_t>(background.GetStageThemeIndex()))
                                 continue;
                             const PixelBox box = ModelBox(game, *theme.window);
                             land = {std::min(land.left, box.left), std::min(land.bottom, box.bottom),
                                     std::max(land.right, box.right), std::max(land.top, box.top)};
                         }
                     }});
    steps.push_back(
        {"forced off", Frames(2), [&](TestedGame& game) { forced = Grab(game, "upgrade_scene_forced.bmp"); }});
    const int exitCode = Play(std::move(steps));
    if (HadNoRenderDevice())
        GTEST_SKIP() << "no GL device: " << MessageBoxTexts();
    EXPECT_EQ(MessageBoxTexts(), "");
    EXPECT_EQ(exitCode, 0);

    ASSERT_EQ(levelWindow.size(), static_cast<std::size_t>(Wispfold::GUIGameLogicWindow::kOwnCount));
    for (std::size_t i = 0; i < levelWindow.size(); ++i)
        EXPECT_LT(Differ(scene, forced, levelWindow[i]), levelWindow[i].Area() / 50) << "control " << i;
    EXPECT_GT(Brightened(beforeGlow, glow, land), kSparkled);
    const int quarter = (hint.right - hint.left) / 4;
    for (int q = 0; q < 4; ++q) {
        const PixelBox part{hint.left + q * quarter, hint.bottom, hint.left + (q + 1) * quarter, hint.top};
        const int letters = Count(beforeHint, scene, part, [](const auto& p, const auto& q) {
            return std::min({q[0], q[1], q[2]}) >= kWhite && std::min({p[0], p[1], p[2]}) < kWhite;
        });
        EXPECT_GT(letters, 10) << "quarter " << q << " of the hint";
    }
}

// Ann has reached the third stage: her menu shows the grove and the spring beside the meadow. Bob, at the first,
// sees the meadow alone. Ann is current at start-up; a click on a name in the profiles list makes Bob current, then
// Ann again, and back in the main menu each time the landscape shows the lands of the player now current.
TEST_F(GameEffects, TheMenuLandscapeShowsTheLandsOfWhicheverPlayerIsCurrent)
{
    // A first run leaves the two players saved, Ann current.
    Play({{"players", Always, [](TestedGame& game) {
               GameFramework::ProfileManagerBase& profiles = *game.m_profileManager;
               profiles.AddProfile(u"Bob");
               profiles.m_current = profiles.AddProfile(u"Ann");
               profiles.m_current->m_currentLevel = profiles.m_current->m_bestLevel = {2, 0};
               profiles.m_current->Save();
               profiles.Save();
           }}});
    std::vector<Image> menus;
    std::vector<PixelBox> lands;
    std::vector<Step> steps;
    // The menu pictured once its landscape has settled, the mouse out of its way.
    const auto menu = [&] {
        steps.push_back({"menu", MainMenuShown, [](TestedGame& game) {
                             PlatformTesting::InjectMouseMotion(game.Window().m_handle, 790, 10, 0, 0);
                         }});
        steps.push_back({"lands", Frames(45), [&](TestedGame& game) {
                             menus.push_back(Grab(game, "menu_" + std::to_string(menus.size()) + ".bmp"));
                             lands.clear();
                             for (const auto& theme : game.GetBackground()->GetStageThemes())
                                 if (theme.stage <= 2)
                                     lands.push_back(ModelBox(game, *theme.window));
                         }});
    };
    menu();
    for (const std::u16string next : {u"Bob", u"Ann"}) {
        const auto pointAtName = [next](TestedGame& game) {
            const auto& list = static_cast<Wispfold::GUIProfilesWindow&>(*game.m_profilesWindow);
            const auto at = std::find(list.GetNames().begin(), list.GetNames().end(), next);
            AppTesting::PointAt(game.Window(), *list.GetNameButton(at - list.GetNames().begin()));
        };
        steps = Join({std::move(steps),
                      {Request("CHANGE PLAYER", Always, &TestedGame::m_mainMenuWindow, GameFramework::RequestProfiles)},
                      ClickAfter({"a name", Settled(&TestedGame::m_profilesWindow), pointAtName}),
                      {Request("DONE", NextFrame(), &TestedGame::m_profilesWindow, GameFramework::RequestBack)}});
        menu();
    }
    const int exitCode = Play(std::move(steps));
    if (HadNoRenderDevice())
        GTEST_SKIP() << "no GL device: " << MessageBoxTexts();
    EXPECT_EQ(MessageBoxTexts(), "");
    EXPECT_EQ(exitCode, 0);

    // Where each of Ann's lands lies, her menus differ from Bob's: at start-up, and as much after Bob's.
    ASSERT_EQ(menus.size(), 3u);
    ASSERT_EQ(lands.size(), 2u);
    for (const PixelBox& land : lands) {
        const int atStart = Differ(menus[1], menus[0], land);
        EXPECT_GT(atStart, land.Area() / 40);
        EXPECT_GT(Differ(menus[1], menus[2], land), atStart / 2);
    }
}

} // namespace
