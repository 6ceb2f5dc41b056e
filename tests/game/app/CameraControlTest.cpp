#include "game/play/CameraControl.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/StringUtils.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/BoundingBox.h"
#include "engine/render/CameraManager.h"
#include "game/play/LevelManager.h"
#include "platform/testing.h"
#include "tests/game/app/AppFixture.h"

#include <cmath>
#include <numbers>

namespace {

using KeystrelEngine::Vector3;
using Wispfold::CameraControl;

constexpr float kPi = std::numbers::pi_v<float>;

// Heights and distance of the test board's camera file: top height, top shift, oblique height, oblique shift,
// oblique distance.
constexpr float kTop = 300.0f;
constexpr float kOblique = 150.0f;
constexpr float kDistance = 170.0f;

class CameraControlTest : public AppTesting::AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        KeystrelEngine::Config& config = *engine->m_config;
        config.RegisterVariable("g_camera_type", "1", KeystrelEngine::Config::TypeInt, true, &m_type, false);
        config.RegisterVariable("g_camera_value", "1", KeystrelEngine::Config::TypeFloat, true, &m_value, false);
        m_level.cameraName = "test_camera";
        m_box.Set({-120.0f, -90.0f, -5.0f}, {120.0f, 90.0f, 5.0f}); // centred on the origin, as boards are
        WriteCamera("300\n0\n150\n0\n170\n");
        engine->m_gui->m_defaultCursor.m_x = 400.0f;
        engine->m_gui->m_defaultCursor.m_y = 300.0f;
    }

    void TearDown() override
    {
        engine->m_config->UnregisterVariable("g_camera_type");
        engine->m_config->UnregisterVariable("g_camera_value");
        AppFixture::TearDown();
    }

    static void WriteCamera(const std::string& text)
    {
        AppTesting::ReplaceDataFile("data\\boards\\test_camera.ini", text);
    }

    std::unique_ptr<CameraControl> Make(const std::string& type = "1", const std::string& value = "1")
    {
        engine->m_config->SetValue("g_camera_type", type);
        engine->m_config->SetValue("g_camera_value", value);
        return std::make_unique<CameraControl>(*engine, m_level, m_box);
    }

    void Frame(CameraControl& control, float dt, std::int32_t wheel = 0)
    {
        engine->m_timers->m_frameTime = dt;
        engine->m_controls->m_wheel = wheel;
        control.Update();
        engine->m_controls->m_wheel = 0;
    }

    KeystrelEngine::Camera& Camera() const { return *engine->m_cameras->GetDefaultCamera(); }

    // The board's turn as the camera carries it (the third matrix turns by minus the angle).
    float BoardTurn() const
    {
        const float* m = Camera().m_thirdMatrix.m;
        return -std::atan2(m[4], m[0]);
    }

    static void ExpectSameAngle(float got, float expected)
    {
        EXPECT_NEAR(std::cos(got), std::cos(expected), 1e-4);
        EXPECT_NEAR(std::sin(got), std::sin(expected), 1e-4);
    }

    std::string Value(const char* name) const { return engine->m_config->GetValue(name); }

    std::int32_t m_type = 1;
    float m_value = 1.0f;
    Wispfold::LevelRecord m_level;
    KeystrelEngine::BoundingBox m_box;
};

TEST_F(CameraControlTest, StartsFromTheStoredTypeAndValue)
{
    struct Case
    {
        const char* type;
        const char* value;
        std::int32_t expectedType;
        float expectedValue;
    };
    for (const Case& c :
         {Case{"0", "0.6", 0, 0.0f}, Case{"1", "0.6", 1, 1.0f}, Case{"2", "0.6", 2, 0.6f}, Case{"7", "0.25", 2, 0.25f},
          Case{"2", "much", 2, 0.0f}, Case{"2", "nan", 2, 0.0f}, Case{"2", "inf", 2, 0.0f}}) {
        SCOPED_TRACE(std::string(c.type) + " " + c.value);
        KeystrelEngine::RandomSeed = 77;
        const std::uint32_t draw = KeystrelEngine::RandomNext();
        const std::uint32_t afterOneDraw = KeystrelEngine::RandomSeed;
        KeystrelEngine::RandomSeed = 77;
        const auto control = Make(c.type, c.value);
        EXPECT_EQ(control->GetCameraType(), c.expectedType);
        EXPECT_FLOAT_EQ(control->GetValue(), c.expectedValue);
        EXPECT_FLOAT_EQ(control->GetTarget(), c.expectedValue);
        EXPECT_EQ(KeystrelEngine::RandomSeed, afterOneDraw);
        EXPECT_FLOAT_EQ(control->GetStartTurn(), kPi / 2.0f * static_cast<float>(draw & 3u));
        EXPECT_FLOAT_EQ(Camera().m_near, 50.0f);
        EXPECT_FLOAT_EQ(Camera().m_far, 2000.0f);
        Frame(*control, 0.01f);
        EXPECT_TRUE(std::isfinite(Camera().m_position.z));
        ExpectSameAngle(BoardTurn(), control->GetStartTurn());
    }
}

