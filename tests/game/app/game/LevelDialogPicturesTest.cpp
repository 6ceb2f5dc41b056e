// The dialogs that open over a running level, in the whole game on GL, each opened as a player opens it while
// the guide is typing a hint: the in-game menu (ESCAPE), the pause (SPACE) and the close button's question (a
// click on it), each left again with its own button, then level complete and game over as a level is won and
// lost. Under every one the guide draws nothing over the dialog: taking the guide off the screen changes no pixel
// of the bubbles' place outside the dialog's moving parts. And every button of the level's window greys out with
// the others, the minimise and window buttons too. Saved for people to look at.
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/Model.h"
#include "engine/render/RenderSystem.h"
#include "framework/GUIGameLogicGameExitWindowBase.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicPauseWindowBase.h"
#include "framework/GUIGameOverWindowBase.h"
#include "framework/GUILevelCompleteWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIGameLogicGameExitWindow.h"
#include "game/app/GUIGameLogicPauseWindow.h"
#include "game/app/GUIGameLogicProgress.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/GUIGameOverWindow.h"
#include "game/app/GUILevelCompleteWindow.h"
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
using KeystrelEngine::Image;
using Wispfold::Character;
using Wispfold::GUIControl;
using Wispfold::GUIGameLogicWindow;
using Wispfold::GUIMenuWindow;

constexpr std::uint32_t kWon = 2;
constexpr std::uint32_t kLost = 3;
// Where the bubbles stand, right of the figure, in GUI units: from the bubbles' left end to as far right of the
// middle, from below a four-line bubble up to the title, which the background may still be typing.
constexpr float kBoxLeft = Character::kTextLeft - 10.0f;
const GUIRect kBubbles{kBoxLeft, Character::kFirstLine - 4.0f * Character::kLineStep, 800.0f - 2.0f * kBoxLeft,
                       5.0f * Character::kLineStep};
constexpr int kChanged = 30; // a difference of colour that shows

GUIGameLogicWindow& Hud(TestedGame& game)
{
    return dynamic_cast<GUIGameLogicWindow&>(*game.m_gameLogicWindow);
}

template <class Base> GUIMenuWindow& Menu(const std::unique_ptr<Base>& window)
{
    return dynamic_cast<GUIMenuWindow&>(*window);
}

using Dialog = std::function<GUIMenuWindow&(TestedGame&)>;

// The dialog has unfolded and faded in at least as far as the given alpha.
std::function<bool(TestedGame&)> Shown(Dialog dialog, float alpha = 1.0f)
{
    return [dialog, alpha](TestedGame& game) {
        const GUIMenuWindow& window = dialog(game);
        return window.m_shown && window.m_colour.a >= alpha && !window.IsAnyControlAnimating();
    };
}

// The level runs, its window takes the player's input and its view has flown in.
bool Playing(TestedGame& game)
{
    const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
    return level && level->GetState() == 0 && Hud(game).m_active && Hud(game).GetAlpha() >= 1.0f &&
           level->GetCameraControl().GetTransitionTimer() >= 1.0f;
}

// A bubble is up, its lines still being typed.
bool Typing(TestedGame& game)
{
    const Character& guide = *game.GetCharacter();
    return !guide.IsSilent() && guide.GetAlpha() > 0.5f && guide.GetAlpha() < 1.0f;
}

std::function<bool(TestedGame&)> NextFrame()
{
    return [asked = 0](TestedGame&) mutable { return ++asked == 2; };
}

Step Key(const std::string& name, SDL_Scancode key, bool down)
{
    return {name, down ? Typing : NextFrame(), [key, down](TestedGame&) { PlatformTesting::InjectKey(key, down); }};
}

Step Click(const std::string& name, std::function<bool(TestedGame&)> ready,
           std::function<const GUIControl&(TestedGame&)> control)
{
    return {name, [ready, control, clicker = Clicker(), started = false](TestedGame& game) mutable {
                started = started || ready(game);
                return started && clicker.Step(game, control(game));
            }};
}

