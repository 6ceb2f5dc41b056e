// A player who presses whatever comes to hand, from a seed: mouse moves, clicks (mostly on the buttons on show,
// so that the game gets on past its menus), double clicks, the wheel, ESCAPE, SPACE, P, ENTER, BACK, typed letters,
// Alt+Enter and short losses of the focus. Each frame it either goes on with what it started (a click is a press
// one frame and the release the next) or picks something new.
//
// In a running level it mostly plays: once the board has settled it swaps a pair, most of the time a possible move
// the board lists (the one that charges the most mana, or the least in a level it set out to lose as the level
// began), otherwise any cell with a neighbour; now and then it does anything else. Now and then, too, it goes
// through a round of the dialogs over the level: it opens one (ESCAPE, P, SPACE, the head-up display's menu or
// close button) and answers it so that the level goes on (RESUME, RETURN, NO, or EXIT and NO to its question), a
// few times over, each step after a moment's thought of a few frames, often while the last dialog still folds
// away.
//
// At random moments, kLongestRandomPlay / 2 to kLongestRandomPlay frames after the last, it takes the way back to
// the main menu: ESCAPE in a level, the buttons whose captions lead back (BACK, CANCEL, NO, OK, CONTINUE, RESUME,
// EXIT of the in-game menu, DONE, UPGRADE), a click on the upgrade scene and a letter where a name must be given,
// until the main menu stands; then random play goes on. A way back due while a level runs waits for the level's
// end: an impatient one until kLongestRandomPlay frames after the last way back at the latest, a patient one
// (half of them) until the level has run kLongestLevel frames, which the longest levels need to be won.
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
    static constexpr int kLongestRandomPlay = 2000; // frames between two ways back, at most, unless patient
    static constexpr int kLongestLevel = 5000;      // frames a patient way back lets a level run

    explicit RandomPlayer(std::uint32_t seed) : m_random(seed) { m_patient = Uniform(0, 1) == 0; }

    // Injects this frame's input into the game's window.
    void Act(TestedGame& game);
    // A new game: nothing is held and nothing waits.
    void Forget();

    // The player goes on with the game it finds saved: the buttons onward until a level runs (or the first way
    // back is due), whose end the first way back waits for.
    void GoOnFirst();
    // The way back begins now.
    void TakeWayBack() { m_wayBackFrom = m_frame; }
    // Frames since the way back began; 0 while the player plays at random.
    int GetWayBackFrames() const { return m_wayBackFrom < 0 ? 0 : m_frame - m_wayBackFrom; }
    // Ways back that reached the main menu.
    int GetWaysBack() const { return m_waysBack; }

private:
    void PickAction(TestedGame& game);
    // A step of a round of dialogs over the running level, or a moment's thought; false outside a round.
    bool PlayDialogs(TestedGame& game);
    void OpenDialog(TestedGame& game);
    // A move when the running level's board has settled, or nothing; false outside a running level and now and
    // then inside it, when the frame is left to PickAction.
    bool PlayLevel(TestedGame& game);
    void PlayMove(TestedGame& game, const Wispfold::GameLogic& level);
    void GoOn(TestedGame& game);
    bool WayBackDue(const TestedGame& game) const;
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
    int m_wayBackAt = kLongestRandomPlay / 2; // the next way back is due from then on
    int m_levelFrom = -1;                     // the frame the running level began; -1 without one
    bool m_patient = false;                   // the next way back lets a running level run to its end
    bool m_goingOn = false;                   // on the way into the saved game's level
    int m_wayBackFrom = -1;                   // the frame the way back began; -1 during random play
    int m_waysBack = 0;
    int m_dialogAnswers = 0; // answers left in the round of dialogs over the running level
    bool m_aimed = false;    // the running level's aim is chosen
    TestSupport::BoardSolver::Aim m_aim = TestSupport::BoardSolver::Aim::Win;
};

} // namespace GameTesting