TEST_F(CameraControlTest, WheelSetsAFreeTargetThatTheValueFollows)
{
    const auto control = Make("2", "1.0");
    Frame(*control, 0.01f, 1);
    Frame(*control, 0.01f, 1);
    EXPECT_EQ(control->GetCameraType(), CameraControl::kTypeFree);
    EXPECT_EQ(Value("g_camera_type"), "2");
    EXPECT_FLOAT_EQ(control->GetTarget(), 0.7f);
    EXPECT_NEAR(control->GetValue(), 0.98f, 1e-5);
    float previous = control->GetValue();
    for (int frame = 0; frame < 40; ++frame) {
        Frame(*control, 0.01f);
        EXPECT_NEAR(previous - control->GetValue(), previous > 0.7f + 1e-4f ? 0.01f : 0.0f, 1e-5);
        EXPECT_EQ(Value("g_camera_value"), KeystrelEngine::FormatFloat(control->GetValue(), 6));
        previous = control->GetValue();
    }
    EXPECT_FLOAT_EQ(control->GetValue(), 0.7f);
    // Settled: the variable is no longer written.
    engine->m_config->SetValue("g_camera_value", "0.5");
    Frame(*control, 0.01f);
    EXPECT_EQ(Value("g_camera_value"), "0.500000");

    // The target never leaves [0, 1].
    for (int frame = 0; frame < 12; ++frame)
        Frame(*control, 0.001f, 3);
    EXPECT_FLOAT_EQ(control->GetTarget(), 0.0f);
    for (int frame = 0; frame < 12; ++frame)
        Frame(*control, 0.001f, -1);
    EXPECT_FLOAT_EQ(control->GetTarget(), 1.0f);

    // A chosen type moves the value at 2 per second and takes the target along.
    control->SetCameraType(CameraControl::kTypeTop);
    EXPECT_EQ(Value("g_camera_type"), "0");
    const float before = control->GetValue();
    Frame(*control, 0.05f);
    EXPECT_NEAR(control->GetValue(), before - 0.1f, 1e-5);
    EXPECT_FLOAT_EQ(control->GetTarget(), control->GetValue());
    control->SetCameraType(CameraControl::kTypeFree);
    EXPECT_EQ(Value("g_camera_type"), "1");
}

TEST_F(CameraControlTest, EdgeAndRightButtonTurnTheBoard)
{
    const auto control = Make();
    const float dt = 0.01f;
    auto rate = [&](float x) {
        engine->m_gui->m_defaultCursor.m_x = x;
        const float before = control->GetTurnAngle();
        Frame(*control, dt);
        return (control->GetTurnAngle() - before) / dt;
    };
    EXPECT_NEAR(rate(795.0f), 1.5f, 0.02f);
    for (int frame = 0; frame < 36; ++frame)
        rate(795.0f);
    EXPECT_LT(rate(795.0f), 2.2f - 1e-3f); // 0.38 s
    EXPECT_NEAR(rate(795.0f), 2.2f, 1e-4);
    EXPECT_NEAR(rate(795.0f), 2.2f, 1e-4);
    EXPECT_FLOAT_EQ(rate(792.0f), 0.0f);
    EXPECT_NEAR(rate(795.0f), 1.5f, 0.02f);
    EXPECT_FLOAT_EQ(rate(8.0f), 0.0f);
    EXPECT_NEAR(rate(3.0f), -1.5f, 0.02f);

    engine->m_controls->SetKeyState("MOUSE2", true);
    engine->m_controls->m_mouseDeltaX = -40.0f;
    EXPECT_NEAR(rate(400.0f) * dt, -0.4f, 1e-5);
    engine->m_controls->SetKeyState("MOUSE2", false);
    engine->m_controls->EndFrame();
    EXPECT_FLOAT_EQ(rate(400.0f), 0.0f);
    ExpectSameAngle(BoardTurn(), control->GetStartTurn() + control->GetTurnAngle());
}

