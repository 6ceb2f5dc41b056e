// Models drawn on the GL back end (llvmpipe): the device must draw with the device forms of the view and the
// projection, so what the camera's screen projection predicts is where the pixels land, the GUI camera puts larger
// depths in front, the cull modes remove the right faces and the lights shade the faces that look at them.
#include "engine/render/Image.h"
#include "engine/render/Light.h"
#include "engine/render/ModelManager.h"
#include "engine/render/VertexBuffer.h"
#include "tests/engine/render/gl/ScenePixelFixture.h"
#include "tests/support/ImageFiles.h"

#include <algorithm>
#include <cmath>
#include <set>

using KeystrelEngine::Camera;
using KeystrelEngine::Color;
using KeystrelEngine::Image;
using KeystrelEngine::Light;
using KeystrelEngine::Matrix4;
using KeystrelEngine::Model;
using KeystrelEngine::Quaternion;
using KeystrelEngine::ScreenPoint;
using KeystrelEngine::Vector3;

namespace {

constexpr std::uint32_t kWidth = 640;
constexpr std::uint32_t kHeight = 480;

class ModelPixels : public RenderTesting::ScenePixelFixture
{
protected:
    // A box model handed to the manager's registry, so the frame pass draws it.
    Model* Box(const Vector3& minimum, const Vector3& maximum, Camera* camera, std::uint32_t extraFlags)
    {
        Model* box = models->CreateBoxModel(minimum, maximum, camera, extraFlags);
        models->GetRegistry().Add(box);
        return box;
    }

    // Red, green, blue of the pixel in column x and row y counted from the bottom, as the screen projection
    // counts them.
    static std::array<int, 3> At(const Image& image, std::uint32_t x, std::uint32_t y)
    {
        const std::uint8_t* pixel = image.GetRow(y) + x * image.GetBytesPerPixel();
        return {pixel[0], pixel[1], pixel[2]};
    }

