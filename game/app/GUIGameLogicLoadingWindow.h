// Loads one level's data behind the menu background's typed "LOADING": while no menu frame is on screen the
// background types the text, and in the frame after the one in which it stands whole the load runs on the
// loading worker and the window reports RequestDone.
#pragma once

#include "framework/GUILoadingWindowBase.h"

namespace KeystrelEngine {
class Engine;
}

namespace Wispfold {

class GUIMenuWindowManager;

class GUIGameLogicLoadingWindow : public GameFramework::GUILoadingWindowBase
{
public:
    GUIGameLogicLoadingWindow(KeystrelEngine::Engine* engine, GUIMenuWindowManager* menus);
    ~GUIGameLogicLoadingWindow() override;

    // Throws what the load throws (the failing file's error).
    void Update() override;
    // The level's data (a GameLogicData) to load.
    void Open(GameFramework::DataKeeper* keeper) override;
    void Close() override;

    bool IsActive() const { return m_active; }

private:
    GUIMenuWindowManager* m_menus; // not owned; its background types the text
    bool m_active = false;
    bool m_textTyped = false;
};

} // namespace Wispfold
