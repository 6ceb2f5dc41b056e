// One marker of the level map: the map model of its kind, placed by its record's matrix in virtual-screen units
// (the menu models' units), its shadow two units right and down on the shadow frame, and a button without text
// over the marker's extent, which the map's double-click detector watches. A state shows as the model's frame:
// an animation frame when the model has more than one, else a material frame. A path marker can show the
// alternate path model, the one with a check point, while it stands for the selected level.
#pragma once

#include "engine/render/Color.h"
#include "game/app/MapFile.h"

#include <cstdint>

namespace GameTools {
class GUIDoubleClickDetecter;
}

namespace KeystrelEngine {
class Engine;
class GUIButton;
class GUIManager;
class GUIWindow;
class Model;
} // namespace KeystrelEngine

namespace Wispfold {

class GameData;

class GUIMapElement
{
public:
    enum State : std::int32_t
    {
        Reachable = 0,
        Passed = 1,
        Highlighted = 2,
        Selected = 3,
        Ahead = 4, // shown by the preview of the way ahead, not selectable
    };
    static constexpr std::uint32_t kShadowFrame = 5;
    static constexpr float kShadowShift = 2.0f; // right and down
    static constexpr std::int32_t kMarkerLayer = 2;
    static constexpr std::int32_t kShadowLayer = 1;

    // Made hidden under the parent, in state Reachable.
    GUIMapElement(KeystrelEngine::Engine* engine, const GameData* data, GameTools::GUIDoubleClickDetecter* detecter,
                  KeystrelEngine::GUIWindow* parent, const MapElementRecord& record);
    // Gives the windows back to the GUI manager; the detector forgets the button.
    virtual ~GUIMapElement();

    GUIMapElement(const GUIMapElement&) = delete;
    GUIMapElement& operator=(const GUIMapElement&) = delete;

    // Shows or hides marker, shadow and button; showing also clears the disabled flag and enables the button.
    void SetVisible(bool visible);
    // The button stops taking clicks and the marker no longer reacts to the mouse.
    void Disable();
    // An allowed element under the mouse that is not disabled shows the highlighted frame and becomes hovered;
    // any other shows its state's frame. A selected or ahead element is left alone.
    void UpdateHover(bool allowed);
    // A path marker shows the alternate model instead of its own; other kinds keep theirs.
    void SetAlternateModel(bool alternate);
    // Shows the state's frame; the ahead state disables the button.
    void SetState(State state);
    // The marker's own colour (the way ahead's preview fades it), drawn with the alpha of the map's fade.
    void SetColour(const KeystrelEngine::Color& colour);
    // The map's fade: marker and shadow fade with the window they stand on.
    void SetWindowAlpha(float alpha);

    MapElementKind GetKind() const { return m_kind; }
    GameFramework::LevelId GetLevel() const { return m_level; }
    State GetState() const { return m_state; }
    bool IsVisible() const { return m_visible; }
    bool IsHovered() const { return m_hovered; }
    bool IsDisabled() const { return m_disabled; }
    bool HasAlternateModel() const { return m_alternate; }
    // The marker window drawn now: the alternate one while it is shown.
    KeystrelEngine::GUIWindow* GetMarker() const;
    KeystrelEngine::GUIWindow* GetShadow() const { return m_shadow; }
    KeystrelEngine::GUIButton* GetButton() const { return m_button; }
    const KeystrelEngine::Matrix4& GetMatrix() const { return m_matrix; }

private:
    KeystrelEngine::GUIWindow* MakeMarker(const KeystrelEngine::Model& model, const KeystrelEngine::Matrix4& matrix,
                                          std::int32_t layer, KeystrelEngine::GUIWindow* parent);
    void MakeButton(const KeystrelEngine::Model& model, KeystrelEngine::GUIWindow* parent);
    // The frame on the marker drawn now.
    void ShowFrame(std::uint32_t frame);
    void ShowMarker();
    void ApplyColour();

    KeystrelEngine::GUIManager* m_gui;
    GameTools::GUIDoubleClickDetecter* m_detecter;
    KeystrelEngine::GUIWindow* m_marker = nullptr;
    KeystrelEngine::GUIWindow* m_alternateMarker = nullptr; // path markers only
    KeystrelEngine::GUIWindow* m_shadow = nullptr;
    KeystrelEngine::GUIButton* m_button = nullptr;
    KeystrelEngine::Matrix4 m_matrix;
    MapElementKind m_kind;
    GameFramework::LevelId m_level;
    KeystrelEngine::Color m_colour{1.0f, 1.0f, 1.0f, 1.0f};
    float m_windowAlpha = 1.0f;
    State m_state = Reachable;
    bool m_visible = false;
    bool m_hovered = false;
    bool m_disabled = false;
    bool m_alternate = false;
};

} // namespace Wispfold