// A rectangle in GUI units as the picture's pixels (from the bottom).
GUIRect InPixels(TestedGame& game, const GUIRect& rect)
{
    const KeystrelEngine::Camera& screen = *game.GetEngine()->m_gui->m_camera;
    const float sx = static_cast<float>(game.Window().m_width) / screen.m_width;
    const float sy = static_cast<float>(game.Window().m_height) / screen.m_height;
    return {rect.x * sx, rect.y * sy, rect.width * sx, rect.height * sy};
}

// Where a control draws: its widget's hit area or size, and its model's box.
std::vector<GUIRect> Drawn(const GUIControl& control)
{
    std::vector<GUIRect> rects;
    const KeystrelEngine::GUIWindow& widget = *control.GetWidget();
    const KeystrelEngine::GUIPoint at = widget.GetAbsolutePosition();
    const GUIRect area =
        widget.m_hasHitArea ? widget.m_hitArea : GUIRect{0, 0, widget.m_size.width, widget.m_size.height};
    rects.push_back({at.x + area.x, at.y + area.y, area.width, area.height});
    for (const KeystrelEngine::GUIWindow* window : {control.GetModelWindow(), control.GetWidget()}) {
        if (window && window->GetQuad()) {
            const KeystrelEngine::BoundingBox& box = window->GetQuad()->m_boundingBox;
            rects.push_back({box.m_localMin.x, box.m_localMin.y, box.m_localMax.x - box.m_localMin.x,
                             box.m_localMax.y - box.m_localMin.y});
        }
    }
    return rects;
}

bool Inside(const std::vector<GUIRect>& rects, float x, float y)
{
    return std::any_of(rects.begin(), rects.end(), [x, y](const GUIRect& r) {
        return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
    });
}

// The mean spread between the strongest and weakest colour channel over the control's hit area: a greyed button
// has little.
double Colourfulness(TestedGame& game, const Image& picture, const GUIControl& control)
{
    const KeystrelEngine::GUIWindow& widget = *control.GetWidget();
    const KeystrelEngine::GUIPoint at = widget.GetAbsolutePosition();
    const GUIRect rect = InPixels(
        game, {at.x + widget.m_hitArea.x, at.y + widget.m_hitArea.y, widget.m_hitArea.width, widget.m_hitArea.height});
    double sum = 0.0;
    int count = 0;
    for (auto y = static_cast<std::uint32_t>(rect.y); y < rect.y + rect.height; ++y) {
        for (auto x = static_cast<std::uint32_t>(rect.x); x < rect.x + rect.width; ++x) {
            const auto p = RenderTesting::PixelFromBottom(picture, x, y);
            sum += std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]});
            ++count;
        }
    }
    return count == 0 ? 0.0 : sum / count;
}

// The level window's buttons on screen: menu, camera, minimise, exit and the shown windowed or full-screen one.
std::vector<const GUIControl*> HudButtons(TestedGame& game)
{
    GUIGameLogicWindow& hud = Hud(game);
    std::vector<const GUIControl*> buttons;
    for (const auto index : {GUIGameLogicWindow::kMenu, GUIGameLogicWindow::kCamera, GUIGameLogicWindow::kMinimise,
                             GUIGameLogicWindow::kExit, GUIGameLogicWindow::kWindowed, GUIGameLogicWindow::kFullScreen})
        if (hud.GetControl(index).GetWidget()->IsVisible())
            buttons.push_back(&hud.GetControl(index));
    return buttons;
}

class LevelDialogPictures : public GameFixture
{
protected:
    LevelDialogPictures() { PlatformTesting::UseRecordingDevice(false); }

    Image Grab(TestedGame& game, const std::string& name)
    {
        Image image;
        game.GetEngine()->m_renderSystem->GrabScreen(image);
        RenderTesting::SaveTestPicture(image, name + ".bmp", *game.GetEngine()->m_files);
        grabbed = true;
        return image;
    }

