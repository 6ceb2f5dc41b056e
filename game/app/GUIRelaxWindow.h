// The relax offer after a game over: the text of the offer and YES and NO. YES turns the current profile's relax
// mode on and saves it; either answer goes back to the main menu. The game holds the window itself and reads its
// result after each frame.
#pragma once

#include "game/app/GUIMenuWindow.h"

#include <cstdint>

namespace GameFramework {
class ProfileManagerBase;
}

namespace Wispfold {

class GUIRelaxWindow : public GUIMenuWindow
{
public:
    GUIRelaxWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                   GameFramework::ProfileManagerBase* profiles, const GameData* data, GUIMenuWindowManager* manager,
                   KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // Reads the number of lines of the offer.
    virtual void Open();
    virtual void Close();

    GUIControl* GetYesButton() const { return m_yes; }
    GUIControl* GetNoButton() const { return m_no; }
    std::int32_t GetLineCount() const { return m_lineCount; }

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

private:
    void AcceptRelaxMode();
    void AddLines();

    GameFramework::ProfileManagerBase* m_profiles;
    std::int32_t m_lineCount = 0;
    GUIControl* m_yes;
    GUIControl* m_no;
};

} // namespace Wispfold
