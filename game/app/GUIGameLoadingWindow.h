// Loads the game's shared data once, while the first picture (the logo) shows: on the first update after a frame
// has been presented the load runs on the loading worker, the window showing that picture meanwhile. When the menu
// background has typed "LOADING" and waits for the data, the cursor gets its sparks, the background its stage
// themes, and the window reports RequestDone. Afterwards it reports nothing.
#pragma once

#include "framework/GUILoadingWindowBase.h"

namespace KeystrelEngine {
class Engine;
}

namespace Wispfold {

class GUIBackgroundWindow;
class GUIGameCursor;

class GUIGameLoadingWindow : public GameFramework::GUILoadingWindowBase
{
public:
    GUIGameLoadingWindow(KeystrelEngine::Engine* engine, GUIBackgroundWindow* background, GUIGameCursor* cursor);
    ~GUIGameLoadingWindow() override;

    // Throws what the load throws (the failing file's error), and Error when the keeper opened is not the
    // game's shared data.
    void Update() override;

private:
    // Runs the load unless it has run; false until a frame has been presented since the window was opened.
    bool Load();

    GUIBackgroundWindow* m_background; // not owned
    GUIGameCursor* m_cursor;           // not owned
    int m_openUpdates = 0;             // updates since the keeper was given
    bool m_loaded = false;
};

} // namespace Wispfold