    // The dialog once it stands (from the first frame of its fade-in when its texts stay clear of the bubbles'
    // place): its picture with the guide, then without it a frame later. The pixels of the bubbles' place
    // outside the dialog's own controls (which may still fade in or count up) do not change; every level
    // button is greyed.
    std::vector<Step> Looked(const std::string& name, Dialog dialog, float alpha = 1.0f)
    {
        auto withGuide = std::make_shared<Image>();
        return {{name, Shown(dialog, alpha),
                 [=, this](TestedGame& game) {
                     *withGuide = Grab(game, name);
                     game.GetCharacter()->GetFigureWindow()->SetVisible(false);
                 }},
                {name + ": without the guide", NextFrame(), [=, this](TestedGame& game) {
                     const Image without = Grab(game, name + "_without_guide");
                     game.GetCharacter()->GetFigureWindow()->SetVisible(true);
                     std::vector<GUIRect> moving;
                     const auto& controls = dialog(game).GetControls();
                     for (auto control = controls.begin() + 1; control != controls.end(); ++control)
                         for (const GUIRect& rect : Drawn(**control))
                             moving.push_back(InPixels(game, rect));
                     const GUIRect box = InPixels(game, kBubbles);
                     int changed = 0;
                     for (auto y = static_cast<std::uint32_t>(box.y); y < box.y + box.height; ++y)
                         for (auto x = static_cast<std::uint32_t>(box.x); x < box.x + box.width; ++x)
                             changed += !Inside(moving, x, y) &&
                                        AppTesting::PixelDifference(*withGuide, without, x, y) > kChanged;
                     covered.push_back({name, changed});
                     for (const GUIControl* button : HudButtons(game))
                         underDialog.push_back(Colourfulness(game, without, *button));
                 }}};
    }

    bool grabbed = false;
    std::vector<std::pair<std::string, int>> covered; // per dialog, the pixels the guide changed
    std::vector<double> playing;                      // the level's buttons in play
    std::vector<double> underDialog;                  // the same under each dialog
};

