// What the player sees of the game's effects and layers on GL, in the running game moved by the window's mouse:
// the cursor's trail of sparks along a fast sweep of the mouse in the main menu, on the map before a level and over
// the level-complete window after it, with a burst where the player clicks; and the upgrade scene after a stage's
// last level, with the next stage's land sparkling in, nothing of the level's window left over the valley and its
// hint readable; and the menu's landscape with the lands of whoever is the current player. The pictures are saved
// for people to look at.
#include "tests/game/app/AppFixture.h"
#include "tests/game/app/game/GameFixture.h"

#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "engine/render/Camera.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/RenderSystem.h"
#include "framework/GUILevelCompleteWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/GameLogicBase.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GUIControl.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/GUILevelCompleteWindow.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/GUIProfilesWindow.h"
#include "game/app/GUIUpgradeWindow.h"
#include "game/app/Profile.h"
#include "game/play/LevelManager.h"
#include "platform/testing.h"
#include "tests/engine/render/gl/PixelFixture.h"

#include <SDL_mouse.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace GameTesting;
using KeystrelEngine::Image;

constexpr int kSparkLift = 90;    // a spark raises a pixel's summed red, green and blue by more than this
constexpr int kSweepPoints = 12;  // frames of a sweep, one point of the path a frame
constexpr int kSparksAtPoint = 4; // brightened pixels that show a spark
constexpr int kSceneDrift = 60;   // summed red, green and blue change of the living scene in two frames
constexpr int kWhite = 200;       // each of red, green and blue at least this: the hint's letters
constexpr std::uint32_t kWon = 2;
constexpr int kSparkled = 6000; // brightened pixels of the first frame of the new land's sparkles

class GameEffects : public GameFixture
{
protected:
    GameEffects() { PlatformTesting::UseRecordingDevice(false); }
};

// Window pixels, rows counted down from the top as the mouse counts them.
struct Box
{
    int left, top, right, bottom;
};

// The screen as drawn, saved under the name when one is given.
Image Grab(TestedGame& game, const std::string& name = {})
{
    Image image;
    game.GetEngine()->m_renderSystem->GrabScreen(image);
    if (!name.empty())
        RenderTesting::SaveTestPicture(image, name + ".bmp", *game.GetEngine()->m_files);
    return image;
}

// The pixels of the box for which the test holds, given the pixel of each picture.
template <class Test> int Count(const Image& a, const Image& b, Box box, Test test)
{
    const int width = static_cast<int>(b.GetWidth()), height = static_cast<int>(b.GetHeight());
    int count = 0;
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, height); ++y) {
        for (int x = std::max(box.left, 0); x < std::min(box.right, width); ++x) {
            const auto row = static_cast<std::uint32_t>(height - 1 - y);
            count += test(RenderTesting::PixelFromBottom(a, x, row), RenderTesting::PixelFromBottom(b, x, row));
        }
    }
    return count;
}

int Sum(const std::array<int, 3>& p)
{
    return p[0] + p[1] + p[2];
}

// More than the scene's own slow movement changes between two frames.
bool Differ(const std::array<int, 3>& p, const std::array<int, 3>& q)
{
    return std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) > kSceneDrift;
}

int Brightened(const Image& before, const Image& after, Box box)
{
    return Count(before, after, box, [](const auto& p, const auto& q) { return Sum(q) - Sum(p) > kSparkLift; });
}

int Area(Box box)
{
    return (box.right - box.left) * (box.bottom - box.top);
}

// A box of GUI units (y up) in window pixels.
Box WindowBox(TestedGame& game, KeystrelEngine::GUIPoint corner, KeystrelEngine::GUISize size)
{
    const KeystrelEngine::Camera& screen = *game.GetEngine()->m_gui->m_camera;
    const float sx = static_cast<float>(game.Window().m_width) / screen.m_width;
    const float sy = static_cast<float>(game.Window().m_height) / screen.m_height;
    const float top = screen.m_height - corner.y - size.height;
    return {static_cast<int>(corner.x * sx), static_cast<int>(top * sy), static_cast<int>((corner.x + size.width) * sx),
            static_cast<int>((top + size.height) * sy)};
}

// Where the window's model lies on the screen.
Box ModelBox(TestedGame& game, const KeystrelEngine::GUIWindow& window)
{
    const KeystrelEngine::GUIPoint origin = window.GetAbsolutePosition();
    const KeystrelEngine::GUIPoint place = Wispfold::GUIControl::GetModelPosition(*window.GetQuad());
    return WindowBox(game, {origin.x + place.x, origin.y + place.y},
                     Wispfold::GUIControl::GetModelExtent(*window.GetQuad()));
}

