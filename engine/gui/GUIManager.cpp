#include "GUIManager.h"

#include "engine/foundation/Controls.h"
#include "engine/render/CameraManager.h"

#include <algorithm>
#include <string>

namespace KeystrelEngine {
namespace {

const std::string kMouseButton = "MOUSE1";

// Visits the registered objects in slot order. The slots are walked by index, as a widget's update may make
// widgets and so grow the registry; one that deletes widgets leaves the packing of the slots to the walk's end.
template <class T, class Visit> void ForEachRegistered(ObjectManager<T>& registry, Visit visit)
{
    const typename ObjectManager<T>::Pass pass(registry);
    const std::vector<T*>& slots = registry.GetSlots();
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (slots[i])
            visit(slots[i]);
    }
}

Camera* CreateGUICamera(CameraManager* cameras)
{
    Camera* camera = cameras->CreateCamera(Camera::kOrthographic);
    camera->m_near = GUIManager::kCameraNear;
    camera->m_far = GUIManager::kCameraFar;
    return camera;
}

} // namespace

GUIManager::GUIManager(MessageManager* log, FileManager* files, Window* window, TimerManager* timers,
                       CameraManager* cameras, ShaderManager* shaders, ModelManager* models, Controls* controls,
                       SoundManager* sounds)
    : m_camera(CreateGUICamera(cameras)), m_texts(std::make_unique<GUITextManager>(log, files)),
      m_fonts(std::make_unique<GUIFontManager>(log, files, shaders, models, m_camera)),
      m_guiSounds(std::make_unique<GUISoundManager>(timers, sounds)),
      m_radioGroups(std::make_unique<GUIRadioGroupManager>(log)),
      m_defaultCursor(log, window, models, controls, m_camera), m_log(log), m_window(window), m_timers(timers),
      m_cameras(cameras), m_models(models),
      m_controls(controls), m_widgetServices{log, shaders, models, m_camera, m_texts.get(), m_fonts.get()}
{
    m_cursors.Add(&m_defaultCursor);
}

GUIManager::~GUIManager()
{
    m_cursors.Remove(&m_defaultCursor);
    m_texts.reset();
    m_fonts.reset();
    m_guiSounds.reset();
    m_radioGroups.reset();
    m_cameras->DeleteCamera(m_camera);
}

GUICursor* GUIManager::CreateCursor(const ShaderDescriptor& descriptor, float size)
{
    return Make(m_cursors, m_log, m_window, m_models, m_controls, m_camera, descriptor, size);
}

GUIWindow* GUIManager::CreateWindow(std::uint32_t flags, GUIPoint position, GUISize size,
                                    const ShaderDescriptor& descriptor, GUIWindow* parent, float extentU, float extentV)
{
    return Make(m_windows, m_widgetServices, flags, position, size, descriptor, parent, extentU, extentV);
}

GUIWindow* GUIManager::CreateWindow(std::uint32_t flags, GUIPoint position, GUISize size, const Model* source,
                                    GUIWindow* parent)
{
    return Make(m_windows, m_widgetServices, flags, position, size, source, parent);
}

GUIWindow* GUIManager::CreateWindow(std::uint32_t flags, GUIPoint position, GUISize size, const std::string& modelName,
                                    GUIWindow* parent)
{
    return Make(m_windows, m_widgetServices, flags, position, size, modelName, parent);
}

GUIButton* GUIManager::CreateButton(std::uint32_t flags, GUIPoint position, GUISize size,
                                    const ShaderDescriptor& descriptor, GUIWindow* parent, float extentU, float extentV)
{
    return Make(m_buttons, m_widgetServices, m_guiSounds.get(), flags, position, size, descriptor, parent, extentU,
                extentV);
}

GUIButton* GUIManager::CreateButton(std::uint32_t flags, GUIPoint position, GUISize size, const Model* source,
                                    GUIWindow* parent)
{
    return Make(m_buttons, m_widgetServices, m_guiSounds.get(), flags, position, size, source, parent);
}

GUIButton* GUIManager::CreateButton(std::uint32_t flags, GUIPoint position, GUISize size, const std::string& modelName,
                                    GUIWindow* parent)
{
    return Make(m_buttons, m_widgetServices, m_guiSounds.get(), flags, position, size, modelName, parent);
}

GUICheckBox* GUIManager::CreateCheckBox(GUIPoint position, GUISize size, const Model* source, GUIWindow* parent)
{
    return Make(m_checkBoxes, m_widgetServices, m_guiSounds.get(), position, size, source, parent);
}

GUIEditBox* GUIManager::CreateEditBox(std::uint32_t flags, GUIPoint position, GUISize size, const Model* source,
                                      GUIWindow* parent, std::uint32_t fontId, const Color& textColour,
                                      GUIPoint textOffset, std::int32_t maxLength, float maxTextWidth,
                                      float visibleWidth)
{
    return Make(m_editBoxes, m_widgetServices, m_timers, m_controls, m_guiSounds.get(), flags, position, size, source,
                parent, fontId, textColour, textOffset, maxLength, maxTextWidth, visibleWidth);
}

GUIScroll* GUIManager::CreateScroll(GUIPoint position, GUISize size, const Model* source, GUIWindow* parent,
                                    std::uint32_t vertical, GUIPoint trackStart, GUIPoint trackEnd)
{
    return Make(m_scrolls, m_widgetServices, m_timers, m_guiSounds.get(), position, size, source, parent, vertical,
                trackStart, trackEnd);
}

void GUIManager::DeleteWindow(GUIWindow* window)
{
    if (m_windows.Remove(window))
        delete window;
}

void GUIManager::Update()
{
    ForEachRegistered(m_cursors, [](GUICursor* cursor) { cursor->Update(); });
    const float x = m_defaultCursor.m_x;
    const float y = m_defaultCursor.m_y;
    const bool held = m_controls->IsKeyDown(kMouseButton);
    const bool wentDown = m_controls->IsKeyPressed(kMouseButton);
    m_updating = true;
    ForEachWidgetRegistry([&](auto& registry) {
        ForEachRegistered(registry, [&](auto* widget) {
            if (!MadeDuringUpdate(widget))
                widget->Update(x, y, held, wentDown);
        });
    });
    m_updating = false;
    m_madeDuringUpdate.clear();
}

void GUIManager::Draw()
{
    ForEachRegistered(m_cursors, [](GUICursor* cursor) { cursor->Draw(); });
    ForEachWidgetRegistry([](auto& registry) { ForEachRegistered(registry, [](auto* widget) { widget->Draw(); }); });
    m_fonts->EndFrame();
}

bool GUIManager::MadeDuringUpdate(const void* widget) const
{
    return !m_madeDuringUpdate.empty() &&
           std::find(m_madeDuringUpdate.begin(), m_madeDuringUpdate.end(), widget) != m_madeDuringUpdate.end();
}

} // namespace KeystrelEngine
