#include "GUILogosWindow.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/ShaderDescriptor.h"
#include "framework/WindowRequest.h"

#include <algorithm>

namespace Wispfold {
namespace {

using KeystrelEngine::GUIWindow;

// Shown, with vertex colours for the fade, at depth -20.
constexpr std::uint32_t kLogoKind = GUIWindow::kShown | GUIWindow::kColouredQuad | GUIWindow::kLayer20;
// The picture's 800 x 600 part of its 1024 x 1024 texture.
constexpr float kExtentU = 0.78125f;
constexpr float kExtentV = 0.5859375f;
constexpr float kEpsilon = 0.0001f;

} // namespace

GUILogosWindow::GUILogosWindow(KeystrelEngine::Engine* engine) : GUILogosWindowBase(engine), m_gui(engine->m_gui.get())
{
    if (!engine->m_files->FileExists(kPicture))
        return;
    m_logo =
        m_gui->CreateWindow(kLogoKind, KeystrelEngine::GUIPoint{0.0f, 0.0f}, KeystrelEngine::GUISize{800.0f, 600.0f},
                            KeystrelEngine::ShaderDescriptor::FromTextureSingleFrame(
                                "ui\\menus\\textures\\publisher_logo_big.jpg", "32bit"),
                            nullptr, kExtentU, kExtentV);
}

GUILogosWindow::~GUILogosWindow()
{
    DeleteLogo();
}

void GUILogosWindow::DeleteLogo()
{
    if (m_logo)
        m_gui->DeleteWindow(m_logo);
    m_logo = nullptr;
}

void GUILogosWindow::Open()
{
    m_active = true;
}

void GUILogosWindow::Close()
{
    m_active = false;
    DeleteLogo();
}

void GUILogosWindow::Update()
{
    GUILogosWindowBase::Update();
    if (!m_active)
        return;
    if (m_logo) {
        m_clock += m_timers->m_frameTime;
        const float alpha = 1.0f - std::clamp(m_clock - kWholeTime, 0.0f, kFadeTime);
        m_logo->SetColour({1.0f, 1.0f, 1.0f, alpha});
        if (alpha >= kEpsilon)
            return;
    }
    m_result = GameFramework::RequestDone;
}

} // namespace Wispfold
