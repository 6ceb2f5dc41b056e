// One control of a menu: a 3D model that unfolds when its window appears and folds when it goes, coupled with
// the engine widget the player uses (a button, a check box, a scroll, an edit box, or the model shown as a
// window). The widget waits, hidden, until the unfold has ended, and goes before the fold starts.
//
// Placement of the menu models: they are made in virtual-screen units (800 x 600, y up, z 0), so a window at
// (0, 0) with scale 1 shows a model where its vertices lie. A model's position is the minimum corner (x, y) of its
// box, its size twice the box's half extents; an unfolding model is measured open, in its last frame. A
// control's own model stands at its final place, so the widget drawn from it stays at (0, 0). A shared base model
// (the button, check-box and scroll models of "controls") stands with its selection-area and text-area models
// once at a reference place, and each control shows them shifted by its own model's position minus the base
// model's position: the unfolding model window, the hit area, the text area and a scroll (drawn from the base's
// track) all land on the control's own model. Without a selection-area or text-area model the own model's
// rectangle serves, so that whatever the player clicks or reads lies on what is drawn.
#pragma once

#include "engine/gui/GUIWindow.h"
#include "engine/render/Color.h"

#include <cstdint>

namespace KeystrelEngine {
class AnimationControl;
class Engine;
class GUIButton;
class GUICheckBox;
class GUIEditBox;
class GUIManager;
class GUIScroll;
class Model;
} // namespace KeystrelEngine

namespace Wispfold {

class GameData;

enum class ControlKind : std::int32_t
{
    ModelWindow = 0, // the model shown as a window, no input
    Button = 1,
    HorizontalScroll = 2, // the volume sliders
    VerticalScroll = 3,   // the profile list
    CheckBox = 4,
    EditBox = 5,
};

class GUIControl
{
public:
    static constexpr std::uint32_t kUnfold = 0; // animation ids of the model window
    static constexpr std::uint32_t kFold = 1;
    static constexpr float kAnimationRate = 32.0f; // frames per second
    static constexpr float kVisibleAlpha = 0.0001f;
    // The edit box prints and measures in the captions' font.
    static constexpr std::uint32_t kEditFont = 1;
    static constexpr std::int32_t kEditMaxLength = 20;
    static constexpr float kEditVisibleWidth = 300.0f;
    static constexpr KeystrelEngine::GUIPoint kEditTextInset{28.0f, 4.0f};

    // The selection-area and text-area models may be null. Widgets are made through the engine's GUI manager
    // under the parent.
    GUIControl(KeystrelEngine::Engine* engine, const KeystrelEngine::Model* model,
               const KeystrelEngine::Model* baseModel, const KeystrelEngine::Model* selectionArea,
               const KeystrelEngine::Model* textArea, KeystrelEngine::GUIWindow* parent, const GameData* data,
               ControlKind kind);
    // Hides the widget and gives the control's plain windows back to the GUI manager; the other widgets stay
    // with it until its end.
    virtual ~GUIControl();

    GUIControl(const GUIControl&) = delete;
    GUIControl& operator=(const GUIControl&) = delete;

    // Shows the model window and unfolds it from frame 0; a control that follows the area shows its widget too.
    void Appear();
    // Hides the widget (unless it follows the area), shows the model window and folds it from frame 0.
    void Disappear();
    // Once per frame: shows and places the widget when the unfold has ended, hides the model window (and a
    // widget that follows it) when the fold has ended, and gives the widget the colour. Without a model window the
    // widget shows while the colour's alpha is above kVisibleAlpha.
    void Update();
    // Whether the model window is unfolding.
    bool IsUnfolding() const;
    // The unfold's and fold's pace, kAnimationRate until set; nothing without a model window.
    void SetAnimationRate(float framesPerSecond);

    // The model's box, open (see the placement rule above).
    static KeystrelEngine::GUIPoint GetModelPosition(const KeystrelEngine::Model& model);
    static KeystrelEngine::GUISize GetModelExtent(const KeystrelEngine::Model& model);

    ControlKind GetKind() const { return m_kind; }
    // Null for scrolls and edit boxes and for a model of one animation frame.
    KeystrelEngine::GUIWindow* GetModelWindow() const { return m_modelWindow; }
    KeystrelEngine::GUIWindow* GetWidget() const { return m_widget; }
    // The typed widget, null for the other kinds: buttons and check boxes, scrolls, the edit box.
    KeystrelEngine::GUIButton* GetButton() const;
    KeystrelEngine::GUICheckBox* GetCheckBox() const;
    KeystrelEngine::GUIScroll* GetScroll() const;
    KeystrelEngine::GUIEditBox* GetEditBox() const;
    bool FollowsArea() const { return m_followArea; }

    KeystrelEngine::Color m_colour{1.0f, 1.0f, 1.0f, 1.0f}; // the window's, each frame

private:
    KeystrelEngine::GUIWindow* MakeWidget(const KeystrelEngine::Model& model, const KeystrelEngine::Model& baseModel,
                                          KeystrelEngine::GUIWindow* parent, bool animated);
    KeystrelEngine::GUIWindow* MakeScroll(const KeystrelEngine::Model& model, const KeystrelEngine::Model& track,
                                          KeystrelEngine::GUIWindow* parent);
    KeystrelEngine::GUIWindow* MakeEditBox(const KeystrelEngine::Model& model, KeystrelEngine::GUIWindow* parent);
    // How wide a name may print so that the main menu's greeting with it still fits the title area.
    float EditTextWidth() const;
    const KeystrelEngine::Model& ControlModel(const char* name) const;
    void MakeModelWindow(const KeystrelEngine::Model& baseModel, KeystrelEngine::GUIWindow* parent);
    // The model window's last pose, before its first unfold.
    void ShowLastPose();
    // The widget's hit and text areas: a base's area models shifted onto the own model, or the own model itself.
    void SetAreas(const KeystrelEngine::Model& model, const KeystrelEngine::Model* selectionArea,
                  const KeystrelEngine::Model* textArea);
    KeystrelEngine::GUIRect AreaRect(const KeystrelEngine::Model& area, KeystrelEngine::GUIPoint shift) const;
    KeystrelEngine::AnimationControl& Animation() const;
    void Play(std::uint32_t animation);
    bool HasEnded(std::uint32_t animation) const;
    void PlaceWidget();

    KeystrelEngine::GUIManager* m_gui;
    const GameData* m_data;
    ControlKind m_kind;
    KeystrelEngine::GUIWindow* m_modelWindow = nullptr;
    KeystrelEngine::GUIWindow* m_widget = nullptr;
    // Own model's position minus the base model's: where the base's models are shown, and the model window's
    // position while the widget stands at its place.
    KeystrelEngine::GUIPoint m_widgetOffset;
    bool m_followArea = false;
};

} // namespace Wispfold
