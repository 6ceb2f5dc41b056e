// The won level's count-up: the stage's mana bar fills from where the stage stood before this level to where it
// stands now, then the level's energy bonus counts into the profile's score. CONTINUE completes both at once and
// leaves: after the last level of a stage toward the upgrade's scene (reported as kRequestUpgrade), otherwise
// back to the menu scene; the window reports once its frame has gone and the background's fade has ended. The
// profile is saved once the bonus has been counted in full, or, when the game ends before, as the window goes.
#pragma once

#include "framework/GUILevelCompleteWindowBase.h"
#include "framework/LevelManagerBase.h"
#include "game/app/GUIGameLogicProgress.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/LevelLeaving.h"

namespace GameFramework {
class ProfileManagerBase;
}

namespace Wispfold {

class LevelManager;

class GUILevelCompleteWindow : public GameFramework::GUILevelCompleteWindowBase, public GUIMenuWindow
{
public:
    static constexpr std::uint32_t kRequestUpgrade = 23;
    static constexpr std::uint32_t kScoreSound = 1;
    static constexpr std::uint32_t kManaSound = 2;
    static constexpr float kEnergyDelay = 0.5f; // seconds after the mana count
    static constexpr float kEnergyRate = 0.35f; // share of the bonus per second
    static constexpr float kEnergyLineY = 110.0f;

    GUILevelCompleteWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                           GameFramework::ProfileManagerBase* profiles, const LevelManager* catalogue,
                           const GameData* data, GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);
    ~GUILevelCompleteWindow() override;

    void Update() override;
    // Prepares the count-up of m_level, which must name a level of the catalogue.
    void Open() override;
    void Close() override;

    GUIControl* GetContinueButton() const { return m_continue; }
    const GUIGameLogicProgress& GetManaBar() const { return *m_mana; }
    std::uint32_t GetCountedMana() const;
    std::uint32_t GetCountedEnergy() const { return m_counted; }
    float GetEnergyTimer() const { return m_timer; }
    bool IsLastOfStage() const;

    // Set by the game before Open: the level just won, its energy bonus and whether the bonus is left out.
    GameFramework::LevelId m_level;
    std::uint32_t m_energyBonus = 0;
    bool m_noEnergyBonus = false;

private:
    float Ratio(std::uint32_t value) const;
    // The stage's pictures on their frames, and the pictures and the bar's fill faded with the window.
    void ShowPictures(std::uint32_t stage);
    void PressContinue();
    void UpdateMana();
    void StartEnergyCount();
    void UpdateEnergy();
    void CountEnergy();
    // Saves the profile when it holds energy counted since the last save.
    void SaveCount();
    void AddTexts();

    GameFramework::ProfileManagerBase* m_profiles;
    const LevelManager* m_catalogue;
    GUIControl* m_frameModel;
    GUIControl* m_picture;     // the stage's picture
    GUIControl* m_nextPicture; // fades out as the bar fills
    GUIControl* m_barFrame;
    GUIControl* m_continue;
    std::unique_ptr<GUIGameLogicProgress> m_mana;
    LevelLeaving m_leaving;
    std::uint32_t m_total = 0;
    std::uint32_t m_reached = 0;
    std::uint32_t m_value = 0;
    std::uint32_t m_start = 0;
    float m_timer = 0.0f;
    std::uint32_t m_counted = 0;
    std::uint32_t m_savedCount = 0; // of the counted energy, what the profile's file holds
};

} // namespace Wispfold
