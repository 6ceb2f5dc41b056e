// The dialogs that open over a running level, in the whole game on GL, each opened as a player opens it while
// the guide is typing: the in-game menu (ESCAPE), the pause (SPACE) and the close button's question (a click),
// each left with its own button, and level complete as the level is won. Under each, taking the guide off the
// screen changes no pixel where its bubbles start, and every button of the level's window is greyed, the
// minimise and window buttons too. Saved for people to look at.
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

#include "framework/GUIGameLogicGameExitWindowBase.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicPauseWindowBase.h"
#include "framework/GUILevelCompleteWindowBase.h"
#include "game/app/GUIGameLogicGameExitWindow.h"
#include "game/app/GUIGameLogicPauseWindow.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/Profile.h"
#include "game/play/CameraControl.h"
#include "game/play/Character.h"
#include "game/play/GameLogic.h"

#include <SDL_scancode.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace GameTesting;
using KeystrelEngine::Image;
using Wispfold::Character;
using Wispfold::GUIControl;
using Wispfold::GUIGameLogicWindow;

// The left end of every bubble, right of the figure and left of what a dialog shows in its middle, in GUI units.
const KeystrelEngine::GUIRect kBubbleStart{Character::kTextLeft - 10.0f,
                                           Character::kFirstLine - 4.0f * Character::kLineStep, 120.0f,
                                           5.0f * Character::kLineStep};

GUIGameLogicWindow& Hud(TestedGame& game)
{
    return dynamic_cast<GUIGameLogicWindow&>(*game.m_gameLogicWindow);
}

// The level runs, its view has flown in and its window takes the player's input.
bool Playing(TestedGame& game)
{
    const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
    return level && level->GetState() == GameFramework::GameLogicBase::LevelPlaying &&
           level->GetCameraControl().GetTransitionTimer() >= 1.0f && Hud(game).m_active && Hud(game).GetAlpha() >= 1.0f;
}

// A bubble is up, its lines still being typed.
bool Typing(TestedGame& game)
{
    const Character& guide = *game.GetCharacter();
    return !guide.IsSilent() && guide.GetAlpha() > 0.5f && guide.GetAlpha() < 1.0f;
}

void Hint(TestedGame& game)
{
    game.GetCharacter()->ShowText("CHARACTER_TUTORIAL_MAKE_SWAP_0", 9.0f); // as the tutorial gives it
}

std::vector<Step> KeyWhileTyping(SDL_Scancode key)
{
    return {{"key down while the guide types", Typing, [key](TestedGame&) { PlatformTesting::InjectKey(key, true); }},
            {"key up", NextFrame(), [key](TestedGame&) { PlatformTesting::InjectKey(key, false); }}};
}

Step Click(const std::string& name, std::function<bool(TestedGame&)> ready,
           std::function<const GUIControl*(TestedGame&)> control)
{
    return {name, [ready, control, clicker = Clicker(), started = false](TestedGame& game) mutable {
                started = started || ready(game);
                return started && clicker.Step(game, *control(game));
            }};
}

// Over each of the level window's shown buttons, the mean spread between the strongest and the weakest colour
// channel: a greyed button has little.
std::vector<double> ButtonColour(TestedGame& game, const Image& picture)
{
    std::vector<double> colour;
    for (int index = GUIGameLogicWindow::kMenu; index < GUIGameLogicWindow::kManaFrame; ++index) {
        const GUIControl& control = Hud(game).GetControl(static_cast<GUIGameLogicWindow::ControlIndex>(index));
        const KeystrelEngine::GUIWindow& button = *control.GetWidget();
        if (!control.GetButton() || !button.IsVisible())
            continue; // the panels, and the window button not shown
        const KeystrelEngine::GUIPoint at = button.GetAbsolutePosition();
        const AppTesting::PixelBox area =
            AppTesting::OnScreen(*game.GetEngine(), {at.x + button.m_hitArea.x, at.y + button.m_hitArea.y,
                                                     button.m_hitArea.width, button.m_hitArea.height});
        double sum = 0.0;
        AppTesting::ForEachPixel(picture, area, [&](std::uint32_t x, std::uint32_t y) {
            const auto p = RenderTesting::PixelFromBottom(picture, x, y);
            sum += std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]});
        });
        colour.push_back(sum / area.Area());
    }
    return colour;
}

class LevelDialogPictures : public GameFixture
{
protected:
    LevelDialogPictures() { PlatformTesting::UseRecordingDevice(false); }

