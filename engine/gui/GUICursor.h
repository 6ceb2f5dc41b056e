// The GUI's drawn mouse pointer: the system cursor in GUI coordinates (y up, 0 on the bottom client row), and a
// small quad whose top-left corner, the hot spot, follows it. The default cursor of the GUI has no quad: it only
// gives the widgets the position of the mouse.
#pragma once

#include "RegisteredModel.h"

namespace KeystrelEngine {

class Camera;
class Controls;
class MessageManager;
class ShaderDescriptor;
class Window;

class GUICursor
{
public:
    static constexpr float kDepth = -30.1f;

    // A quad of size x size hanging right and down from the hot spot, drawn with the description.
    GUICursor(MessageManager* log, Window* window, ModelManager* models, Controls* controls, Camera* camera,
              const ShaderDescriptor& descriptor, float size);
    // Without a quad.
    GUICursor(MessageManager* log, Window* window, ModelManager* models, Controls* controls, Camera* camera);
    // Gives the quad back to the model manager.
    virtual ~GUICursor() = default;

    GUICursor(const GUICursor&) = delete;
    GUICursor& operator=(const GUICursor&) = delete;

    // Reads the system cursor and maps the window's client area onto the GUI camera's virtual screen. An empty
    // client area (a minimised window) keeps the last position.
    void Update();
    // Puts the quad on the position and shows it while the cursor is visible.
    void Draw();

    Model* GetQuad() const { return m_quad.get(); }

    bool m_visible = false;
    float m_x = 0.0f;
    float m_y = 0.0f;

private:
    Window* m_window;
    Camera* m_camera;
    RegisteredModel m_quad;
};

} // namespace KeystrelEngine
