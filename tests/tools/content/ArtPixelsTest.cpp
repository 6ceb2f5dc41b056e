// Art-kit models drawn on the GL back end: a small board of lit, textured hexagonal cells under a perspective
// camera and an unfolded button frame in an 800 x 600 GUI camera, saved as a picture for people to look at. The
// cull flags show which winding the engine treats as the front: 0x2000 keeps the kit's faces, 0x400000 removes
// them.
#include "engine/render/Light.h"
#include "tests/engine/render/gl/ScenePixelFixture.h"
#include "tests/tools/content/ExampleArt.h"

#include <cmath>
#include <gtest/gtest.h>

using KeystrelEngine::Camera;
using KeystrelEngine::Image;
using KeystrelEngine::Model;
using KeystrelEngine::Quaternion;
using KeystrelEngine::ScreenPoint;

namespace {

class ArtPixels : public RenderTesting::ScenePixelFixture
{
protected:
    void SetUp() override
    {
        ScenePixelFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ArtTesting::WriteExampleArt();
        render->m_clearColor = {0.08f, 0.1f, 0.16f, 1.0f};
    }

    // Red, green, blue at a point of the screen projection (y up from the bottom row).
    static std::array<int, 3> At(const Image& image, const ScreenPoint& point)
    {
        return RenderTesting::PixelFromBottom(image, static_cast<std::uint32_t>(point.x),
                                              static_cast<std::uint32_t>(point.y));
    }
};

} // namespace

TEST_F(ArtPixels, CellsAndAButtonFrameAreDrawnWithTheirFrontsKept)
{
    Camera& camera = *cameras->GetDefaultCamera();
    camera.m_near = 50.0f;
    camera.m_far = 2000.0f;
    camera.m_position = {0.0f, -120.0f, 130.0f};
    camera.m_orientation = Quaternion::FromAxisAngle({1.0f, 0.0f, 0.0f}, std::atan2(120.0f, 130.0f));
    lights->m_ambient = {0.3f, 0.3f, 0.32f, 1.0f};
    KeystrelEngine::Light* sun = lights->CreateLight();
    sun->type = KeystrelEngine::Light::TypeDirectional;
    sun->direction = KeystrelEngine::Vector3{0.5f, 0.6f, -0.7f}.Normalized();
    sun->ambient = {0.0f, 0.0f, 0.0f, 1.0f};

    Camera* gui = cameras->CreateCamera(Camera::kOrthographic);
    gui->m_width = 800.0f;
    gui->m_height = 600.0f;
    gui->m_near = 500.0f;
    gui->m_far = -500.0f;

    // The centre cell and its six neighbours, 34.64 apart as the board lays them out.
    std::vector<Model*> cells{models->LoadModel("tests\\cell.mlf", nullptr, 0)};
    for (int d = 0; d < 6; ++d) {
        Model* cell = models->CloneModel(*cells[0], nullptr, 0);
        KeystrelEngine::Matrix4 place;
        const float angle = 1.5707964f + 1.0471976f * static_cast<float>(d);
        place.MakeTranslation({34.641f * std::cos(angle), 34.641f * std::sin(angle), 0.0f});
        cell->SetWorldMatrix(place);
        cell->m_flags |= Model::kShown;
        cells.push_back(cell);
    }
    Model* button = models->LoadModel("tests\\controls\\button.mlf", gui, Model::kShown);
    button->GetAnimationControl().m_position = 15.0f; // open

    cameras->Update();
    const ScreenPoint cellTop = Camera::ProjectToScreen(camera, {0.0f, 0.0f, 4.0f}, cameras->GetViewport());
    const ScreenPoint buttonMiddle = Camera::ProjectToScreen(*gui, {250.0f, 490.0f, 0.0f}, cameras->GetViewport());
    ASSERT_TRUE(cellTop.x > 0 && cellTop.x < 640 && cellTop.y > 0 && cellTop.y < 480);
    ASSERT_TRUE(buttonMiddle.x > 0 && buttonMiddle.x < 640 && buttonMiddle.y > 0 && buttonMiddle.y < 480);
    const Image uncut = DrawScene();
    for (Model* model : cells)
        model->SetFlags(Model::kCullMode1);
    button->SetFlags(Model::kCullMode1);
    const Image kept = DrawScene();
    SavePicture(kept, "cells_and_button.bmp");
    EXPECT_EQ(At(kept, cellTop), At(uncut, cellTop));
    EXPECT_EQ(At(kept, buttonMiddle), At(uncut, buttonMiddle));
    // The middle of the cell top shows the painted blue disc, lit; the button shows its face, not the clear colour.
    EXPECT_GT(At(kept, cellTop)[2], At(kept, cellTop)[0] + 40);
    const std::array<int, 3> clear = At(kept, {2.0f, 2.0f});
    EXPECT_NE(At(kept, buttonMiddle), clear);

    for (Model* model : cells)
        model->SetFlags(Model::kCullMode2);
    button->SetFlags(Model::kCullMode2);
    const Image culled = DrawScene();
    EXPECT_NE(At(culled, cellTop), At(kept, cellTop));
    EXPECT_EQ(At(culled, buttonMiddle), clear);
}
