// What the level map's tests share: the menu fixture with the map's texts, the generated catalogue, a current
// profile, and frames in which a test points at and clicks GUI windows before the map's update (the GUI's own
// hit test of the frame has run by then).
#pragma once

#include "game/app/GUIStartGameLogicWindow.h"
#include "game/play/LevelManager.h"
#include "tests/game/app/MenuFixture.h"

#include <functional>
#include <memory>

namespace AppTesting {

class MapWindowFixture : public MenuFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The map over the test's map file, under the shared child window.
    void MakeMap();
    void SetLevels(GameFramework::LevelId current, GameFramework::LevelId best);
    // One frame with the input before the map's update.
    void Step(const std::function<void()>& input = {});
    // Frames until the map's frame has faded in.
    void OpenFully(std::int32_t mode);
    // The mouse over the centre of the window's hit area, with the button held or not and going down or not.
    static void Point(KeystrelEngine::GUIWindow& window, bool held, bool wentDown);
    // A click completed on the window in one frame.
    void Click(KeystrelEngine::GUIWindow& window);
    // Press, release, press, release on the window, a frame each, through the mouse button the detector reads;
    // returns the map's result after the last.
    std::uint32_t DoubleClick(KeystrelEngine::GUIWindow& window);

    std::unique_ptr<Wispfold::LevelManager> catalogue;
    GameFramework::ProfileBase* profile = nullptr;
    std::unique_ptr<Wispfold::GUIStartGameLogicWindow> map;
};

} // namespace AppTesting