template <class Pointer> bool FullyShown(const Pointer& window)
{
    const auto* menu = dynamic_cast<const Wispfold::GUIMenuWindow*>(window.get());
    return menu && menu->m_shown && menu->m_colour.a >= 1.0f && !menu->IsAnyControlAnimating();
}

// A new player who has heard the story, at the level.
Step Player(GameFramework::LevelId level)
{
    return {"player", Always, [level](TestedGame& game) {
                auto& ann = static_cast<Wispfold::Profile&>(*game.m_profileManager->AddProfile(u"Ann"));
                game.m_profileManager->m_current = &ann;
                ann.SetFlag(Wispfold::Profile::IntroductionPending, false);
                ann.m_currentLevel = ann.m_bestLevel = level;
            }};
}

// The main menu's start, the map's start, and the level won as soon as it runs.
std::vector<Step> WinLevel()
{
    return {{"start", MainMenuShown,
             [](TestedGame& game) { game.m_mainMenuWindow->m_result = GameFramework::RequestStart; }},
            {"map start", [](TestedGame& game) { return FullyShown(game.m_startGameLogicWindow); },
             [](TestedGame& game) { game.m_startGameLogicWindow->m_result = GameFramework::RequestStart; }},
            {"level", [](TestedGame& game) { return game.m_gameLogic != nullptr; },
             [](TestedGame& game) { game.m_gameLogic->SetState(kWon); }}};
}

std::function<bool(TestedGame&)> Frames(int count)
{
    return [count, frames = 0](TestedGame&) mutable { return ++frames == count; };
}

// The mouse as the player moves it, and what the pictures showed of the sparks.
class Mouse
{
public:
    struct Seen
    {
        std::string screen;
        int pointsWithSparks = 0; // of the sweep's points between its start and its end
        int burst = -1;           // brightened pixels beside the click, -1 without a click
    };

    std::vector<Step> steps;
    std::vector<Seen> seen;

    // Once the screen is shown the mouse rests at the start for half a second, then sweeps fast to the end, a point
    // a frame; the picture after the sweep is held against the one before it at every point the cursor passed.
    // With a click, the mouse rests at the end and clicks; three frames later the burst must show.
    void Sweep(const std::string& screen, std::function<bool(TestedGame&)> shown, POINT from, POINT step, bool click)
    {
        const POINT end{from.x + step.x * kSweepPoints, from.y + step.y * kSweepPoints};
        steps.push_back({screen, std::move(shown), [this, screen](TestedGame&) { seen.push_back({screen}); }});
        steps.push_back({screen + ": rest", Rest(from),
                         [this, screen](TestedGame& game) { m_before = Grab(game, screen + "_before_sweep"); }});
        steps.push_back({screen + ": sweep", [this, from, step, n = 0](TestedGame& game) mutable {
                             ++n;
                             MoveTo(game, {from.x + step.x * n, from.y + step.y * n});
                             return n == kSweepPoints;
                         }});
        steps.push_back({screen + ": swept", Frames(2), [this, screen, from, step](TestedGame& game) {
                             const Image after = Grab(game, screen + "_sweep");
                             for (int n = 1; n < kSweepPoints; ++n) {
                                 // The trail leaves from below and right of the cursor's tip, and its sparks fall.
                                 const POINT at{from.x + step.x * n, from.y + step.y * n};
                                 const Box below{at.x - 10, at.y, at.x + 45, at.y + 60};
                                 seen.back().pointsWithSparks += Brightened(m_before, after, below) >= kSparksAtPoint;
                             }
                         }});
        if (!click)
            return;
        steps.push_back({screen + ": rest to click", Rest(end), [this, screen](TestedGame& game) {
                             m_before = Grab(game, screen + "_before_click");
                             PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
                         }});
        steps.push_back(
            {screen + ": clicked", Frames(3), [this, screen, end](TestedGame& game) {
                 const Image after = Grab(game, screen + "_click");
                 // Left of the tip, where neither the cursor's picture nor its trail lies.
                 seen.back().burst = Brightened(m_before, after, {end.x - 45, end.y - 40, end.x - 4, end.y + 40});
                 PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
             }});
    }

private:
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
    mouse.steps.push_back(Player({0, 0}));
    // Down the dark margin of the main menu's frame, beside its buttons.
    mouse.Sweep("main_menu", MainMenuShown, {265, 180}, {0, 45}, true);
    const std::vector<Step> level = WinLevel();
    mouse.steps.push_back(level[0]);
    // Along the flowers under the map's way.
    mouse.Sweep(
        "map", [](TestedGame& game) { return FullyShown(game.m_startGameLogicWindow); }, {250, 600}, {45, 0}, false);
    mouse.steps.insert(mouse.steps.end(), level.begin() + 1, level.end());
    // Across the empty lower half of the level-complete window.
    mouse.Sweep(
        "level_complete", [](TestedGame& game) { return FullyShown(game.m_levelCompleteWindow); }, {250, 540}, {45, 0},
        true);
    const int exitCode = Play(std::move(mouse.steps));
    if (!PlatformTesting::RecordedMessageBoxes().empty())
        GTEST_SKIP() << "no GL device: " << PlatformTesting::RecordedMessageBoxes()[0].text;
    EXPECT_EQ(exitCode, 0);

