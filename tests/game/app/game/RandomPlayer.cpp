#include "tests/game/app/game/RandomPlayer.h"

#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "platform/testing.h"
#include "tests/game/app/game/GameFixture.h"

#include <SDL_mouse.h>

#include <array>
#include <string>
#include <vector>

namespace GameTesting {
namespace {

constexpr std::array kKeys = {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_SPACE, SDL_SCANCODE_P, SDL_SCANCODE_RETURN,
                              SDL_SCANCODE_BACKSPACE};

// The buttons a player could click now.
template <class Registry>
void CollectClickable(const Registry& registry, std::vector<const KeystrelEngine::GUIButton*>& buttons)
{
    for (const KeystrelEngine::GUIButton* button : registry.GetSlots()) {
        if (button && button->IsVisible() && button->IsEnabled())
            buttons.push_back(button);
    }
}

} // namespace

void RandomPlayer::Act(TestedGame& game)
{
    if (m_next.empty() && !game.Window().HasFocus()) {
        BringBack(game.Window().m_handle); // the window lost the focus on its own, say while switching modes
        return;
    }
    if (m_next.empty()) {
        PickAction(game);
        return;
    }
    const std::function<void()> step = std::move(m_next.front());
    m_next.pop_front();
    step();
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
        if (PointAtButton(game))
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
        Key(kKeys[static_cast<std::size_t>(Uniform(0, static_cast<int>(kKeys.size()) - 1))]);
    } else if (roll < 994) {
        Letter();
    } else if (roll < 997) {
        AltEnter();
    } else {
        LoseFocus(game);
    }
}

bool RandomPlayer::PointAtButton(TestedGame& game)
{
    const KeystrelEngine::GUIManager& gui = *game.GetEngine()->m_gui;
    std::vector<const KeystrelEngine::GUIButton*> buttons;
    CollectClickable(gui.m_buttons, buttons);
    CollectClickable(gui.m_checkBoxes, buttons);
    if (buttons.empty())
        return false;
    const KeystrelEngine::GUIButton& button =
        *buttons[static_cast<std::size_t>(Uniform(0, static_cast<int>(buttons.size()) - 1))];
    const KeystrelEngine::GUIPoint origin = button.GetAbsolutePosition();
    const KeystrelEngine::GUIRect area = button.m_hasHitArea
                                             ? button.m_hitArea
                                             : KeystrelEngine::GUIRect{0, 0, button.m_size.width, button.m_size.height};
    MoveTo(game, origin.x + area.x + area.width * 0.5f, origin.y + area.y + area.height * 0.5f);
    return true;
}

void RandomPlayer::PointAnywhere(TestedGame& game)
{
    const KeystrelEngine::Camera& screen = *game.GetEngine()->m_gui->m_camera;
    MoveTo(game, static_cast<float>(Uniform(0, static_cast<int>(screen.m_width) - 1)),
           static_cast<float>(Uniform(0, static_cast<int>(screen.m_height) - 1)));
}

// GUI units to the pixels of the window on the desktop (y down), which full screen stretches over the desktop.
void RandomPlayer::MoveTo(TestedGame& game, float x, float y)
{
    const HWND window = game.Window().m_handle;
    const PlatformTesting::WindowState shown = PlatformTesting::GetWindowState(window);
    const KeystrelEngine::Camera& screen = *game.GetEngine()->m_gui->m_camera;
    const auto pixels = [&](float gx, float gy) {
        return std::array{static_cast<int>(gx / screen.m_width * static_cast<float>(shown.width)),
                          static_cast<int>((1.0f - gy / screen.m_height) * static_cast<float>(shown.height))};
    };
    const auto from = pixels(m_x, m_y);
    const auto to = pixels(x, y);
    PlatformTesting::InjectMouseMotion(window, to[0], to[1], to[0] - from[0], to[1] - from[1]);
    m_x = x;
    m_y = y;
}

// Presses now; releases, and presses and releases again for a double click, a frame each.
void RandomPlayer::Click(int count)
{
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
    m_next.emplace_back([] { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false); });
    for (int again = 1; again < count; ++again) {
        m_next.emplace_back([] { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true); });
        m_next.emplace_back([] { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false); });
    }
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