    // The dialog once it stands: its picture with the guide, then without it a frame later.
    std::vector<Step> Looked(const std::string& name, std::function<bool(TestedGame&)> stands)
    {
        auto withGuide = std::make_shared<Image>();
        return {{name, std::move(stands),
                 [=](TestedGame& game) {
                     *withGuide = AppTesting::GrabScreen(*game.GetEngine(), name + ".bmp");
                     game.GetCharacter()->GetFigureWindow()->SetVisible(false);
                 }},
                {name + " without the guide", NextFrame(), [=, this](TestedGame& game) {
                     const Image without = AppTesting::GrabScreen(*game.GetEngine(), name + "_without_guide.bmp");
                     game.GetCharacter()->GetFigureWindow()->SetVisible(true);
                     EXPECT_EQ(AppTesting::ChangedPixels(*withGuide, without,
                                                         AppTesting::OnScreen(*game.GetEngine(), kBubbleStart)),
                               0)
                         << name << ": the guide's bubble covers it";
                     for (const double colour : ButtonColour(game, without))
                         EXPECT_LT(colour, playing / 2.0) << name << ": a button of the level stays lit";
                     ++looked;
                 }}};
    }

    double playing = 0.0; // the least colourful of the level's buttons in play
    int looked = 0;
};

TEST_F(LevelDialogPictures, NoDialogOverALevelIsCoveredByTheGuideAndEveryLevelButtonGreysUnderIt)
{
    const auto onlyTheTestsHints = [](TestedGame& game) {
        for (std::size_t topic = 0; topic < Wispfold::Profile::kTutorialHintCount; ++topic)
            Current(game).SetTutorialHintPending(topic, false);
    };
    const auto inPlay = [this](TestedGame& game) {
        const std::vector<double> colour =
            ButtonColour(game, AppTesting::GrabScreen(*game.GetEngine(), "level_playing.bmp"));
        ASSERT_EQ(colour.size(), 5u);
        playing = *std::min_element(colour.begin(), colour.end());
        Hint(game);
    };
    const auto menuReturn = [](TestedGame& game) {
        return Menu(game.m_gameLogicMenuWindow).GetControls().back().get();
    };
    const auto pauseResume = [](TestedGame& game) {
        return dynamic_cast<Wispfold::GUIGameLogicPauseWindow&>(*game.m_gameLogicPauseWindow).GetResumeButton();
    };
    const auto exitNo = [](TestedGame& game) {
        return dynamic_cast<Wispfold::GUIGameLogicGameExitWindow&>(*game.m_gameLogicGameExitWindow)
            .GetQuestion()
            .GetNoButton();
    };
    const auto won = [](TestedGame& game) {
        game.m_gameLogic->SetState(
            GameFramework::GameLogicBase::LevelWon); // as the board does when the mana is home, with the guide's line
        game.GetCharacter()->LevelEndPhrase();
    };
    Play(Join({{NewPlayer(true), {"only the test's hints", Always, onlyTheTestsHints}},
               StartLevel("level", {}),
               {{"playing", Playing, inPlay}},
               KeyWhileTyping(SDL_SCANCODE_ESCAPE),
               Looked("in_game_menu", Settled(&TestedGame::m_gameLogicMenuWindow)),
               {Click("RETURN", Always, menuReturn), {"level again", Playing, Hint}},
               KeyWhileTyping(SDL_SCANCODE_SPACE),
               Looked("pause", Settled(&TestedGame::m_gameLogicPauseWindow)),
               {Click("RESUME", Always, pauseResume),
                {"level once more", Playing, Hint},
                Click("the close button", Typing,
                      [](TestedGame& game) { return &Hud(game).GetControl(GUIGameLogicWindow::kExit); })},
               Looked("exit_question", Settled(&TestedGame::m_gameLogicGameExitWindow)),
               {Click("NO", Always, exitNo), {"level won", Playing, won}},
               // The guide's line ends about when the window stands in full: looked at as its content starts to
               // fade in.
               Looked("level_complete", Settled(&TestedGame::m_levelCompleteWindow, 0.0001f))}));
    if (HadNoRenderDevice())
        GTEST_SKIP() << "no GL device: " << MessageBoxTexts();
    EXPECT_EQ(MessageBoxTexts(), "");
    EXPECT_EQ(looked, 4);
}

} // namespace
