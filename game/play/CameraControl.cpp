#include "CameraControl.h"

#include "CameraFile.h"
#include "LevelManager.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/StringUtils.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/BoundingBox.h"
#include "engine/render/CameraManager.h"
#include "framework/GameCamera.h"

#include <algorithm>
#include <numbers>

namespace Wispfold {
namespace {

using KeystrelEngine::Matrix4;
using KeystrelEngine::Quaternion;
using KeystrelEngine::Vector3;

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kNear = 50.0f;
constexpr float kFar = 2000.0f;
constexpr float kTransitionRate = 0.45f; // of the whole flight per second
constexpr float kTypeRate = 2.0f;        // camera value per second
constexpr float kWheelStep = 0.15f;
constexpr float kScreenWidth = 800.0f; // the GUI's virtual screen
constexpr float kScreenHeight = 600.0f;
constexpr float kEdgeMargin = 8.0f; // GUI units from either side of the screen
constexpr float kEdgeBaseRate = 1.5f;
constexpr float kEdgeAcceleration = 1.8f;
constexpr float kEdgeMaxSpeed = 0.7f;
constexpr float kDragRate = 0.01f; // radians per unit of mouse movement
constexpr float kFlightLift = 75.0f;
constexpr float kFlightReach = 1.5f;      // times the oblique distance
constexpr float kFallbackMargin = 100.0f; // above the board's larger horizontal extent

} // namespace

CameraControl::CameraControl(KeystrelEngine::Engine& engine, const LevelRecord& level,
                             const KeystrelEngine::BoundingBox& boardBox)
    : m_log(engine.m_log.get()), m_timers(engine.m_timers.get()), m_config(engine.m_config.get()),
      m_gui(engine.m_gui.get()), m_controls(engine.m_controls.get()),
      m_cameraFile("data\\boards\\" + level.cameraName + ".ini"), m_centre(boardBox.m_centre),
      m_gameCamera(std::make_unique<GameTools::GameCamera>(m_log, m_timers, engine.m_cameras.get())),
      m_camera(m_gameCamera->GetCamera())
{
    m_camera->m_near = kNear;
    m_camera->m_far = kFar;
    ReadCameraFile(engine, boardBox);
    ReadStoredType();
    m_target = m_value;
    m_startTurn = kPi / 2.0f * static_cast<float>(KeystrelEngine::RandomNext() & 3u);
}

CameraControl::~CameraControl() = default;

// An unreadable file is logged and replaced by a view straight down from high enough to frame the board.
void CameraControl::ReadCameraFile(KeystrelEngine::Engine& engine, const KeystrelEngine::BoundingBox& boardBox)
{
    try {
        m_view = CameraFile::Read(*engine.m_files, *m_log, m_cameraFile);
    } catch (const KeystrelEngine::Error& error) {
        m_log->Error(error.GetText());
        const Vector3 size = boardBox.m_worldMax - boardBox.m_worldMin;
        m_view = CameraFile{};
        m_view.topHeight = std::max(size.x, size.y) + kFallbackMargin;
        m_view.obliqueHeight = m_view.topHeight;
    }
}

void CameraControl::ReadStoredType()
{
    const std::int32_t stored = KeystrelEngine::ToInt(m_config->GetValue("g_camera_type"));
    if (stored == kTypeTop || stored == kTypeOblique) {
        m_type = stored;
        m_value = stored == kTypeTop ? 0.0f : 1.0f;
        return;
    }
    m_type = kTypeFree;
    m_value = KeystrelEngine::ToFloat(m_config->GetValue("g_camera_value"));
}

void CameraControl::SetCameraType(std::int32_t type)
{
    m_type = type;
    m_config->SetValue("g_camera_type", type == kTypeTop ? "0" : "1");
}

void CameraControl::StartIntro()
{
    m_intro = true;
    m_end = false;
    m_transitionTimer = 0.0f;
}

void CameraControl::StartEnd()
{
    m_end = true;
    m_intro = false;
    m_transitionTimer = 0.0f;
}

void CameraControl::Update()
{
    const float dt = m_timers->m_frameTime;
    AdvanceTransition(dt);
    MoveValue(dt);
    m_value = std::clamp(m_value, 0.0f, 1.0f);
    const Shape shape = TransitionShape(m_value);
    TurnByInput(dt);
    PlaceEye(shape);
    PlaceBoard(shape);
}

void CameraControl::AdvanceTransition(float dt)
{
    if (!m_intro && !m_end)
        return;
    m_transitionTimer += kTransitionRate * dt;
    if (m_transitionTimer <= 1.0f)
        return;
    if (m_end)
        m_transitionTimer = 1.0f;
    else
        m_intro = false;
}

void CameraControl::MoveValue(float dt)
{
    if (m_type == kTypeTop || m_type == kTypeOblique) {
        m_value += m_type == kTypeTop ? -kTypeRate * dt : kTypeRate * dt;
        m_target = m_value;
    }
    const std::int32_t wheel = m_controls->m_wheel;
    if (wheel != 0) {
        m_type = kTypeFree;
        m_config->SetValue("g_camera_type", "2");
        m_target += wheel > 0 ? -kWheelStep : kWheelStep;
    }
    m_target = std::clamp(m_target, 0.0f, 1.0f);
    if (m_type != kTypeFree || m_value == m_target)
        return;
    m_value = m_value < m_target ? std::min(m_value + dt, m_target) : std::max(m_value - dt, m_target);
    m_config->SetValue("g_camera_value", KeystrelEngine::FormatFloat(m_value, 6));
}

CameraControl::Shape CameraControl::TransitionShape(float settled) const
{
    const float p = m_transitionTimer;
    if (m_intro)
        return {(1.0f - p) * 0.5f + p * settled, (1.0f - p) * kPi / 2.0f, (1.0f - p) * kFlightLift,
                m_view.obliqueDistance * kFlightReach * (1.0f - p)};
    if (m_end)
        return {p * 0.5f + (1.0f - p) * settled, -p * kPi / 2.0f, p * kFlightLift,
                m_view.obliqueDistance * kFlightReach * p};
    return {settled, 0.0f, 0.0f, 0.0f};
}

// The edge bands lie inside the screen: a pointer outside the window (one that left it over a band's border
// included) turns nothing.
void CameraControl::TurnByInput(float dt)
{
    const float x = m_gui->m_defaultCursor.m_x;
    const float y = m_gui->m_defaultCursor.m_y;
    const bool onScreen = x >= 0.0f && x < kScreenWidth && y >= 0.0f && y < kScreenHeight;
    float rate = 0.0f;
    if (onScreen && (x > kScreenWidth - kEdgeMargin || x < kEdgeMargin)) {
        m_edgeSpeed = std::min(m_edgeSpeed + kEdgeAcceleration * dt, kEdgeMaxSpeed);
        rate = x < kEdgeMargin ? -kEdgeBaseRate - m_edgeSpeed : kEdgeBaseRate + m_edgeSpeed;
    } else {
        m_edgeSpeed = 0.0f;
    }
    m_turnAngle += dt * rate;
    if (m_controls->IsKeyDown("MOUSE2"))
        m_turnAngle += m_controls->m_mouseDeltaX * kDragRate;
}

// The eye lies beside the centre along +x by the distance and above it by the blended height. A view of (nearly)
// zero length looks straight down.
void CameraControl::PlaceEye(const Shape& shape)
{
    const float v = shape.value;
    const Vector3 eye{m_centre.x + (m_view.obliqueDistance + shape.reach) * v, m_centre.y,
                      m_centre.z + (1.0f - v) * m_view.topHeight + v * m_view.obliqueHeight + shape.lift};
    Vector3 view = m_centre - eye;
    view = view.Length() <= KeystrelEngine::kTolerance ? Vector3{0.0f, 0.0f, -1.0f} : view.Normalized();
    const Vector3 level = Vector3{view.x, view.y, 0.0f}.Normalized();
    Quaternion orientation;
    orientation.RotateX(KeystrelEngine::Dot(level, view));
    orientation.RotateZ(kPi / 2.0f);
    orientation.Normalize();
    m_gameCamera->HoldPose(orientation, eye);
    m_gameCamera->Update();
}

void CameraControl::PlaceBoard(const Shape& shape)
{
    const float v = shape.value;
    Matrix4 toCentre;
    toCentre.MakeTranslation(-m_centre);
    Matrix4 shift;
    shift.MakeTranslation({(1.0f - v) * m_view.topShift + v * m_view.obliqueShift, 0.0f, 0.0f});
    const Matrix4 turn = Matrix4::RotationZ(-(m_startTurn + m_turnAngle + m_turnBias + shape.angle));
    m_camera->m_thirdMatrix = shift * turn * toCentre;
    m_camera->m_attached = !(m_camera->m_thirdMatrix.IsIdentity() && m_camera->m_secondMatrix.IsIdentity());
}

} // namespace Wispfold