TEST_F(LevelDialogPictures, NoDialogOverALevelIsCoveredByTheGuideAndEveryLevelButtonGreysUnderIt)
{
    const auto hint = [](TestedGame& game) {
        game.GetCharacter()->ShowText("CHARACTER_TUTORIAL_MAKE_SWAP_0", 9.0f); // as the tutorial gives it
    };
    const auto menu = [](TestedGame& game) -> GUIMenuWindow& { return Menu(game.m_gameLogicMenuWindow); };
    const auto pause = [](TestedGame& game) -> GUIMenuWindow& { return Menu(game.m_gameLogicPauseWindow); };
    const auto question = [](TestedGame& game) -> GUIMenuWindow& { return Menu(game.m_gameLogicGameExitWindow); };
    const auto complete = [](TestedGame& game) -> GUIMenuWindow& { return Menu(game.m_levelCompleteWindow); };
    const auto over = [](TestedGame& game) -> GUIMenuWindow& { return Menu(game.m_gameOverWindow); };

    std::vector<Step> steps{
        {"profile", Always,
         [](TestedGame& game) {
             auto& ann = static_cast<Wispfold::Profile&>(
                 *(game.m_profileManager->m_current = game.m_profileManager->AddProfile(u"Ann")));
             ann.SetFlag(Wispfold::Profile::IntroductionPending, false);
             for (std::size_t topic = 0; topic < Wispfold::Profile::kTutorialHintCount; ++topic)
                 ann.SetTutorialHintPending(topic, false); // the test's hints only
         }},
        {"main menu", MainMenuShown,
         [](TestedGame& game) { game.m_mainMenuWindow->m_result = GameFramework::RequestStart; }},
        {"map", Shown([](TestedGame& game) -> GUIMenuWindow& { return Menu(game.m_startGameLogicWindow); }),
         [](TestedGame& game) { game.m_startGameLogicWindow->m_result = GameFramework::RequestStart; }},
        {"level", Playing,
         [&, hint](TestedGame& game) {
             const Image image = Grab(game, "level_playing");
             for (const GUIControl* button : HudButtons(game))
                 playing.push_back(Colourfulness(game, image, *button));
             hint(game);
         },
         900},
        Key("ESCAPE while the hint types", SDL_SCANCODE_ESCAPE, true),
        Key("ESCAPE up", SDL_SCANCODE_ESCAPE, false)};
    const auto add = [&steps](std::vector<Step> more) { steps.insert(steps.end(), more.begin(), more.end()); };
    add(Looked("in_game_menu", menu));
    add({Click("RETURN", Always,
               [menu](TestedGame& game) -> const GUIControl& {
                   return *menu(game).GetControls().back(); // RETURN is its last control
               }),
         {"level again", Playing, hint},
         Key("SPACE while the hint types", SDL_SCANCODE_SPACE, true),
         Key("SPACE up", SDL_SCANCODE_SPACE, false)});
    add(Looked("pause", pause));
    add({Click("RESUME", Always,
               [](TestedGame& game) -> const GUIControl& {
                   return *dynamic_cast<Wispfold::GUIGameLogicPauseWindow&>(*game.m_gameLogicPauseWindow)
                               .GetResumeButton();
               }),
         {"level once more", Playing, hint},
         Click("the close button while the hint types", Typing,
               [](TestedGame& game) -> const GUIControl& { return Hud(game).GetControl(GUIGameLogicWindow::kExit); })});
    add(Looked("exit_question", question));
    add({Click("NO", Always,
               [](TestedGame& game) -> const GUIControl& {
                   return *dynamic_cast<Wispfold::GUIGameLogicGameExitWindow&>(*game.m_gameLogicGameExitWindow)
                               .GetQuestion()
                               .GetNoButton();
               }),
         {"the level won", Playing, [](TestedGame& game) {
              // What the board does as its last butterflies bring the mana home.
              game.m_gameLogic->SetState(kWon);
              game.GetCharacter()->LevelEndPhrase();
          }}});
    add(Looked("level_complete", complete, 0.0001f)); // the guide's last line ends about when it stands in full
    add({Click("CONTINUE", Always,
               [](TestedGame& game) -> const GUIControl& {
                   return *dynamic_cast<Wispfold::GUILevelCompleteWindow&>(*game.m_levelCompleteWindow)
                               .GetContinueButton();
               }),
         {"map after the win",
          Shown([](TestedGame& game) -> GUIMenuWindow& { return Menu(game.m_startGameLogicWindow); }),
          [](TestedGame& game) { game.m_startGameLogicWindow->m_result = GameFramework::RequestStart; }},
         {"next level", Playing, hint},
         {"the level lost while the hint types", Typing, [](TestedGame& game) {
              // What the board does as the energy runs out.
              game.m_gameLogic->SetState(kLost);
              game.GetCharacter()->LevelFailedReaction();
          }}});
    add(Looked("game_over", over));

    Play(std::move(steps));
    if (!grabbed && !PlatformTesting::RecordedMessageBoxes().empty())
        GTEST_SKIP() << "no GL device: " << PlatformTesting::RecordedMessageBoxes()[0].text;

    ASSERT_EQ(covered.size(), 5u);
    for (const auto& [dialog, changed] : covered)
        EXPECT_LT(changed, 40) << dialog << ": the guide draws over it";
    ASSERT_EQ(playing.size(), 5u);
    ASSERT_EQ(underDialog.size(), 5u * covered.size());
    const double least = *std::min_element(playing.begin(), playing.end());
    for (std::size_t i = 0; i < underDialog.size(); ++i)
        EXPECT_LT(underDialog[i], least / 2.0) << covered[i / 5].first << ", button " << i % 5 << " stays lit";
}

} // namespace
