// The level map shown before a level starts: one marker per level of the map file, in the start_game frame with
// a back and a start button. Opening selects the profile's current level, limited to its best; the markers up
// to the best level show, those before the selected one as passed. The player selects a reached level by
// clicking its marker and starts it with the start button or a double click on the marker. Beyond the best
// level the preview of the way ahead fades the next markers in one after another and out again, up to the next
// check point or the finish, over and over while the map is open.
//
// A marker whose level the catalogue lacks stays hidden and can never be selected, so that a map and a catalogue
// that disagree cannot send the player to a level that does not exist.
#pragma once

#include "framework/GUIDoubleClickDetecter.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "game/app/GUIMapElement.h"
#include "game/app/GUIMenuWindow.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace GameFramework {
class LevelManagerBase;
class ProfileBase;
class ProfileManagerBase;
} // namespace GameFramework

namespace Wispfold {

class GUIStartGameLogicWindow : public GameFramework::GUIStartGameLogicWindowBase, public GUIMenuWindow
{
public:
    // Open modes with a meaning here.
    static constexpr std::int32_t kStartAtOnce = 6;
    static constexpr std::int32_t kAfterLevel = 7;
    static constexpr std::int32_t kAfterStage = 8;
    static constexpr float kPreviewStep = 0.15f;     // seconds between one marker of the way ahead and the next
    static constexpr float kPreviewFade = 0.3f;      // seconds a marker takes to fade in or out
    static constexpr float kPreviewHideDelay = 0.6f; // the fade out starts this long after the fade in
    static constexpr float kPreviewRestart = 1.0f;   // after the last marker has faded out, the preview restarts

    // Reads the map file (its FileError passes on) and makes one marker per record under the frame, so that the
    // markers show only with it. The catalogue and the profile manager must outlive the window.
    GUIStartGameLogicWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                            GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent,
                            GameFramework::ProfileManagerBase* profiles,
                            const GameFramework::LevelManagerBase* catalogue);
    ~GUIStartGameLogicWindow() override;

    void Update() override;
    // Mode kStartAtOnce with the profile's continue flag set opens nothing: the next Update asks for the start.
    void Open(std::int32_t mode) override;
    void Close() override;

    // Selects the level, limited to the profile's best, makes it the profile's current level and saves the profile.
    void Select(GameFramework::LevelId level);

    const std::vector<std::unique_ptr<GUIMapElement>>& GetElements() const { return m_elements; }
    GUIControl* GetBackControl() const { return m_back; }
    GUIControl* GetStartControl() const { return m_start; }
    bool IsPreviewRunning() const { return m_previewRunning; }
    float GetPreviewClock() const { return m_previewClock; }

private:
    void MakeElements();
    GameFramework::ProfileBase* Profile() const;
    bool IsCatalogueLevel(GameFramework::LevelId level) const;
    void ReactToButtons();
    void AddCaptions();
    void UpdateHover();
    bool IsDoubleClicked(const GUIMapElement& element) const;
    // First and end index of the markers.
    using WayAheadRange = std::pair<std::size_t, std::size_t>;

    void UpdatePreview();
    // The markers after the best level's, up to and including the first that is not a path marker.
    WayAheadRange WayAhead() const;
    // Visits the way ahead from age t on, t falling by kPreviewStep a marker; returns t past the last marker.
    float PreviewPass(WayAheadRange way, float t, bool showing) const;

    GameFramework::ProfileManagerBase* m_profiles;
    const GameFramework::LevelManagerBase* m_catalogue;
    GUIControl* m_back;
    GUIControl* m_start;
    GameTools::GUIDoubleClickDetecter m_detecter;
    std::vector<std::unique_ptr<GUIMapElement>> m_elements;
    std::vector<bool> m_inCatalogue; // by element
    bool m_previewRunning = false;
    float m_previewClock = 0.0f; // seconds
};

} // namespace Wispfold
