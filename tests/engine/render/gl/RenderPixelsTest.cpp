// Real pixels of untextured drawing: clearing, depth, culling, blending, vertex colours and lighting.
#include "engine/render/Light.h"
#include "engine/render/LightManager.h"
#include "engine/render/Texture2D.h"
#include "tests/engine/render/gl/PixelFixture.h"

#include <SDL2/SDL_opengl.h>
#include <cmath>
#include <set>

using KeystrelEngine::Color;
using KeystrelEngine::Image;
using KeystrelEngine::Light;
using KeystrelEngine::Matrix4;
using KeystrelEngine::RenderSystem;
using KeystrelEngine::Texture2D;
using KeystrelEngine::Vector3;
using RenderTesting::kPixelHeight;
using RenderTesting::kPixelWidth;
using RenderTesting::Rectangle;
using RenderTesting::RectangleIndices;
using RenderTesting::Vertex;

namespace {

class RenderPixels : public RenderTesting::PixelFixture
{
protected:
    std::unique_ptr<KeystrelEngine::LightManager> lights;
};

TEST_F(RenderPixels, TheClearColourFillsTheScreen)
{
    render->m_clearColor = {0.2f, 0.4f, 0.6f, 1.0f};
    render->BeginScene();
    render->EndScene();
    const Image image = Grab();
    ASSERT_EQ(image.GetWidth(), kPixelWidth);
    ASSERT_EQ(image.GetHeight(), kPixelHeight);
    ExpectNear(At(image, 0, 0), {51, 102, 153}, 1);
    ExpectNear(At(image, kPixelWidth - 1, kPixelHeight - 1), {51, 102, 153}, 1);
}

TEST_F(RenderPixels, TheZTestKeepsTheNearerSurface)
{
    render->SetZ(true);
    render->BeginScene();
    Draw(Rectangle(-1, -1, 1, 1, -0.2f, 0xFFFF0000), RectangleIndices(), true);
    Draw(Rectangle(-1, -1, 0, 1, -0.8f, 0xFF00FF00), RectangleIndices(), true);
    render->SetZ(false);
    Draw(Rectangle(0, -1, 1, 1, -0.8f, 0xFF0000FF), RectangleIndices(), true);
    render->EndScene();
    const Image image = Grab();
    ExpectNear(At(image, 160, 240), {255, 0, 0});
    ExpectNear(At(image, 480, 240), {0, 0, 255});
}

TEST_F(RenderPixels, DepthIsClearedAlsoWithZWritesOff)
{
    render->SetZ(true);
    render->BeginScene();
    Draw(Rectangle(-1, -1, 1, 1, -0.2f, 0xFFFF0000), RectangleIndices(), true);
    render->EndScene();
    render->SetZWrite(false);
    render->BeginScene();
    Draw(Rectangle(-1, -1, 1, 1, -0.5f, 0xFF00FF00), RectangleIndices(), true);
    render->EndScene();
    ExpectNear(At(Grab(), 320, 240), {0, 255, 0});
}

TEST_F(RenderPixels, CullingRemovesTheTriangleOfTheCulledWinding)
{
    // Left: clockwise on screen; right: counter-clockwise.
    const std::vector<Vertex> triangles = {
        {{-0.9f, -0.5f, -0.5f}, {0, 0, 1}, 0xFFFFFFFF}, {{-0.7f, 0.5f, -0.5f}, {0, 0, 1}, 0xFFFFFFFF},
        {{-0.5f, -0.5f, -0.5f}, {0, 0, 1}, 0xFFFFFFFF}, {{0.5f, -0.5f, -0.5f}, {0, 0, 1}, 0xFFFFFFFF},
        {{0.9f, -0.5f, -0.5f}, {0, 0, 1}, 0xFFFFFFFF},  {{0.7f, 0.5f, -0.5f}, {0, 0, 1}, 0xFFFFFFFF}};
    const std::uint32_t leftX = 96;   // x = -0.7
    const std::uint32_t rightX = 544; // x = 0.7
    struct Case
    {
        std::uint32_t mode;
        int left;
        int right;
    };
    for (const Case& c : {Case{0, 255, 255}, Case{1, 0, 255}, Case{2, 255, 0}}) {
        render->SetCullMode(c.mode);
        render->BeginScene();
        Draw(triangles, {0, 1, 2, 3, 4, 5}, true);
        render->EndScene();
        const Image image = Grab();
        EXPECT_EQ(At(image, leftX, 260)[0], c.left) << "cull mode " << c.mode;
        EXPECT_EQ(At(image, rightX, 260)[0], c.right) << "cull mode " << c.mode;
    }
}

TEST_F(RenderPixels, SourceAlphaBlendingMixesWithTheBackground)
{
    render->m_clearColor = {0.0f, 0.0f, 1.0f, 1.0f};
    render->SetAlphaBlend(true);
    render->SetBlend(4, 5);
    render->BeginScene();
    Draw(Rectangle(-1, -1, 1, 1, -0.5f, 0x80FF0000), RectangleIndices(), true);
    render->EndScene();
    ExpectNear(At(Grab(), 320, 240), {128, 0, 127});
}

TEST_F(RenderPixels, VertexColoursColourOnlyTheVerticesThatCarryThem)
{
    render->BeginScene();
    Draw(Rectangle(-1, -1, 0, 1, -0.5f, 0xFFFF0000), RectangleIndices(), true);
    Draw(Rectangle(0, -1, 1, 1, -0.5f), RectangleIndices(), false);
    render->EndScene();
    const Image image = Grab();
    ExpectNear(At(image, 160, 240), {255, 0, 0}, 0);
    ExpectNear(At(image, 480, 240), {255, 255, 255}, 0);
}

TEST_F(RenderPixels, ADirectionalLightGivesTheCosineOfItsAngle)
{
    lights = std::make_unique<KeystrelEngine::LightManager>(&services.log, render.get());
    Light* light = lights->CreateLight();
    light->type = Light::TypeDirectional;
    light->direction = {0.0f, -0.8660254f, -0.5f}; // 60 degrees from the surface normal
    render->SetMaterial({0, 0, 0, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 1}, 0.0f);
    lights->EnableLighting(true);
    lights->Apply();
    render->BeginScene();
    Draw(Rectangle(-1, -1, 1, 1, -0.5f), RectangleIndices(), false);
    render->EndScene();
    ExpectNear(At(Grab(), 320, 240), {128, 128, 128});
}

TEST_F(RenderPixels, TheAmbientColourLightsTheMaterialOrTheVertexColour)
{
    lights = std::make_unique<KeystrelEngine::LightManager>(&services.log, render.get());
    lights->m_ambient = {0.25f, 0.25f, 0.25f, 1.0f};
    render->SetMaterial({1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 1}, 0.0f);
    lights->EnableLighting(true);
    lights->Apply();
    render->BeginScene();
    Draw(Rectangle(-1, -1, 0, 1, -0.5f), RectangleIndices(), false);
    Draw(Rectangle(0, -1, 1, 1, -0.5f, 0xFF00FF00), RectangleIndices(), true);
    render->EndScene();
    const Image image = Grab();
    ExpectNear(At(image, 160, 240), {64, 64, 64}, 1);
    ExpectNear(At(image, 480, 240), {0, 64, 0}, 1);
}

TEST_F(RenderPixels, ADeviceMadeAgainFindsNoStateOfTheOldOneInGL)
{
    // Textured, lit and with vertex colours: texture-coordinate arrays, a light and colour material in use.
    lights = std::make_unique<KeystrelEngine::LightManager>(&services.log, render.get());
    Light* light = lights->CreateLight();
    light->type = Light::TypeDirectional;
    light->direction = {0.0f, 0.0f, -1.0f};
    lights->EnableLighting(true);
    lights->Apply();
    Image picture;
    picture.Create(&services.log, 1, 1, 24);
    picture.Fill({1.0f, 0.0f, 0.0f, 1.0f});
    const std::unique_ptr<Texture2D> texture(render->CreateTexture2D("red", picture, false));
    render->SetTexture(0, texture.get());
    render->SetTexture(1, texture.get());
    render->BeginScene();
    Draw(Rectangle(-1, -1, 1, 1, -0.5f, 0xFFFFFFFF), RectangleIndices(), true);
    render->EndScene();

    services.config.v_mode = "800x600x32";
    render->CheckModeChange();
    render->Reset(RenderSystem::kResetDevice | RenderSystem::kResetTextures);
    render->BeginScene();
    Draw(Rectangle(-1, -1, 1, 1, -0.5f), RectangleIndices(), false);
    render->EndScene();
    const Image image = Grab();
    ASSERT_EQ(image.GetWidth(), 800u);
    ExpectNear(At(image, 400, 300), {255, 255, 255}, 0);

    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    for (GLint unit = 0; unit < units; ++unit) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        glClientActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY)) << "unit " << unit;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "unit " << unit;
    }
    glActiveTexture(GL_TEXTURE0);
    glClientActiveTexture(GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
}