// The pointer as SDL reports it: a last motion on the border it crosses, then the leave. Outside the window it
// turns nothing, whichever side it left by, until it comes back into a band.
TEST_F(CameraControlTest, APointerOutsideTheWindowTurnsNothing)
{
    const auto control = Make();
    engine->m_gui->m_camera->m_width = 800.0f; // the game's virtual screen
    engine->m_gui->m_camera->m_height = 600.0f;
    const HWND window = engine->m_window->m_handle;
    const int width = engine->m_window->m_width;
    const int height = engine->m_window->m_height;
    auto rate = [&] {
        const float before = control->GetTurnAngle();
        AppFixture::Frame(kFrameTime, [&] { control->Update(); });
        return (control->GetTurnAngle() - before) / kFrameTime;
    };
    const struct
    {
        const char* side;
        int x, y;
        float turn; // while on the border: -1 the left band, +1 the right one
    } borders[] = {{"left", 0, height / 2, -1.0f},
                   {"right", width - 1, height / 2, 1.0f},
                   {"top, over the left band", 2, 0, -1.0f},
                   {"bottom, over the right band", width - 2, height - 1, 1.0f}};
    for (const auto& border : borders) {
        SCOPED_TRACE(border.side);
        PlatformTesting::InjectMouseMotion(window, border.x, border.y, 0, 0);
        EXPECT_NEAR(rate() * border.turn, 1.5f + 1.8f * kFrameTime, 1e-3);
        PlatformTesting::InjectWindowEvent(window, PlatformTesting::WindowEvent::PointerLeft);
        for (int frame = 0; frame < 60; ++frame)
            ASSERT_FLOAT_EQ(rate(), 0.0f) << "frame " << frame;
        PlatformTesting::InjectWindowEvent(window, PlatformTesting::WindowEvent::PointerEntered);
        PlatformTesting::InjectMouseMotion(window, border.x, border.y, 0, 0);
        EXPECT_NEAR(rate() * border.turn, 1.5f + 1.8f * kFrameTime, 1e-3) << "back on the border";
        PlatformTesting::InjectMouseMotion(window, width / 2, height / 2, 0, 0);
        EXPECT_FLOAT_EQ(rate(), 0.0f);
    }
}

// The eye and the board's turn for a camera value v and the flight's angle, lift and reach.
struct View
{
    float value;
    float angle;
    float lift;
    float reach;
};

TEST_F(CameraControlTest, IntroAndEndShapeTheViewOnly)
{
    const auto control = Make();
    auto expectView = [&](const View& view) {
        const Vector3 eye = Camera().m_position;
        EXPECT_NEAR(eye.x, (kDistance + view.reach) * view.value, 1e-2);
        EXPECT_NEAR(eye.y, 0.0f, 1e-4);
        EXPECT_NEAR(eye.z, (1.0f - view.value) * kTop + view.value * kOblique + view.lift, 1e-2);
        ExpectSameAngle(BoardTurn(), control->GetStartTurn() + view.angle);
        EXPECT_FLOAT_EQ(control->GetValue(), 1.0f); // the settled value is kept
    };
    control->StartIntro();
    Frame(*control, 0.0f);
    expectView({0.5f, kPi / 2.0f, 75.0f, 1.5f * kDistance});
    Frame(*control, 0.5f / 0.45f);
    EXPECT_FLOAT_EQ(control->GetTransitionTimer(), 0.5f);
    expectView({0.75f, kPi / 4.0f, 37.5f, 0.75f * kDistance});
    Frame(*control, 0.5f / 0.45f);
    expectView({1.0f, 0.0f, 0.0f, 0.0f});
    Frame(*control, 0.6f);
    expectView({1.0f, 0.0f, 0.0f, 0.0f}); // the flight has ended

    control->StartEnd();
    Frame(*control, 0.0f);
    expectView({1.0f, 0.0f, 0.0f, 0.0f});
    Frame(*control, 0.5f / 0.45f);
    expectView({0.75f, -kPi / 4.0f, 37.5f, 0.75f * kDistance});
    for (int frame = 0; frame < 3; ++frame) {
        Frame(*control, 2.0f);
        EXPECT_FLOAT_EQ(control->GetTransitionTimer(), 1.0f);
        expectView({0.5f, -kPi / 2.0f, 75.0f, 1.5f * kDistance});
    }
}

