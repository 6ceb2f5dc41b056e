// The first start: the player enters the first name, which becomes the first profile and the current one.
// EXIT asks whether to quit.
#pragma once

#include "framework/GUIWelcomeWindowBase.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/MenuNameEntry.h"

namespace GameFramework {
class ProfileManagerBase;
}

namespace Wispfold {

class GUIWelcomeWindow : public GameFramework::GUIWelcomeWindowBase, public GUIMenuWindow
{
public:
    GUIWelcomeWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                     GameFramework::ProfileManagerBase* profiles, const GameData* data, GUIMenuWindowManager* manager,
                     KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // Starts with an empty name.
    void Open() override;
    void Close() override;

    const MenuNameEntry& GetEntry() const { return m_entry; }

private:
    GameFramework::ProfileManagerBase* m_profiles;
    MenuNameEntry m_entry;
};

} // namespace Wispfold
