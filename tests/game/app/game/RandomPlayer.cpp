#include "tests/game/app/game/RandomPlayer.h"

#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "framework/GUIGameLogicGameExitWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "game/app/GUIControl.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/GUIUpgradeWindow.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/GameLogic.h"
#include "platform/testing.h"
#include "tests/game/app/game/GameFixture.h"

#include <SDL_mouse.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace GameTesting {
namespace {

using TestSupport::BoardSolver;
using namespace std::literals;

constexpr std::array kKeys = {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_SPACE, SDL_SCANCODE_P, SDL_SCANCODE_RETURN,
                              SDL_SCANCODE_BACKSPACE};
// The captions of the buttons that lead back toward the main menu. The exit question's OK leaves the level from
// the in-game menu, but quits the game from the head-up display's exit.
// clang-format off
constexpr std::array kWaysBack = {"BACK"sv, "CANCEL"sv, "NO"sv, "OK"sv, "CONTINUE"sv, "PROFILES_DONE"sv,
    "LEVEL_COMPLETE_UPGRADE"sv, "GAME_LOGIC_PAUSED_RESUME"sv, "GAME_LOGIC_MENU_EXIT"sv, "GAME_LOGIC_EXIT_OK"sv};
// The captions of the buttons on the way into a level and on after it.
constexpr std::array kOnward = {"MAIN_MENU_START"sv, "START_GAME_START"sv, "START_GAME_CONTINUE"sv,
    "CONTINUE_GAME_LOGIC_CONTINUE_GAME"sv, "CONTINUE"sv, "LEVEL_COMPLETE_UPGRADE"sv, "OK"sv, "NO"sv,
    "GAME_LOGIC_PAUSED_RESUME"sv, "GAME_LOGIC_MENU_RETURN"sv};
// The answers to the dialogs over a level that let it go on (EXIT asks first, and NO brings the menu back).
constexpr std::array kLevelGoesOn = {"GAME_LOGIC_PAUSED_RESUME"sv, "GAME_LOGIC_MENU_RETURN"sv,
    "GAME_LOGIC_MENU_EXIT"sv, "NO"sv};
// clang-format on
constexpr std::string_view kQuitQuestionOk = "GAME_LOGIC_EXIT_OK";
// In a running level, per mille of the frames left to random actions, and per cent of the levels played to lose
// and of the moves that are listed ones.
constexpr int kLevelNoise = 15;
constexpr int kLevelsToLose = 15;
constexpr int kShortLevelsToLose = 60; // levels of little energy, which are lost soonest
constexpr std::uint32_t kShortEnergy = 25;
constexpr int kListedMoves = 85;
// Per mille of a running level's frames that begin a round of dialogs, the answers in a round, and the chance in a
// frame that the player, thinking, acts (one in so many).
constexpr int kDialogRounds = 1;
constexpr int kMostAnswers = 3;
constexpr int kThought = 6;

// The buttons a player could click now.
template <class Registry>
void CollectClickable(const Registry& registry, std::vector<const KeystrelEngine::GUIButton*>& buttons)
{
    for (const KeystrelEngine::GUIButton* button : registry.GetSlots()) {
        if (button && button->IsVisible() && button->IsEnabled())
            buttons.push_back(button);
    }
}

// The caption the button's window gave it in the frame just drawn.
std::string_view Caption(const KeystrelEngine::GUIButton& button)
{
    return button.GetTextPoolSize() == 0 ? std::string_view() : std::string_view(button.GetTextRecord(0).key);
}

template <std::size_t count> bool Among(std::string_view caption, const std::array<std::string_view, count>& captions)
{
    return std::find(captions.begin(), captions.end(), caption) != captions.end();
}

template <const auto& captions> bool CaptionAmong(const KeystrelEngine::GUIButton& button)
{
    return Among(Caption(button), captions);
}

// The left mouse button going down or up, as a step.
std::function<void()> LeftButton(bool down)
{
    return [down] { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, down); };
}

bool NameWanted(const KeystrelEngine::GUIManager& gui)
{
    const auto& boxes = gui.m_editBoxes.GetSlots();
    return std::any_of(boxes.begin(), boxes.end(), [](const KeystrelEngine::GUIEditBox* box) {
        return box && box->IsVisible() && box->GetText().empty();
    });
}

} // namespace