TEST_F(CameraControlTest, ShiftedBoardTurnsAboutItsCentre)
{
    // Lines end in "\n" or, as the content tool writes them, in "\r\n".
    for (const char* text : {"300\n40\n150\n-25\n170\n", "300\r\n40\r\n150\r\n-25\r\n170\r\n"}) {
        SCOPED_TRACE(text);
        WriteCamera(text);
        const auto control = Make();
        const KeystrelEngine::Viewport viewport{0, 0, 800, 600};
        KeystrelEngine::ScreenPoint centre;
        KeystrelEngine::ScreenPoint corner;
        engine->m_controls->SetKeyState("MOUSE2", true);
        engine->m_controls->m_mouseDeltaX = 30.0f;
        for (int frame = 0; frame < 4; ++frame) {
            Frame(*control, 0.01f);
            engine->m_cameras->Update();
            const KeystrelEngine::Matrix4& third = Camera().m_thirdMatrix;
            EXPECT_TRUE(Camera().m_attached);
            EXPECT_NEAR(third.TransformPoint(m_box.m_centre).x, -25.0f, 1e-3);
            const auto nowCentre =
                KeystrelEngine::Camera::ProjectToScreen(Camera(), third.TransformPoint({}), viewport);
            const auto nowCorner = KeystrelEngine::Camera::ProjectToScreen(
                Camera(), third.TransformPoint({120.0f, 90.0f, 0.0f}), viewport);
            if (frame > 0) {
                EXPECT_NEAR(nowCentre.x, centre.x, 1e-2);
                EXPECT_NEAR(nowCentre.y, centre.y, 1e-2);
                EXPECT_GT(std::hypot(nowCorner.x - corner.x, nowCorner.y - corner.y), 1.0f);
            }
            centre = nowCentre;
            corner = nowCorner;
        }
    }
}

// A camera file that cannot be used is logged and the board is seen from straight above, high enough to hold it;
// a degenerate file that is readable still gives a finite view.
TEST_F(CameraControlTest, UnusableCameraFileFramesTheBoardFromAbove)
{
    for (const char* text : {static_cast<const char*>(nullptr), "300\n0\n150\n", "300\n0\nnan\n0\n170\n",
                             "300\n0\n150\n0\ninf\n", "0\n0\n0\n0\n0\n"}) {
        SCOPED_TRACE(text ? text : "missing");
        if (text)
            WriteCamera(text);
        else
            AppTesting::RemoveDataFile("data\\boards\\test_camera.ini");
        const std::size_t logged = engine->m_log->m_history.size();
        for (const char* type : {"0", "1"}) {
            const auto control = Make(type);
            Frame(*control, 0.01f);
            const KeystrelEngine::Camera& camera = Camera();
            const bool degenerate = text && std::string(text).starts_with("0\n");
            EXPECT_NEAR(camera.m_position.z, degenerate ? 0.0f : 240.0f + 100.0f, 1e-3);
            EXPECT_FLOAT_EQ(camera.m_position.x, 0.0f);
            for (float q :
                 {camera.m_orientation.x, camera.m_orientation.y, camera.m_orientation.z, camera.m_orientation.w})
                EXPECT_TRUE(std::isfinite(q));
            for (float m : camera.m_thirdMatrix.m)
                EXPECT_TRUE(std::isfinite(m));
        }
        std::size_t errors = 0;
        for (std::size_t i = logged; i < engine->m_log->m_history.size(); ++i)
            errors += engine->m_log->m_history[i].text.find("Error: ") != std::string::npos;
        EXPECT_EQ(errors, text && std::string(text).starts_with("0\n") ? 0u : 2u);
    }
}

} // namespace
