// The question whether to delete a profile, naming it in quotes. YES deletes it with its files; once the last
// profile has gone the game asks for a new one.
#pragma once

#include "framework/GUIDeleteProfileWindowBase.h"
#include "game/app/GUIMenuWindow.h"

#include <array>
#include <string>

namespace GameFramework {
class ProfileManagerBase;
}

namespace Wispfold {

class GUIDeleteProfileWindow : public GameFramework::GUIDeleteProfileWindowBase, public GUIMenuWindow
{
public:
    static constexpr std::int32_t kLineCount = 3;
    static constexpr const char16_t* kNamePlaceholder = u"%PROFILE_NAME%";

    GUIDeleteProfileWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                           GameFramework::ProfileManagerBase* profiles, const GameData* data,
                           GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // Keeps the name and words the question with it.
    void Open(const std::u16string& name) override;
    void Close() override;

    GUIControl* GetYesButton() const { return m_yes; }
    GUIControl* GetNoButton() const { return m_no; }

private:
    void ReadButtons();
    void AddTexts();
    // The line with the name at its placeholders.
    std::u16string WordLine(std::u16string line, const std::u16string& name) const;

    GameFramework::ProfileManagerBase* m_profiles;
    GUIControl* m_yes;
    GUIControl* m_no;
    std::array<std::u16string, kLineCount> m_lines; // worded at Open
};

} // namespace Wispfold