    ASSERT_EQ(mouse.seen.size(), 3u);
    for (const Mouse::Seen& seen : mouse.seen) {
        // The oldest sparks may have died out by the end of the sweep.
        EXPECT_GE(seen.pointsWithSparks, (kSweepPoints - 1) * 2 / 3) << seen.screen;
        if (seen.burst >= 0) {
            EXPECT_GE(seen.burst, 20) << seen.screen;
        }
    }
}

// Where the upgrade window prints its hint.
Box HintBox(TestedGame& game)
{
    using Wispfold::GUIUpgradeWindow;
    const KeystrelEngine::GUIManager& gui = *game.GetEngine()->m_gui;
    const KeystrelEngine::TextBounds text =
        gui.m_fonts->FindFont(GUIUpgradeWindow::kHintFont)
            ->MeasureText(gui.m_texts->GetText("HIT_MOUSE_BUTTON_TO_CONTINUE", -1), 0.0f, -1.0f);
    const float width = text.maxX - text.minX;
    return WindowBox(game, {(GUIUpgradeWindow::kWidth - width) / 2.0f, GUIUpgradeWindow::kHintY + text.minY},
                     {width, text.maxY - text.minY});
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
    std::vector<Box> levelWindow;
    Box hint{}, land{};
    const auto clockPast = [](float seconds) {
        return [seconds](TestedGame& game) {
            return game.GetUpgradeWindow()->IsActive() && game.GetUpgradeWindow()->GetClock() > seconds;
        };
    };
    std::vector<Step> steps{
        {"player", Always, [](TestedGame& game) {
             const std::uint32_t last = game.m_levelManager->GetStage(0).levelCount - 1;
             Player({0, last}).then(game);
             // No energy left to count.
             static_cast<Wispfold::LevelRecord*>(game.m_levelManager->GetLevel({0, last}))->levelFactor = 0.0f;
         }}};
    for (Step& step : WinLevel())
        steps.push_back(std::move(step));
    steps.push_back({"level complete", [](TestedGame& game) { return FullyShown(game.m_levelCompleteWindow); },
                     [](TestedGame& game) {
                         const auto& window =
                             static_cast<Wispfold::GUILevelCompleteWindow&>(*game.m_levelCompleteWindow);
                         AppTesting::PointAt(game.Window(), *window.GetContinueButton()->GetWidget());
                     }});
    for (const bool down : {true, false})
        steps.push_back({"CONTINUE", Frames(2),
                         [down](TestedGame&) { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, down); }});
    // The frame before the burst is kept to hold the burst's frame against.
    steps.push_back({"the new land's sparkles",
                     [&](TestedGame& game) {
                         if (game.GetBackground()->GetGlow()->GetLiveCount() > 0)
                             return true;
                         beforeGlow = Grab(game);
                         return false;
                     },
                     [&](TestedGame& game) { glow = Grab(game, "upgrade_scene_sparkles"); }});
    steps.push_back({"before the hint", clockPast(GUIUpgradeWindow::kClickDelay),
                     [&](TestedGame& game) { beforeHint = Grab(game, "upgrade_scene_before_the_hint"); }, 1800});
    steps.push_back({"upgrade scene", clockPast(GUIUpgradeWindow::kHintDelay + 1.0f), [&](TestedGame& game) {
                         scene = Grab(game, "upgrade_scene");
                         hint = HintBox(game);
                         auto& hud = static_cast<Wispfold::GUIGameLogicWindow&>(*game.m_gameLogicWindow);
                         for (int i = 0; i < Wispfold::GUIGameLogicWindow::kOwnCount; ++i) {
                             const auto index = static_cast<Wispfold::GUIGameLogicWindow::ControlIndex>(i);
                             levelWindow.push_back(ModelBox(game, *hud.GetControl(index).GetWidget()));
                         }
                         hud.GetRoot()->SetVisible(false);
                         land = {1 << 30, 1 << 30, 0, 0};
                         const Wispfold::GUIBackgroundWindow& background = *game.GetBackground();
                         for (const auto& theme : background.GetStageThemes()) {
                             if (theme.stage != static_cast<std::int32_t>(background.GetStageThemeIndex()))
                                 continue;
                             const Box box = ModelBox(game, *theme.window);
                             land = {std::min(land.left, box.left), std::min(land.top, box.top),
                                     std::max(land.right, box.right), std::max(land.bottom, box.bottom)};
                         }
                     }});
    steps.push_back({"forced off", Frames(2), [&](TestedGame& game) { forced = Grab(game, "upgrade_scene_forced"); }});
    const int exitCode = Play(std::move(steps));
    if (!PlatformTesting::RecordedMessageBoxes().empty())
        GTEST_SKIP() << "no GL device: " << PlatformTesting::RecordedMessageBoxes()[0].text;
    EXPECT_EQ(exitCode, 0);

    const auto differ = [](const auto& p, const auto& q) { return Differ(p, q); };
    ASSERT_EQ(levelWindow.size(), static_cast<std::size_t>(Wispfold::GUIGameLogicWindow::kOwnCount));
    for (std::size_t i = 0; i < levelWindow.size(); ++i)
        EXPECT_LT(Count(scene, forced, levelWindow[i], differ), Area(levelWindow[i]) / 50) << "control " << i;
    EXPECT_GT(Brightened(beforeGlow, glow, land), kSparkled);
    const int quarter = (hint.right - hint.left) / 4;
    for (int q = 0; q < 4; ++q) {
        const Box part{hint.left + q * quarter, hint.top, hint.left + (q + 1) * quarter, hint.bottom};
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
    std::vector<Box> lands;
    std::vector<Step> steps;
    // The menu pictured once its landscape has settled, the mouse out of its way.
    const auto menu = [&] {
        steps.push_back({"menu", MainMenuShown, [](TestedGame& game) {
                             PlatformTesting::InjectMouseMotion(game.Window().m_handle, 790, 10, 0, 0);
                         }});
        steps.push_back({"lands", Frames(45), [&](TestedGame& game) {
                             menus.push_back(Grab(game, "menu_" + std::to_string(menus.size())));
                             lands.clear();
                             for (const auto& theme : game.GetBackground()->GetStageThemes())
                                 if (theme.stage <= 2)
                                     lands.push_back(ModelBox(game, *theme.window));
                         }});
    };
    menu();
    for (const std::u16string next : {u"Bob", u"Ann"}) {
        steps.push_back({"CHANGE PLAYER", Always,
                         [](TestedGame& game) { game.m_mainMenuWindow->m_result = GameFramework::RequestProfiles; }});
        steps.push_back({"a name", [](TestedGame& game) { return FullyShown(game.m_profilesWindow); },
                         [next](TestedGame& game) {
                             const auto& list = static_cast<Wispfold::GUIProfilesWindow&>(*game.m_profilesWindow);
                             const auto at = std::find(list.GetNames().begin(), list.GetNames().end(), next);
                             AppTesting::PointAt(game.Window(), *list.GetNameButton(at - list.GetNames().begin()));
                         }});
        for (const bool down : {true, false})
            steps.push_back({"click", Frames(2),
                             [down](TestedGame&) { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, down); }});
        steps.push_back({"DONE", Frames(2),
                         [](TestedGame& game) { game.m_profilesWindow->m_result = GameFramework::RequestBack; }});
        menu();
    }
    const int exitCode = Play(std::move(steps));
    if (!PlatformTesting::RecordedMessageBoxes().empty())
        GTEST_SKIP() << "no GL device: " << PlatformTesting::RecordedMessageBoxes()[0].text;
    EXPECT_EQ(exitCode, 0);

    // Where each of Ann's lands lies, her menus differ from Bob's: at start-up, and as much after Bob's.
    ASSERT_EQ(menus.size(), 3u);
    ASSERT_EQ(lands.size(), 2u);
    const auto differ = [](const auto& p, const auto& q) { return Differ(p, q); };
    for (const Box& land : lands) {
        const int atStart = Count(menus[1], menus[0], land, differ);
        EXPECT_GT(atStart, Area(land) / 40);
        EXPECT_GT(Count(menus[1], menus[2], land, differ), atStart / 2);
    }
}

} // namespace
