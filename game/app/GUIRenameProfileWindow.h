// The new name of the current profile, starting from its present one.
#pragma once

#include "framework/GUIRenameProfileWindowBase.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/MenuNameEntry.h"

namespace Wispfold {

class GUIRenameProfileWindow : public GameFramework::GUIRenameProfileWindowBase, public GUIMenuWindow
{
public:
    GUIRenameProfileWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                           GameFramework::ProfileManagerBase* profiles, const GameData* data,
                           GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // With the flag set the box shows the name; back from the name-conflict window the typed name stays.
    void Open(bool keepName, const std::u16string& name) override;
    void Close() override;

    const MenuNameEntry& GetEntry() const { return m_entry; }

private:
    MenuNameEntry m_entry;
};

} // namespace Wispfold