// A small lit scene, saved as a picture for people to look at.
TEST_F(RenderPixels, ALitSceneIsSavedAsAPicture)
{
    lights = std::make_unique<KeystrelEngine::LightManager>(&services.log, render.get());
    lights->m_ambient = {0.15f, 0.15f, 0.2f, 1.0f};
    Light* sun = lights->CreateLight();
    sun->type = Light::TypeDirectional;
    sun->direction = Vector3{0.5f, -0.6f, -0.6f}.Normalized();
    sun->diffuse = {0.9f, 0.85f, 0.7f, 1.0f};
    sun->ambient = {0.0f, 0.0f, 0.0f, 1.0f};
    Light* lamp = lights->CreateLight();
    lamp->position = {-0.5f, 0.4f, -0.1f};
    lamp->diffuse = {0.2f, 0.4f, 1.0f, 1.0f};
    lamp->ambient = {0.0f, 0.0f, 0.0f, 1.0f};
    lamp->attenuation1 = 2.0f;
    render->m_clearColor = {0.05f, 0.05f, 0.1f, 1.0f};
    render->SetMaterial({1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 1}, 0.0f);
    render->SetZ(true);
    render->SetCullMode(2);
    lights->EnableLighting(true);
    lights->Apply();

    // A fan of facets around the centre, each tilted differently, so the lights shade them apart.
    std::vector<Vertex> vertices;
    std::vector<std::uint16_t> indices;
    const std::uint32_t colours[] = {0xFFE04040, 0xFF40E040, 0xFF4040E0, 0xFFE0E040, 0xFFE040E0, 0xFF40E0E0};
    for (int i = 0; i < 12; ++i) {
        const float a0 = static_cast<float>(i) * 0.5235988f;
        const float a1 = a0 + 0.5235988f;
        const Vector3 centre{0.0f, 0.0f, -0.3f};
        const Vector3 p0{0.8f * std::cos(a0) * 0.75f, 0.8f * std::sin(a0), -0.6f};
        const Vector3 p1{0.8f * std::cos(a1) * 0.75f, 0.8f * std::sin(a1), -0.6f};
        const Vector3 normal = KeystrelEngine::Cross(p0 - centre, p1 - centre).Normalized();
        const auto base = static_cast<std::uint16_t>(vertices.size());
        for (const Vector3& p : {centre, p0, p1})
            vertices.push_back({p, normal, colours[i % 6]});
        indices.insert(indices.end(),
                       {base, static_cast<std::uint16_t>(base + 2), static_cast<std::uint16_t>(base + 1)});
    }
    render->BeginScene();
    Draw(vertices, indices, true);
    render->EndScene();
    const Image image = Grab();
    SavePicture(image, "lit_scene.bmp");

    // The facets differ in brightness; the corners keep the clear colour.
    ExpectNear(At(image, 0, 0), {13, 13, 26}, 1);
    std::set<std::vector<int>> shades;
    for (int i = 0; i < 12; ++i) {
        const float angle = (static_cast<float>(i) + 0.5f) * 0.5235988f;
        const auto x = static_cast<std::uint32_t>(320 + 320 * 0.45f * std::cos(angle));
        const auto y = static_cast<std::uint32_t>(240 - 240 * 0.6f * std::sin(angle));
        shades.insert(At(image, x, y));
    }
    EXPECT_GE(shades.size(), 10u);
}

} // namespace
