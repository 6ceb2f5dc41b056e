#include "GUICursor.h"

#include "GUIQuad.h"
#include "engine/foundation/Window.h"
#include "engine/render/Camera.h"
#include "engine/render/Matrix4.h"

namespace KeystrelEngine {

namespace {

// Positions, normals and one texture pair, static, drawn last at a fixed depth, shown, the box following the
// vertices.
constexpr std::uint32_t kCursorQuadFlags = 0x48C11;

} // namespace

GUICursor::GUICursor(MessageManager* /*log*/, Window* window, ModelManager* models, Controls* /*controls*/,
                     Camera* camera)
    : m_window(window), m_camera(camera), m_quad(nullptr, RegisteredModelRelease{models})
{
}

GUICursor::GUICursor(MessageManager* log, Window* window, ModelManager* models, Controls* controls, Camera* camera,
                     const ShaderDescriptor& descriptor, float size)
    : GUICursor(log, window, models, controls, camera)
{
    m_quad.reset(MakeGUIQuad(*models, camera, kCursorQuadFlags, descriptor,
                             {{{size, -size, 1, 0}, {size, 0, 1, 1}, {0, -size, 0, 0}, {0, 0, 0, 1}}}));
    m_quad->SetSortDepth(kDepth);
    m_quad->m_baseMatrix = m_quad->GetOwnWorldMatrix();
}

void GUICursor::Update()
{
    const std::int32_t width = m_window->m_width;
    const std::int32_t height = m_window->m_height;
    POINT cursor;
    if (width <= 0 || height <= 0 || !GetCursorPos(&cursor) || !ScreenToClient(m_window->m_handle, &cursor))
        return;
    m_x = static_cast<float>(cursor.x) / static_cast<float>(width) * m_camera->m_width;
    m_y = static_cast<float>(height - cursor.y - 1) / static_cast<float>(height) * m_camera->m_height;
}

void GUICursor::Draw()
{
    if (!m_quad)
        return;
    Matrix4 placement;
    placement.MakeTranslation({m_x, m_y, 0.0f});
    m_quad->ResetWorldMatrix();
    m_quad->MultiplyWorldMatrix(placement);
    if (m_visible)
        m_quad->m_flags |= Model::kShown;
    else
        m_quad->m_flags &= ~Model::kShown;
}

} // namespace KeystrelEngine