void RandomPlayer::Act(TestedGame& game)
{
    ++m_frame;
    m_aimed = m_aimed && game.m_gameLogic; // every level between two has frames without one
    m_levelFrom = !game.m_gameLogic ? -1 : m_levelFrom < 0 ? m_frame : m_levelFrom;
    if (m_wayBackFrom >= 0 && MainMenuShown(game))
        FinishWayBack();
    if (!m_next.empty()) {
        const std::function<void()> step = std::move(m_next.front());
        m_next.pop_front();
        step();
        return;
    }
    if (!game.Window().HasFocus()) {
        BringBack(game.Window().m_handle); // the window lost the focus on its own, say while switching modes
        return;
    }
    if (WayBackDue(game))
        m_wayBackFrom = m_frame;
    m_goingOn = m_goingOn && !game.m_gameLogic && m_wayBackFrom < 0;
    if (m_goingOn)
        GoOn(game);
    else if (m_wayBackFrom >= 0)
        GoBack(game);
    else if (!PlayDialogs(game) && !PlayLevel(game))
        PickAction(game);
}

void RandomPlayer::GoOnFirst()
{
    m_goingOn = true;
    m_patient = true;
}

void RandomPlayer::Forget()
{
    m_next.clear();
    PlatformTesting::ResetInput();
}

// Per mille: most frames let the game run; clicks on buttons and ENTER move it on through its windows.
void RandomPlayer::PickAction(TestedGame& game)
{
    const int roll = Uniform(0, 999);
    if (roll < 300)
        return;
    if (roll < 520) {
        if (Uniform(0, 1) == 0 ? PointAtButton(game, CaptionAmong<kOnward>) : PointAtButton(game))
            Click(1);
    } else if (roll < 620) {
        PointAnywhere(game);
    } else if (roll < 700) {
        PointAnywhere(game);
        Click(1);
    } else if (roll < 720) {
        if (Uniform(0, 1) == 0 || !PointAtButton(game))
            PointAnywhere(game);
        Click(2);
    } else if (roll < 740) {
        PlatformTesting::InjectMouseWheel(Uniform(-3, 3));
    } else if (roll < 840) {
        Key(SDL_SCANCODE_RETURN);
    } else if (roll < 940) {
        Key(PickFrom(kKeys));
    } else if (roll < 994) {
        Letter();
    } else if (roll < 997) {
        AltEnter();
    } else {
        LoseFocus(game);
    }
}

// A round ends with its last answer, or with the level: won, lost or left.
bool RandomPlayer::PlayDialogs(TestedGame& game)
{
    using Level = GameFramework::GameLogicBase;
    const Level* level = game.m_gameLogic.get();
    const bool levelTakesInput = level && level->GetState() == Level::LevelPlaying && game.m_gameLogicWindow->m_active;
    if (!level || level->GetState() >= Level::LevelWon)
        m_dialogAnswers = 0;
    else if (m_dialogAnswers == 0 && levelTakesInput && Uniform(0, 999) < kDialogRounds)
        m_dialogAnswers = Uniform(1, kMostAnswers);
    if (m_dialogAnswers == 0)
        return false;
    if (Uniform(1, kThought) > 1)
        return true;
    if (levelTakesInput) {
        OpenDialog(game);
    } else if (PointAtButton(game, CaptionAmong<kLevelGoesOn>)) {
        Click(1);
        --m_dialogAnswers;
    }
    return true;
}

// One of two buttons, or more often one of three keys.
void RandomPlayer::OpenDialog(TestedGame& game)
{
    using Wispfold::GUIGameLogicWindow;
    const int way = Uniform(0, 4);
    if (way > 1) {
        Key(PickFrom(std::array{SDL_SCANCODE_ESCAPE, SDL_SCANCODE_P, SDL_SCANCODE_SPACE}));
        return;
    }
    const auto& hud = static_cast<const GUIGameLogicWindow&>(*game.m_gameLogicWindow);
    PointAt(game, *hud.GetControl(way == 0 ? GUIGameLogicWindow::kMenu : GUIGameLogicWindow::kExit).GetButton());
    Click(1);
}

bool RandomPlayer::PlayLevel(TestedGame& game)
{
    const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
    if (!level || level->GetState() != GameFramework::GameLogicBase::LevelPlaying || !game.m_gameLogicWindow->m_active)
        return false;
    if (!m_aimed) {
        m_aimed = true;
        const int toLose = level->GetEnergyLeft() <= kShortEnergy ? kShortLevelsToLose : kLevelsToLose;
        m_aim = Uniform(0, 99) < toLose ? BoardSolver::Aim::Lose : BoardSolver::Aim::Win;
    }
    if (Uniform(0, 999) < kLevelNoise)
        return false;
    if (Uniform(0, 2) == 0 && BoardSolver::IsSettled(level->GetBoard()))
        PlayMove(game, *level);
    return true;
}

