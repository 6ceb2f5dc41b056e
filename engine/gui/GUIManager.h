// The whole retained GUI: the GUI camera, the text, font, GUI sound and radio-group managers, one registry per
// widget kind and the default cursor. Widgets are made only by the factories here, which hand each the services
// it needs before the caller's arguments, and live until DeleteWindow (windows) or the manager's end.
//
// There is no focus and no event queue. Once a frame Update takes the mouse from the default cursor and the
// controls and hands the same position and button flags to every widget, kind after kind (windows, buttons,
// check boxes, radio buttons, edit boxes, sliders, scroll bars) and in slot order within a kind; nothing stops at
// the first hit, so overlapping widgets all see a click. A widget made while that pass runs waits for the next
// frame's pass, wherever its slot lies; one deleted during it moves no other widget out of the pass's way. Draw walks
// the kinds in the same order after the cursors, and ends the frame's texts last. What covers what on screen is decided
// by depth, not by this order.
#pragma once

#include "GUIButton.h"
#include "GUICheckBox.h"
#include "GUICursor.h"
#include "GUIEditBox.h"
#include "GUIFontManager.h"
#include "GUIRadioButton.h"
#include "GUIRadioGroupManager.h"
#include "GUIScroll.h"
#include "GUISlider.h"
#include "GUISoundManager.h"
#include "GUITextManager.h"
#include "GUIWindow.h"
#include "engine/foundation/ObjectManager.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace KeystrelEngine {

class CameraManager;
class Controls;
class FileManager;
class SoundManager;
class TimerManager;
class Window;

class GUIManager
{
public:
    static constexpr float kCameraNear = 500.0f;
    static constexpr float kCameraFar = -500.0f;

    // The sound manager is only handed on to the GUI sound manager.
    GUIManager(MessageManager* log, FileManager* files, Window* window, TimerManager* timers, CameraManager* cameras,
               ShaderManager* shaders, ModelManager* models, Controls* controls, SoundManager* sounds);
    // Deletes the four managers, gives the camera back, then deletes every widget still registered, kind by kind
    // from scroll bars back to cursors.
    virtual ~GUIManager();

    GUIManager(const GUIManager&) = delete;
    GUIManager& operator=(const GUIManager&) = delete;

    // The factories hand each widget its services, then the caller's arguments unchanged (the manager checks
    // none of them), and register it. Windows and buttons have one form per kind of quad: made for a shader
    // description, cloned from a model (none for null), or loaded from a model file.
    GUICursor* CreateCursor(const ShaderDescriptor& descriptor, float size);
    GUIWindow* CreateWindow(std::uint32_t flags, GUIPoint position, GUISize size, const ShaderDescriptor& descriptor,
                            GUIWindow* parent, float extentU, float extentV);
    GUIWindow* CreateWindow(std::uint32_t flags, GUIPoint position, GUISize size, const Model* source,
                            GUIWindow* parent);
    GUIWindow* CreateWindow(std::uint32_t flags, GUIPoint position, GUISize size, const std::string& modelName,
                            GUIWindow* parent);
    GUIButton* CreateButton(std::uint32_t flags, GUIPoint position, GUISize size, const ShaderDescriptor& descriptor,
                            GUIWindow* parent, float extentU, float extentV);
    GUIButton* CreateButton(std::uint32_t flags, GUIPoint position, GUISize size, const Model* source,
                            GUIWindow* parent);
    GUIButton* CreateButton(std::uint32_t flags, GUIPoint position, GUISize size, const std::string& modelName,
                            GUIWindow* parent);
    GUICheckBox* CreateCheckBox(GUIPoint position, GUISize size, const Model* source, GUIWindow* parent);
    GUIEditBox* CreateEditBox(std::uint32_t flags, GUIPoint position, GUISize size, const Model* source,
                              GUIWindow* parent, std::uint32_t fontId, const Color& textColour, GUIPoint textOffset,
                              std::int32_t maxLength, float maxTextWidth, float visibleWidth);
    GUIScroll* CreateScroll(GUIPoint position, GUISize size, const Model* source, GUIWindow* parent,
                            std::uint32_t vertical, GUIPoint trackStart, GUIPoint trackEnd);

    // Deletes a registered window; a window the registry does not hold is left alone.
    void DeleteWindow(GUIWindow* window);

    void Update();
    void Draw();

    Camera* m_camera; // orthographic, near 500, far -500; the game sets its width and height
    std::unique_ptr<GUITextManager> m_texts;
    std::unique_ptr<GUIFontManager> m_fonts;
    std::unique_ptr<GUISoundManager> m_guiSounds;
    std::unique_ptr<GUIRadioGroupManager> m_radioGroups;

    // The registries, in the order of the frame's passes. Nothing makes radio buttons or plain sliders.
    ObjectManager<GUICursor> m_cursors;
    ObjectManager<GUIWindow> m_windows;
    ObjectManager<GUIButton> m_buttons;
    ObjectManager<GUICheckBox> m_checkBoxes;
    ObjectManager<GUIRadioButton> m_radioButtons;
    ObjectManager<GUIEditBox> m_editBoxes;
    ObjectManager<GUISlider> m_sliders;
    ObjectManager<GUIScroll> m_scrolls;

    // Registered with the other cursors; its position is the mouse of every widget. Without a quad, not shown.
    GUICursor m_defaultCursor;

private:
    template <class T, class... Args> T* Make(ObjectManager<T>& registry, Args&&... args)
    {
        auto widget = std::make_unique<T>(std::forward<Args>(args)...);
        registry.Add(widget.get());
        T* made = widget.release(); // the registry's from here on
        if (m_updating)
            m_madeDuringUpdate.push_back(made);
        return made;
    }

    // Calls visit with each widget registry (all but the cursors') in the order of the frame's passes.
    template <class Visit> void ForEachWidgetRegistry(Visit visit)
    {
        visit(m_windows);
        visit(m_buttons);
        visit(m_checkBoxes);
        visit(m_radioButtons);
        visit(m_editBoxes);
        visit(m_sliders);
        visit(m_scrolls);
    }

    bool MadeDuringUpdate(const void* widget) const;

    MessageManager* m_log;
    Window* m_window;
    TimerManager* m_timers;
    CameraManager* m_cameras;
    ModelManager* m_models;
    Controls* m_controls;
    GUIServices m_widgetServices; // what every window-based widget is given first

    bool m_updating = false;
    std::vector<const void*> m_madeDuringUpdate; // widgets the running Update pass must leave out
};

} // namespace KeystrelEngine
