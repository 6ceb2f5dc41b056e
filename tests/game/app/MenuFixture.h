// What the tests of the menus share: the shared fixture with the shared data loaded, the fonts and the common and
// main-menu text tables of a language (English unless the test chooses another), a stand-in menu background whose
// panel a test moves by hand, the menu window manager with the screen free for a frame, and the two window sounds.
// Frames last 0.1 s.
#pragma once

#include "framework/GUITextPrinter.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/GUIMenuWindowManager.h"
#include "game/app/MenuBackground.h"
#include "tests/game/app/AppFixture.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace AppTesting {

// The background's panel as flags, and a printer on a window of the title area.
class StandInBackground : public Wispfold::MenuBackground
{
public:
    explicit StandInBackground(KeystrelEngine::Engine& engine);

    GameTools::GUITextPrinter& GetTextPrinter() override { return *printer; }
    PanelState GetPanelState() const override;
    void RequestPanel() override;
    void ClearPanelArrival() override { justArrived = false; }
    void ReleasePanel() override;
    bool IsPanelWindowVisible() const override { return windowVisible; }
    void UpdateStageTheme() override { ++stageThemeUpdates; }
    void ShowAll() override { ++showAlls; }
    void StartNewStageTheme() override { ++newStageThemes; }
    void ShowScene() override { ++showScenes; }
    bool IsFadeComplete() const override { return fadeComplete; }

    // What the background does in a frame once its scene is up: a requested panel arrives, a requested release
    // takes it away.
    void Step();

    KeystrelEngine::GUIWindow* titleArea;
    std::unique_ptr<GameTools::GUITextPrinter> printer;
    bool request = false;
    bool releaseRequest = false;
    bool present = false;
    bool justArrived = false;
    bool windowVisible = false;
    int requests = 0;
    int releases = 0;
    int stageThemeUpdates = 0;
    int showAlls = 0;
    int newStageThemes = 0;
    int showScenes = 0;
    bool fadeComplete = false;
};

// A control as a window builds it: its models below "ui\\menus\\models\\" without the extension (empty: none).
struct ControlSpec
{
    Wispfold::ControlKind kind;
    std::string model;
    std::string base;
    std::string selectionArea;
    std::string textArea;
};

// A frame with controls of one model set.
struct MenuSet
{
    std::string name;
    Wispfold::FrameKind frame;
    std::vector<ControlSpec> controls;
};

// Every menu model set with the models its windows give each control; the in-game window's buttons and panels
// stand over a big frame, clear of it.
const std::vector<MenuSet>& MenuSets();

class MenuFixture : public AppFixture
{
protected:
    static constexpr float kFrameTime = 0.1f;

    void SetUp() override;
    void TearDown() override;

    // A window under the shared child window, kept until the test ends.
    Wispfold::GUIMenuWindow& MakeWindow(Wispfold::FrameKind kind);
    // The set's frame with its controls.
    Wispfold::GUIMenuWindow& MakeWindow(const MenuSet& set);
    // One frame: the engine's update, the windows' updates in the order given, the background's, the engine's end
    // of frame.
    void Frame(std::initializer_list<Wispfold::GUIMenuWindow*> windows);
    // Frames until the condition holds after one, at most limit; returns how many ran.
    template <class Condition>
    int FramesUntil(Condition condition, std::initializer_list<Wispfold::GUIMenuWindow*> windows, int limit = 40)
    {
        for (int count = 1; count <= limit; ++count) {
            Frame(windows);
            if (condition())
                return count;
        }
        return limit + 1;
    }
    // How many times the sound id was played.
    int Plays(std::uint32_t soundId) const;

    // The language whose fonts and text tables SetUp loads; a test of another language sets it before.
    std::string language = "en";
    std::unique_ptr<Wispfold::GameData> data;
    std::unique_ptr<StandInBackground> background;
    std::unique_ptr<Wispfold::GUIMenuWindowManager> manager;
    std::vector<std::unique_ptr<Wispfold::GUIMenuWindow>> windows;
};

} // namespace AppTesting