// Each cell is clicked where it shows: the mouse moves there as the button goes down, and the button comes up a
// frame later.
void RandomPlayer::PlayMove(TestedGame& game, const Wispfold::GameLogic& level)
{
    const Wispfold::Board& board = level.GetBoard();
    const std::optional<std::uint32_t> listed =
        Uniform(0, 99) < kListedMoves ? BoardSolver::ChooseMove(board, m_aim) : std::nullopt;
    const Wispfold::Cell* first = listed ? board.GetMoveFirstCell(*listed) : PickFrom(board.GetCells()).get();
    const Wispfold::Cell* second = listed ? board.GetMoveSecondCell(*listed) : board.GetNeighbour(first, Uniform(0, 5));
    if (!second)
        return;
    const Wispfold::ScreenPosition from = level.GetScene().GetScreenPosition(*first);
    const Wispfold::ScreenPosition to = level.GetScene().GetScreenPosition(*second);
    MoveTo(game, from.x, from.y);
    Click(1);
    m_next.emplace_back([this, &game, to] {
        MoveTo(game, to.x, to.y);
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
    });
    m_next.emplace_back(LeftButton(false));
}

// A step every few frames, as on the way back.
void RandomPlayer::GoOn(TestedGame& game)
{
    if (Uniform(0, 3) == 0 && PointAtButton(game, CaptionAmong<kOnward>))
        Click(1);
}

bool RandomPlayer::WayBackDue(const TestedGame& game) const
{
    if (m_wayBackFrom >= 0 || m_frame < m_wayBackAt)
        return false;
    if (!game.m_gameLogic)
        return true;
    return m_patient ? m_frame - m_levelFrom >= kLongestLevel : m_frame - m_randomPlayFrom >= kLongestRandomPlay;
}

// A step every few frames, so that each window stands before the next press.
void RandomPlayer::GoBack(TestedGame& game)
{
    if (Uniform(0, 3) != 0)
        return;
    const Wispfold::GUIUpgradeWindow* upgrade = game.GetUpgradeWindow();
    if (game.m_gameLogic && game.m_gameLogic->GetState() == GameFramework::GameLogicBase::LevelPlaying &&
        game.m_gameLogicWindow->m_active) {
        Key(SDL_SCANCODE_ESCAPE);
    } else if (upgrade && upgrade->IsActive() && upgrade->GetWindow()->IsVisible()) {
        if (upgrade->GetClock() > Wispfold::GUIUpgradeWindow::kClickDelay)
            Click(1);
    } else {
        const auto* quitQuestion = dynamic_cast<const Wispfold::GUIMenuWindow*>(game.m_gameLogicGameExitWindow.get());
        const bool quitAsked = quitQuestion && quitQuestion->IsShown();
        const auto back = [quitAsked](const KeystrelEngine::GUIButton& button) {
            const std::string_view caption = Caption(button);
            return Among(caption, kWaysBack) && !(quitAsked && caption == kQuitQuestionOk);
        };
        if (PointAtButton(game, back))
            Click(1);
        else if (NameWanted(*game.GetEngine()->m_gui))
            Letter();
    }
}

void RandomPlayer::FinishWayBack()
{
    m_wayBackFrom = -1;
    m_randomPlayFrom = m_frame;
    m_wayBackAt = m_frame + Uniform(kLongestRandomPlay / 2, kLongestRandomPlay);
    m_patient = Uniform(0, 1) == 0;
    ++m_waysBack;
}

bool RandomPlayer::PointAtButton(TestedGame& game, const std::function<bool(const KeystrelEngine::GUIButton&)>& wanted)
{
    const KeystrelEngine::GUIManager& gui = *game.GetEngine()->m_gui;
    m_buttons.clear();
    CollectClickable(gui.m_buttons, m_buttons);
    if (Uniform(0, 3) == 0)
        CollectClickable(gui.m_checkBoxes, m_buttons); // now and then: relax mode, which no level is lost in
    if (wanted)
        std::erase_if(m_buttons, [&wanted](const KeystrelEngine::GUIButton* button) { return !wanted(*button); });
    if (m_buttons.empty())
        return false;
    PointAt(game, *PickFrom(m_buttons));
    return true;
}

