// The name of a new profile. While no profile exists (the last one was deleted) the second button is EXIT and
// asks whether to quit; otherwise it is CANCEL and goes back to the list.
#pragma once

#include "framework/GUINewProfileWindowBase.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/MenuNameEntry.h"

namespace Wispfold {

class GUINewProfileWindow : public GameFramework::GUINewProfileWindowBase, public GUIMenuWindow
{
public:
    GUINewProfileWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                        GameFramework::ProfileManagerBase* profiles, const GameData* data,
                        GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // Non-zero clears the name; back from the name-conflict or the exit window the typed name stays.
    void Open(std::int32_t clear) override;
    void Close() override;

    const MenuNameEntry& GetEntry() const { return m_entry; }
    bool HasNoProfiles() const { return m_noProfiles; }

private:
    MenuNameEntry m_entry;
    bool m_noProfiles = false;
};

} // namespace Wispfold
