// The level camera over the board. The view blends between the top view (camera value 0) and the oblique view
// (value 1): the type moves the value to either end, or, once the mouse wheel has been turned, the value follows
// a free target. The board turns about the vertical axis under the right mouse button and when the cursor
// pushes against the left or right screen edge. A level starts with an intro flight and a won level ends with
// a motion out; both only shape the view. Type and value are kept in the saved variables "g_camera_type" and
// "g_camera_value".
//
// The eye is placed relative to the board's centre c; the board itself is carried by the camera's attachment:
// translate by -c, turn about z, then shift along x. The camera file "data\boards\" + camera name + ".ini" holds
// five values: top height, top shift, oblique height, oblique shift, oblique distance.
#pragma once

#include "CameraFile.h"

#include "engine/render/Vector3.h"

#include <cstdint>
#include <memory>
#include <string>

namespace GameTools {
class GameCamera;
}

namespace KeystrelEngine {
class BoundingBox;
class Camera;
class Config;
class Controls;
class Engine;
class GUIManager;
class MessageManager;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

struct LevelRecord;

class CameraControl
{
public:
    static constexpr std::int32_t kTypeTop = 0;     // moving to the top view
    static constexpr std::int32_t kTypeOblique = 1; // moving to the oblique view
    static constexpr std::int32_t kTypeFree = 2;    // following the wheel's target

    // The board's box gives the point looked at (its centre) and, when the camera file cannot be read, the height
    // of a view from above that frames it.
    CameraControl(KeystrelEngine::Engine& engine, const LevelRecord& level,
                  const KeystrelEngine::BoundingBox& boardBox);
    virtual ~CameraControl();

    CameraControl(const CameraControl&) = delete;
    CameraControl& operator=(const CameraControl&) = delete;

    void Update();

    // Stores the type and writes "0" (top) or "1" (anything else) into "g_camera_type".
    void SetCameraType(std::int32_t type);
    std::int32_t GetCameraType() const { return m_type; }
    void StartIntro();
    // The won level's motion out; it holds at its end.
    void StartEnd();
    bool IsEnding() const { return m_end; }
    // An extra turn of the board (radians), used while the tutorial shows the turning.
    void SetTurnBias(float bias) { m_turnBias = bias; }
    float GetTurnBias() const { return m_turnBias; }

    float GetValue() const { return m_value; }
    float GetTarget() const { return m_target; }
    float GetTurnAngle() const { return m_turnAngle; }
    float GetStartTurn() const { return m_startTurn; }
    float GetTransitionTimer() const { return m_transitionTimer; }
    const KeystrelEngine::Vector3& GetCentre() const { return m_centre; }

private:
    // This frame's view: blend value, extra turn, extra height and extra distance.
    struct Shape
    {
        float value = 0.0f;
        float angle = 0.0f;
        float lift = 0.0f;
        float reach = 0.0f;
    };

    void ReadCameraFile(KeystrelEngine::Engine& engine, const KeystrelEngine::BoundingBox& boardBox);
    void ReadStoredType();
    void AdvanceTransition(float dt);
    void MoveValue(float dt);
    Shape TransitionShape(float settled) const;
    void TurnByInput(float dt);
    void PlaceEye(const Shape& shape);
    void PlaceBoard(const Shape& shape);

    KeystrelEngine::MessageManager* m_log;
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::Config* m_config;
    KeystrelEngine::GUIManager* m_gui;
    KeystrelEngine::Controls* m_controls;
    std::string m_cameraFile;
    KeystrelEngine::Vector3 m_centre;
    std::unique_ptr<GameTools::GameCamera> m_gameCamera;
    KeystrelEngine::Camera* m_camera;

    CameraFile m_view; // the camera file's five values

    float m_turnAngle = 0.0f;
    float m_edgeSpeed = 0.0f;
    std::int32_t m_type = kTypeOblique;
    float m_value = 1.0f;
    float m_target = 1.0f;
    float m_startTurn = 0.0f;
    float m_turnBias = 0.0f;
    bool m_intro = false;
    bool m_end = false;
    float m_transitionTimer = 0.0f;
};

} // namespace Wispfold