void RandomPlayer::PointAt(TestedGame& game, const KeystrelEngine::GUIButton& button)
{
    const KeystrelEngine::GUIPoint origin = button.GetAbsolutePosition();
    const KeystrelEngine::GUIRect area = button.m_hasHitArea
                                             ? button.m_hitArea
                                             : KeystrelEngine::GUIRect{0, 0, button.m_size.width, button.m_size.height};
    MoveTo(game, origin.x + area.x + area.width * 0.5f, origin.y + area.y + area.height * 0.5f);
}

void RandomPlayer::PointAnywhere(TestedGame& game)
{
    const KeystrelEngine::Camera& screen = *game.GetEngine()->m_gui->m_camera;
    MoveTo(game, static_cast<float>(Uniform(0, static_cast<int>(screen.m_width) - 1)),
           static_cast<float>(Uniform(0, static_cast<int>(screen.m_height) - 1)));
}

// GUI units to the pixels of the window on the desktop (y down). Full screen letterboxes the picture, the size of
// the game's window, into the desktop-size window, centred; a window shows it as it is.
void RandomPlayer::MoveTo(TestedGame& game, float x, float y)
{
    const KeystrelEngine::Window& window = game.Window();
    const PlatformTesting::WindowState shown = PlatformTesting::GetWindowState(window.m_handle);
    const KeystrelEngine::Camera& screen = *game.GetEngine()->m_gui->m_camera;
    const float scale = std::min(static_cast<float>(shown.width) / static_cast<float>(window.m_width),
                                 static_cast<float>(shown.height) / static_cast<float>(window.m_height));
    const float width = static_cast<float>(window.m_width) * scale;
    const float height = static_cast<float>(window.m_height) * scale;
    const auto pixels = [&](float gx, float gy) {
        return std::array{
            static_cast<int>((static_cast<float>(shown.width) - width) / 2 + gx / screen.m_width * width),
            static_cast<int>((static_cast<float>(shown.height) - height) / 2 + (1.0f - gy / screen.m_height) * height)};
    };
    const auto from = pixels(m_x, m_y);
    const auto to = pixels(x, y);
    PlatformTesting::InjectMouseMotion(window.m_handle, to[0], to[1], to[0] - from[0], to[1] - from[1]);
    m_x = x;
    m_y = y;
}

// Presses now; releases, and presses and releases again for a double click, a frame each.
void RandomPlayer::Click(int count)
{
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
    m_next.push_back(LeftButton(false));
    for (int again = 1; again < count; ++again)
        m_next.insert(m_next.end(), {LeftButton(true), LeftButton(false)});
}

void RandomPlayer::Key(SDL_Scancode key)
{
    PlatformTesting::InjectKey(key, true);
    m_next.emplace_back([key] { PlatformTesting::InjectKey(key, false); });
}

void RandomPlayer::Letter()
{
    const int letter = Uniform(0, 25);
    Key(static_cast<SDL_Scancode>(SDL_SCANCODE_A + letter));
    PlatformTesting::InjectText(std::string(1, static_cast<char>('a' + letter)));
}

void RandomPlayer::AltEnter()
{
    PlatformTesting::InjectKey(SDL_SCANCODE_LALT, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_RETURN, true);
    m_next.emplace_back([] {
        PlatformTesting::InjectKey(SDL_SCANCODE_RETURN, false);
        PlatformTesting::InjectKey(SDL_SCANCODE_LALT, false);
    });
}

// The game minimises itself without the focus; one to three frames later the player brings it back.
void RandomPlayer::LoseFocus(TestedGame& game)
{
    const HWND window = game.Window().m_handle;
    PlatformTesting::InjectWindowEvent(window, PlatformTesting::WindowEvent::FocusLost);
    for (int frame = Uniform(0, 2); frame > 0; --frame)
        m_next.emplace_back([] {});
    m_next.emplace_back([window] { BringBack(window); });
}

void RandomPlayer::BringBack(HWND window)
{
    PlatformTesting::InjectWindowEvent(window, PlatformTesting::WindowEvent::Restored);
    PlatformTesting::InjectWindowEvent(window, PlatformTesting::WindowEvent::FocusGained);
}

int RandomPlayer::Uniform(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

} // namespace GameTesting
