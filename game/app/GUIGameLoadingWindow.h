// Loads the game's shared data once, behind the menu background's "LOADING": when the background has typed it
// and waits for the data, the load runs on the loading worker; then the cursor gets its sparks, the background
// its stage themes, and the window reports RequestDone. Afterwards it reports nothing.
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
    GUIBackgroundWindow* m_background; // not owned
    GUIGameCursor* m_cursor;           // not owned
};

} // namespace Wispfold
