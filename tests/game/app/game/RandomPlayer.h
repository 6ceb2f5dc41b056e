// A player who presses whatever comes to hand, from a seed: mouse moves, clicks (mostly on the buttons on show,
// so that the game gets on past its menus), double clicks, the wheel, ESCAPE, SPACE, P, ENTER, BACK, typed letters,
// Alt+Enter and short losses of the focus. Each frame it either goes on with what it started (a click is a press
// one frame and the release the next) or picks something new.
//
// In a running level it mostly plays: once the board has settled it swaps a pair, most of the time a possible move
// the board lists (the one that charges the most mana, or the least in a level it set out to lose as the level
// began), otherwise any cell with a neighbour; now and then it does anything else. At random moments, after
// kLongestRandomPlay / 2 frames once no level runs and after kLongestRandomPlay frames at the latest, it takes the
// way back to the main menu: ESCAPE in a level, the buttons whose captions lead back (BACK, CANCEL, NO, OK,
// CONTINUE, RESUME, EXIT of the in-game menu, DONE, UPGRADE), a click on the upgrade scene and a letter where a
// name must be given, until the main menu stands; then random play goes on.
#pragma once

#include "platform/win32/Win32.h"
#include "tests/game/play/support/BoardSolver.h"

#include <SDL_scancode.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <vector>

namespace KeystrelEngine {
class GUIButton;
}

namespace Wispfold {
class GameLogic;
}

namespace GameTesting {

class TestedGame;

class RandomPlayer
{
public:
    static constexpr int kLongestRandomPlay = 2000; // frames between two ways back, at most

    explicit RandomPlayer(std::uint32_t seed) : m_random(seed) {}

    // Injects this frame's input into the game's window.
    void Act(TestedGame& game);
    // A new game: nothing is held and nothing waits.
    void Forget();

    // The way back begins now.
    void TakeWayBack() { m_wayBackFrom = m_frame; }
    // Frames since the way back began; 0 while the player plays at random.
    int GetWayBackFrames() const { return m_wayBackFrom < 0 ? 0 : m_frame - m_wayBackFrom; }
    // Ways back that reached the main menu.
    int GetWaysBack() const { return m_waysBack; }

private:
    void PickAction(TestedGame& game);
    // A move when the running level's board has settled, or nothing; false outside a running level and now and
    // then inside it, when the frame is left to PickAction.
    bool PlayLevel(TestedGame& game);
    void PlayMove(TestedGame& game, const Wispfold::GameLogic& level);
    void GoBack(TestedGame& game);
    void FinishWayBack();
    // Moves to a random visible, enabled button, one of those wanted when asked; false without one.
    bool PointAtButton(TestedGame& game, const std::function<bool(const KeystrelEngine::GUIButton&)>& wanted = {});
    void PointAt(TestedGame& game, const KeystrelEngine::GUIButton& button);
    void PointAnywhere(TestedGame& game);
    void MoveTo(TestedGame& game, float x, float y); // GUI units, y up
    void Click(int count);
    void Key(SDL_Scancode key);
    void Letter();
    void AltEnter();
    void LoseFocus(TestedGame& game);
    // The player restores the window and gives it the focus.
    static void BringBack(HWND window);
    int Uniform(int low, int high); // both included
    template <class Items> auto& PickFrom(const Items& items)
    {
        return items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
    }

    std::mt19937 m_random;
    std::deque<std::function<void()>> m_next; // a step a frame of what was started
    std::vector<const KeystrelEngine::GUIButton*> m_buttons;
    float m_x = 400.0f;
    float m_y = 300.0f;
    int m_frame = 0;
    int m_randomPlayFrom = 0;                 // the frame random play began
    int m_wayBackAt = kLongestRandomPlay / 2; // the next way back begins once no level runs from then on
    int m_wayBackFrom = -1;                   // the frame the way back began; -1 during random play
    int m_waysBack = 0;
    bool m_aimed = false; // the running level's aim is chosen
    TestSupport::BoardSolver::Aim m_aim = TestSupport::BoardSolver::Aim::Win;
};

} // namespace GameTesting