    static bool Lit(const Image& image, std::uint32_t x, std::uint32_t y)
    {
        const std::array<int, 3> pixel = At(image, x, y);
        return pixel[0] + pixel[1] + pixel[2] > 0;
    }
};

TEST_F(ModelPixels, ABoxCoversTheScreenRectangleItsProjectedCornersSpan)
{
    Camera& camera = *cameras->GetDefaultCamera();
    camera.m_position = {0.5f, 0.8f, 6.0f};
    camera.m_orientation = Quaternion::FromAxisAngle({0.0f, 1.0f, 0.0f}, 0.2f);
    const Vector3 minimum{-1.0f, -0.5f, -2.0f};
    const Vector3 maximum{1.5f, 1.0f, 0.0f};
    Box(minimum, maximum, nullptr, 0)->m_flags &= ~Model::kLit; // unlit: white
    const Image image = DrawScene();

    float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f;
    for (int corner = 0; corner < 8; ++corner) {
        const Vector3 p{(corner & 1) ? maximum.x : minimum.x, (corner & 2) ? maximum.y : minimum.y,
                        (corner & 4) ? maximum.z : minimum.z};
        const ScreenPoint s = Camera::ProjectToScreen(camera, p, cameras->GetViewport());
        left = std::min(left, s.x);
        right = std::max(right, s.x);
        bottom = std::min(bottom, s.y);
        top = std::max(top, s.y);
    }
    std::uint32_t coveredLeft = kWidth, coveredRight = 0, coveredBottom = kHeight, coveredTop = 0;
    for (std::uint32_t y = 0; y < kHeight; ++y) {
        for (std::uint32_t x = 0; x < kWidth; ++x) {
            if (!Lit(image, x, y))
                continue;
            coveredLeft = std::min(coveredLeft, x);
            coveredRight = std::max(coveredRight, x + 1);
            coveredBottom = std::min(coveredBottom, y);
            coveredTop = std::max(coveredTop, y + 1);
        }
    }
    ASSERT_LT(coveredLeft, coveredRight) << "nothing was drawn";
    EXPECT_NEAR(static_cast<float>(coveredLeft), left, 1.5f);
    EXPECT_NEAR(static_cast<float>(coveredRight), right, 1.5f);
    EXPECT_NEAR(static_cast<float>(coveredBottom), bottom, 1.5f);
    EXPECT_NEAR(static_cast<float>(coveredTop), top, 1.5f);
}

TEST_F(ModelPixels, InTheGuiCameraALargerDepthDrawsOnTop)
{
    Camera* gui = cameras->CreateCamera(Camera::kOrthographic);
    gui->m_width = static_cast<float>(kWidth);
    gui->m_height = static_cast<float>(kHeight);
    gui->m_near = 500.0f;
    gui->m_far = -500.0f;
    // Drawn first, but in front: depth 10 against -10. Unlit, so the vertex colours show.
    Model* front = Box({100, 100, 9}, {300, 300, 10}, gui, Model::kColours);
    Model* back = Box({200, 200, -11}, {400, 400, -10}, gui, Model::kColours);
    for (Model* model : {front, back})
        model->m_flags &= ~(Model::kLit | Model::kDrawFirst | Model::kCullMode1);
    front->GetVertexBuffer()->SetColor({1.0f, 0.0f, 0.0f, 1.0f});
    back->GetVertexBuffer()->SetColor({0.0f, 0.0f, 1.0f, 1.0f});
    const Image image = DrawScene();
    EXPECT_EQ(At(image, 250, 250), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(At(image, 350, 350), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(At(image, 150, 150), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(At(image, 50, 50), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(ModelPixels, CullModeOneHidesTheFacesSeenFromInside)
{
    cameras->GetDefaultCamera()->m_position = {0.0f, 0.0f, 0.0f};
    Model* box = Box({-2, -2, -2}, {2, 2, 2}, nullptr, Model::kColours);
    box->m_flags &= ~Model::kLit;
    EXPECT_FALSE(Lit(DrawScene(), 320, 240));
    box->SetFlags(Model::kCullMode2);
    EXPECT_TRUE(Lit(DrawScene(), 320, 240));

    // From outside, cull mode 1 keeps the faces that look at the camera.
    box->SetFlags(Model::kCullMode1);
    cameras->GetDefaultCamera()->m_position = {0.0f, 0.0f, 10.0f};
    EXPECT_TRUE(Lit(DrawScene(), 320, 240));
}

TEST_F(ModelPixels, ADirectionalLightLightsTheSideThatFacesIt)
{
    cameras->GetDefaultCamera()->m_position = {0.0f, 0.0f, 10.0f};
    Box({-1, -1, -1}, {1, 1, 1}, nullptr, 0);
    Light* light = lights->CreateLight();
    light->type = Light::TypeDirectional;
    light->ambient = {0.0f, 0.0f, 0.0f, 1.0f};
    lights->m_ambient = {0.1f, 0.1f, 0.1f, 1.0f};
    light->direction = {0.0f, 0.0f, -1.0f}; // shines onto the face at +z, which the camera sees
    const int facing = At(DrawScene(), 320, 240)[0];
    light->direction = {0.0f, 0.0f, 1.0f};
    const int away = At(DrawScene(), 320, 240)[0];
    EXPECT_GT(facing, 200);
    EXPECT_LT(away, 80);
}

// A twisting band on four bones, textured with a checkerboard and lit by the sun, caught halfway through its
// animation and saved as a picture for people to look at.
TEST_F(ModelPixels, ALitTexturedAnimatedModelIsSavedAsAPicture)
{
    TestSupport::Bytes checker;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool light = ((x / 8) + (y / 8)) % 2 == 0;
            checker.insert(checker.end(), light ? std::initializer_list<std::uint8_t>{40, 170, 250}
                                                : std::initializer_list<std::uint8_t>{160, 60, 30});
        }
    }
    RenderTesting::WriteDataFile("models\\checker.bmp", TestSupport::BMPFile(32, 32, checker).Build());
    Formats::ShaderFile description;
    description.stages.push_back({});
    description.stages[0].texture = "checker.bmp";
    description.stages[0].addressU = description.stages[0].addressV = 1;
    RenderTesting::WriteDataFile("models\\band.srf", Formats::BuildShaderFile(description));

    Formats::ModelFile band;
    band.flags = Model::kSkeletal | Model::kTriangleList | Model::kLit | Model::kZTest | Model::kShown;
    band.frameCount = 2;
    band.speed = 1.0f;
    constexpr int kBones = 4;
    constexpr int kColumns = 24;
    constexpr int kRows = 6;
    for (int b = 0; b < kBones; ++b)
        band.bones.push_back({0, "bone", {-0.6f, -0.6f, -0.6f}, {0.6f, 0.6f, 0.6f}, 0, 0});
    for (int frame = 0; frame < 2; ++frame) {
        for (int b = 0; b < kBones; ++b) {
            const float angle = frame == 0 ? 0.0f : 0.6f * static_cast<float>(b);
            const float lift = frame == 0 ? 0.0f : 0.25f * std::sin(static_cast<float>(b));
            band.keys.push_back({-1.5f + static_cast<float>(b), lift, 0.0f, std::sin(angle * 0.5f), 0.0f, 0.0f,
                                 std::cos(angle * 0.5f), 1.0f, 1.0f, 1.0f});
        }
    }
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            const float u = static_cast<float>(x) / (kColumns - 1);
            const float v = static_cast<float>(y) / (kRows - 1);
            const float along = u * (kBones - 1);
            const auto first = static_cast<std::uint16_t>(std::min(along, static_cast<float>(kBones - 2)));
            const float second = along - static_cast<float>(first);
            const float height = (v - 0.5f) * 0.8f;
            band.skinVertices.push_back(
                {u * 3.0f,
                 v,
                 {{first, 1.0f - second, {0, 0, 1}, {along - static_cast<float>(first), height, 0.0f}},
                  {static_cast<std::uint16_t>(first + 1),
                   second,
                   {0, 0, 1},
                   {along - static_cast<float>(first) - 1.0f, height, 0.0f}}}});
        }
    }
    for (int y = 0; y + 1 < kRows; ++y) {
        for (int x = 0; x + 1 < kColumns; ++x) {
            const auto a = static_cast<std::uint32_t>(y * kColumns + x);
            band.indices.insert(band.indices.end(), {a, a + 1, a + kColumns, a + 1, a + kColumns + 1, a + kColumns});
        }
    }
    band.boxes = {{{-2, -1, -1}, {2, 1, 1}}};
    RenderTesting::WriteDataFile("models\\band.mlf", Formats::BuildModelFile(band));

    Camera& camera = *cameras->GetDefaultCamera();
    camera.m_position = {0.0f, 0.6f, 3.2f};
    camera.m_orientation = Quaternion::FromAxisAngle({1.0f, 0.0f, 0.0f}, -0.15f);
    lights->m_ambient = {0.25f, 0.25f, 0.3f, 1.0f};
    Light* sun = lights->CreateLight();
    sun->type = Light::TypeDirectional;
    sun->direction = Vector3{0.4f, -0.4f, -0.8f}.Normalized();
    sun->ambient = {0.0f, 0.0f, 0.0f, 1.0f};
    render->m_clearColor = {0.05f, 0.06f, 0.12f, 1.0f};

    Model* model = models->LoadModel("models\\band.mlf", nullptr, 0);
    model->GetAnimationControl().m_looping = true;
    model->GetAnimationControl().m_playing = true;
    model->GetAnimationControl().m_position = 0.5f;
    timers->m_frameTime = 0.2f; // the frame shows the band 70 % of the way into its twist
    const Image image = DrawScene();

    SavePicture(image, "animated_model.bmp");

    // The band covers the middle of the screen in many shades of its two texture colours; the corners keep the
    // clear colour.
    EXPECT_EQ(At(image, 2, 2), (std::array<int, 3>{13, 15, 31}));
    std::set<std::array<int, 3>> shades;
    for (std::uint32_t x = 100; x < 540; x += 4)
        shades.insert(At(image, x, 240));
    EXPECT_GE(shades.size(), 20u);
    EXPECT_EQ(model->GetAnimationControl().m_currentFrame, 0u);
    EXPECT_NEAR(model->GetAnimationControl().m_blendFraction, 0.7f, 1e-5f);
}

} // namespace
