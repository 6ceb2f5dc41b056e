// The dialogs that open over a running level, in the whole game on GL, each opened as a player opens it while
// the guide is typing: the in-game menu (ESCAPE), the pause (SPACE) and the close button's question (a click),
// each left with its own button, and level complete as the level is won. Under each, taking the guide off the
// screen changes no pixel where its bubbles start, and every button of the level's window is greyed, the
// minimise and window buttons too. Saved for people to look at.
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/RenderSystem.h"
#include "framework/GUIGameLogicGameExitWindowBase.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicPauseWindowBase.h"
#include "framework/GUILevelCompleteWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIGameLogicGameExitWindow.h"
#include "game/app/GUIGameLogicPauseWindow.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/Profile.h"
#include "game/play/CameraControl.h"
#include "game/play/Character.h"
#include "game/play/GameLogic.h"
#include "platform/testing.h"

#include <SDL_scancode.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace GameTesting;
using KeystrelEngine::GUIRect;
using Wispfold::Character;
using Wispfold::GUIControl;
using Wispfold::GUIGameLogicWindow;
using Wispfold::GUIMenuWindow;
using Dialog = std::function<GUIMenuWindow&(TestedGame&)>;

// The left end of every bubble, right of the figure and left of what a dialog shows in its middle, in GUI units.
const GUIRect kBubbleStart{Character::kTextLeft - 10.0f, Character::kFirstLine - 4.0f * Character::kLineStep, 120.0f,
                           5.0f * Character::kLineStep};

GUIGameLogicWindow& Hud(TestedGame& game)
{
    return dynamic_cast<GUIGameLogicWindow&>(*game.m_gameLogicWindow);
}

template <class Member> Dialog Of(Member window)
{
    return [window](TestedGame& game) -> GUIMenuWindow& {
        return dynamic_cast<GUIMenuWindow&>(*std::invoke(window, game));
    };
}

std::function<bool(TestedGame&)> NextFrame()
{
    return [asked = 0](TestedGame&) mutable { return ++asked == 2; };
}

// The dialog has unfolded and faded in at least as far as the alpha.
std::function<bool(TestedGame&)> Shown(Dialog dialog, float alpha = 1.0f)
{
    return [dialog, alpha](TestedGame& game) {
        const GUIMenuWindow& window = dialog(game);
        return window.m_shown && window.m_colour.a >= alpha && !window.IsAnyControlAnimating();
    };
}

