// A player who presses whatever comes to hand, from a seed: mouse moves, clicks (mostly on the buttons on show,
// so that the game gets on past its menus), double clicks, the wheel, ESCAPE, SPACE, P, ENTER, BACK, typed letters,
// Alt+Enter and short losses of the focus. Each frame it either goes on with what it started (a click is a press
// one frame and the release the next) or picks something new.
#pragma once

#include "platform/win32/Win32.h"

#include <SDL_scancode.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <random>

namespace GameTesting {

class TestedGame;

class RandomPlayer
{
public:
    explicit RandomPlayer(std::uint32_t seed) : m_random(seed) {}

    // Injects this frame's input into the game's window.
    void Act(TestedGame& game);
    // A new game: nothing is held and nothing waits.
    void Forget();

private:
    void PickAction(TestedGame& game);
    // Moves to a random visible, enabled button (a random point when none is on show); false without one.
    bool PointAtButton(TestedGame& game);
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

    std::mt19937 m_random;
    std::deque<std::function<void()>> m_next; // a step a frame of what was started
    float m_x = 400.0f;
    float m_y = 300.0f;
};

} // namespace GameTesting
