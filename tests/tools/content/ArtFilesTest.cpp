// Files written through the art kit, read back by the engine on the recording device: models with their ".srf"
// descriptions and textures, morph and skeletal animation, a particle system with its sprite, all without a
// warning or an error in the log; and the art list's manifest with its name checks.
#include "tests/engine/render/ParticleFixture.h"
#include "tests/tools/content/ExampleArt.h"

#include "engine/render/Image.h"
#include "engine/render/Shader.h"
#include "engine/render/ShaderUser.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Content;
using KeystrelEngine::Image;
using KeystrelEngine::Model;

namespace {

class ArtFiles : public RenderTesting::ParticleFixture
{
protected:
    void SetUp() override
    {
        ParticleFixture::SetUp();
        ArtTesting::WriteExampleArt();
    }

    Model* LoadModel(const std::string& name)
    {
        Model* model = models->LoadModel(name, nullptr, 0);
        model->Update(false);
        return model;
    }

    Image LoadImage(const std::string& name)
    {
        Image image;
        EXPECT_TRUE(Image::Load(&services.files, "data\\" + name, image, &services.log)) << name;
        return image;
    }

    void ExpectBox(const KeystrelEngine::BoundingBox& box, const Vector3& minimum, const Vector3& maximum)
    {
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR((&box.m_worldMin.x)[k], (&minimum.x)[k], 1e-3f) << "axis " << k;
            EXPECT_NEAR((&box.m_worldMax.x)[k], (&maximum.x)[k], 1e-3f) << "axis " << k;
        }
    }
};

} // namespace

TEST_F(ArtFiles, TheListNamesEveryFileOnceWithItsReader)
{
    const std::vector<std::pair<std::string, std::string>> expected{
        {"tests\\cell.mlf", "ModelManager"},
        {"tests\\cell.srf", "ShaderManager"},
        {"tests\\cell.jpg", "TextureManager"},
        {"tests\\controls\\button.mlf", "ModelManager"},
        {"tests\\controls\\button.srf", "ShaderManager"},
        {"tests\\textures\\button.jpg", "TextureManager"},
        {"tests\\textures\\button_alpha.jpg", "TextureManager"},
        {"tests\\controls\\button_text_area.mlf", "ModelManager"},
        {"tests\\controls\\button_text_area.srf", "ShaderManager"},
        {"tests\\figure.mlf", "ModelManager"},
        {"tests\\figure.srf", "ShaderManager"},
        {"tests\\glow.psf", "ParticleSystemManager"},
        {"tests\\glow.srf", "ShaderManager"},
        {"tests\\glow.jpg", "TextureManager"},
        {"tests\\glow_alpha.jpg", "TextureManager"},
    };
    std::vector<std::pair<std::string, std::string>> listed;
    for (const ManifestEntry& entry : ArtTesting::ExampleArt().Files())
        listed.emplace_back(entry.name, entry.reader);
    EXPECT_EQ(listed, expected);

    ArtList list;
    const auto nothing = [] { return ModelArt{}; };
    for (const char* bad : {"ui\\Menus\\frame", "ui\\frame.big", "ui/frame", ""})
        EXPECT_THROW(list.AddModel(bad, nothing), std::invalid_argument) << bad;
    EXPECT_THROW(list.AddTexture("ui\\logo.png", "", [] { return Picture(1, 1); }), std::invalid_argument);
    EXPECT_THROW(list.AddTexture("", "", [] { return Picture(1, 1); }), std::invalid_argument);
    EXPECT_TRUE(list.Entries().empty());
}

TEST_F(ArtFiles, ModelsLoadWithTheirSurfacesAndTexturesWithoutComplaint)
{
    Model* cell = LoadModel("tests\\cell.mlf");
    EXPECT_EQ(cell->m_flags & (ModelFiles::kWorld | Model::kStatic), ModelFiles::kWorld | Model::kStatic);
    ExpectBox(cell->m_boundingBox, {-20.0f, -17.320508f, -4.0f}, {20.0f, 17.320508f, 4.0f});
    ASSERT_NE(cell->GetShaderUser()->GetShader()->GetTexture(0, 0), nullptr);

    Model* button = LoadModel("tests\\controls\\button.mlf");
    EXPECT_EQ(button->GetAnimationControl().GetFrameCount(), 16u);
    ASSERT_EQ(button->GetMorphBoxes().size(), 16u);
    const float middle = ArtTesting::kButton.bottom + 0.5f * ArtTesting::kButton.height;
    EXPECT_EQ(button->GetMorphBoxes().front().m_localMin.y, middle);
    EXPECT_EQ(button->GetMorphBoxes().front().m_localMax.y, middle);
    EXPECT_EQ(button->GetMorphBoxes().back().m_localMin.y, ArtTesting::kButton.bottom);
    EXPECT_EQ(button->GetMorphBoxes().back().m_localMax.x, ArtTesting::kButton.Right());
    const KeystrelEngine::ShaderStage& stage = button->GetShaderUser()->m_stages[0];
    EXPECT_EQ(stage.m_gridColumns, 4u);
    EXPECT_EQ(stage.m_frameCount, 4u);

    LoadModel("tests\\controls\\button_text_area.mlf");

    // The upper bar turns a quarter about x: lying along -y from the joint at height 10 in frame 1.
    Model* figure = LoadModel("tests\\figure.mlf");
    EXPECT_EQ(figure->GetAnimationControl().GetFrameCount(), 2u);
    ExpectBox(figure->m_boundingBox, {-2.0f, -2.0f, 0.0f}, {2.0f, 2.0f, 18.0f});
    figure->GetAnimationControl().m_position = 1.0f;
    figure->Update(false);
    ExpectBox(figure->m_boundingBox, {-2.0f, -8.0f, 0.0f}, {2.0f, 2.0f, 11.5f});

    const std::unique_ptr<KeystrelEngine::ParticleSystem> glow(
        particles->LoadParticleSystem("tests\\glow.psf", nullptr));

    EXPECT_TRUE(Errors().empty()) << Errors().front();
    EXPECT_TRUE(Warnings().empty()) << Warnings().front();
}

TEST_F(ArtFiles, TexturesAre24BitColourWithAnAlphaPictureOfTheSameSize)
{
    const Image colour = LoadImage("tests\\textures\\button.jpg");
    const Image alpha = LoadImage("tests\\textures\\button_alpha.jpg");
    EXPECT_EQ(colour.GetBitsPerPixel(), 24u);
    EXPECT_EQ(alpha.GetBitsPerPixel(), 8u);
    EXPECT_EQ(colour.GetWidth(), 256u);
    EXPECT_EQ(colour.GetHeight(), 32u);
    EXPECT_EQ(alpha.GetWidth(), colour.GetWidth());
    EXPECT_EQ(alpha.GetHeight(), colour.GetHeight());
    // Clear at a rounded corner of the first state, opaque in its middle; the lightest state is the last.
    EXPECT_LT(alpha.GetRow(0)[0], 16);
    EXPECT_GT(alpha.GetRow(16)[32], 240);
    EXPECT_GT(colour.GetRow(16)[3 * (3 * 64 + 32) + 2], colour.GetRow(16)[3 * 32 + 2]);
    EXPECT_EQ(LoadImage("tests\\cell.jpg").GetBitsPerPixel(), 24u);
}