// The level runs, its view has flown in and its window takes the player's input.
bool Playing(TestedGame& game)
{
    const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
    return level && level->GetState() == 0 && level->GetCameraControl().GetTransitionTimer() >= 1.0f &&
           Hud(game).m_active && Hud(game).GetAlpha() >= 1.0f;
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

class LevelDialogPictures : public GameFixture
{
protected:
    LevelDialogPictures() { PlatformTesting::UseRecordingDevice(false); }

    KeystrelEngine::Image Grab(TestedGame& game, const std::string& name)
    {
        KeystrelEngine::Image image;
        game.GetEngine()->m_renderSystem->GrabScreen(image);
        RenderTesting::SaveTestPicture(image, name + ".bmp", *game.GetEngine()->m_files);
        return image;
    }

    // A rectangle in GUI units as the picture's pixels, from the bottom.
    static GUIRect InPixels(TestedGame& game, const GUIRect& rect)
    {
        const KeystrelEngine::Camera& screen = *game.GetEngine()->m_gui->m_camera;
        const float sx = static_cast<float>(game.Window().m_width) / screen.m_width;
        const float sy = static_cast<float>(game.Window().m_height) / screen.m_height;
        return {rect.x * sx, rect.y * sy, rect.width * sx, rect.height * sy};
    }

    // Over each of the level window's shown buttons, the mean spread between the strongest and the weakest
    // colour channel: a greyed button has little.
    std::vector<double> ButtonColour(TestedGame& game, const KeystrelEngine::Image& picture)
    {
        std::vector<double> colour;
        for (int index = GUIGameLogicWindow::kMenu; index < GUIGameLogicWindow::kManaFrame; ++index) {
            const GUIControl& control = Hud(game).GetControl(static_cast<GUIGameLogicWindow::ControlIndex>(index));
            const KeystrelEngine::GUIWindow& button = *control.GetWidget();
            if (!control.GetButton() || !button.IsVisible())
                continue; // the panels, and the window button not shown
            const KeystrelEngine::GUIPoint at = button.GetAbsolutePosition();
            const GUIRect area = InPixels(game, {at.x + button.m_hitArea.x, at.y + button.m_hitArea.y,
                                                 button.m_hitArea.width, button.m_hitArea.height});
            double sum = 0.0;
            for (auto y = static_cast<std::uint32_t>(area.y); y < area.y + area.height; ++y)
                for (auto x = static_cast<std::uint32_t>(area.x); x < area.x + area.width; ++x) {
                    const auto p = RenderTesting::PixelFromBottom(picture, x, y);
                    sum += std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]});
                }
            colour.push_back(sum / (static_cast<int>(area.width) * static_cast<int>(area.height)));
        }
        return colour;
    }

    // The dialog once it stands: its picture with the guide, then without it a frame later.
    std::vector<Step> Looked(const std::string& name, Dialog dialog, float alpha = 1.0f)
    {
        auto withGuide = std::make_shared<KeystrelEngine::Image>();
        return {{name, Shown(dialog, alpha),
                 [=, this](TestedGame& game) {
                     *withGuide = Grab(game, name);
                     game.GetCharacter()->GetFigureWindow()->SetVisible(false);
                 }},
                {name + " without the guide", NextFrame(), [=, this](TestedGame& game) {
                     const KeystrelEngine::Image without = Grab(game, name + "_without_guide");
                     game.GetCharacter()->GetFigureWindow()->SetVisible(true);
                     const GUIRect box = InPixels(game, kBubbleStart);
                     int changed = 0;
                     for (auto y = static_cast<std::uint32_t>(box.y); y < box.y + box.height; ++y)
                         for (auto x = static_cast<std::uint32_t>(box.x); x < box.x + box.width; ++x)
                             changed += AppTesting::PixelDifference(*withGuide, without, x, y) > 30;
                     EXPECT_EQ(changed, 0) << name << ": the guide's bubble covers it";
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
    const auto map = Of(&TestedGame::m_startGameLogicWindow);
    std::vector<Step> steps{
        {"profile", Always,
         [](TestedGame& game) {
             auto& ann = static_cast<Wispfold::Profile&>(
                 *(game.m_profileManager->m_current = game.m_profileManager->AddProfile(u"Ann")));
             ann.SetFlag(Wispfold::Profile::IntroductionPending, false);
             for (std::size_t topic = 0; topic < Wispfold::Profile::kTutorialHintCount; ++topic)
                 ann.SetTutorialHintPending(topic, false); // only the test's hints
         }},
        {"main menu", MainMenuShown,
         [](TestedGame& game) { game.m_mainMenuWindow->m_result = GameFramework::RequestStart; }},
        {"map", Shown(map),
         [](TestedGame& game) { game.m_startGameLogicWindow->m_result = GameFramework::RequestStart; }},
        {"level", Playing, [this](TestedGame& game) {
             const std::vector<double> colour = ButtonColour(game, Grab(game, "level_playing"));
             ASSERT_EQ(colour.size(), 5u);
             playing = *std::min_element(colour.begin(), colour.end());
             Hint(game);
         }}};
    const auto add = [&steps](std::vector<Step> more) { steps.insert(steps.end(), more.begin(), more.end()); };
    add(KeyWhileTyping(SDL_SCANCODE_ESCAPE));
    add(Looked("in_game_menu", Of(&TestedGame::m_gameLogicMenuWindow)));
    add({Click(
             "RETURN", Always,
             [](TestedGame& game) { return Of(&TestedGame::m_gameLogicMenuWindow)(game).GetControls().back().get(); }),
         {"level again", Playing, Hint}});
    add(KeyWhileTyping(SDL_SCANCODE_SPACE));
    add(Looked("pause", Of(&TestedGame::m_gameLogicPauseWindow)));
    add({Click("RESUME", Always,
               [](TestedGame& game) {
                   return dynamic_cast<Wispfold::GUIGameLogicPauseWindow&>(*game.m_gameLogicPauseWindow)
                       .GetResumeButton();
               }),
         {"level once more", Playing, Hint},
         Click("the close button", Typing,
               [](TestedGame& game) { return &Hud(game).GetControl(GUIGameLogicWindow::kExit); })});
    add(Looked("exit_question", Of(&TestedGame::m_gameLogicGameExitWindow)));
    add({Click("NO", Always,
               [](TestedGame& game) {
                   return dynamic_cast<Wispfold::GUIGameLogicGameExitWindow&>(*game.m_gameLogicGameExitWindow)
                       .GetQuestion()
                       .GetNoButton();
               }),
         {"level won", Playing, [](TestedGame& game) {
              game.m_gameLogic->SetState(2); // as the board does when the mana is home, with the guide's line
              game.GetCharacter()->LevelEndPhrase();
          }}});
    // The guide's line ends about when the window stands in full: looked at as its content starts to fade in.
    add(Looked("level_complete", Of(&TestedGame::m_levelCompleteWindow), 0.0001f));

    Play(std::move(steps));
    if (looked == 0 && !PlatformTesting::RecordedMessageBoxes().empty())
        GTEST_SKIP() << "no GL device: " << PlatformTesting::RecordedMessageBoxes()[0].text;
    EXPECT_EQ(looked, 4);
}

} // namespace
