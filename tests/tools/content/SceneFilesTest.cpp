// The menu scene's files as this build's content tool wrote them, read back by the engine on the recording
// device: every model and particle system with its description and textures, without a warning or an error; the
// background file's themes; the guide's frames, rest poses and face grid; the bubbles' widening and the
// decorations' unfolding; the sprites' emission; the logo screen's and the cursor's pictures.
#include "engine/foundation/FileTextual.h"
#include "engine/render/Image.h"
#include "engine/render/Shader.h"
#include "engine/render/ShaderUser.h"
#include "tests/engine/render/ParticleFixture.h"
#include "tests/tools/content/BuildData.h"
#include "tools/content/Layout.h"
#include "tools/content/scene/BackgroundDecorationsGenerator.h"
#include "tools/content/scene/CharacterFigure.h"
#include "tools/content/scene/CharacterGenerator.h"
#include "tools/content/scene/CharacterPictures.h"
#include "tools/content/scene/MenuBackgroundGenerator.h"
#include "tools/content/scene/MenuParticlesGenerator.h"
#include "tools/content/scene/SpeechBubble.h"
#include "tools/content/scene/StartupPicturesGenerator.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>

using namespace Content;
using KeystrelEngine::BoundingBox;
using KeystrelEngine::Image;
using KeystrelEngine::Model;
using KeystrelEngine::ParticleSystem;

namespace {

class SceneFiles : public RenderTesting::ParticleFixture
{
protected:
    void SetUp() override
    {
        ParticleFixture::SetUp();
        SceneTesting::LinkBuildData();
    }

    static std::vector<ManifestEntry> SceneManifest()
    {
        std::vector<ManifestEntry> all;
        const std::vector<std::unique_ptr<Generator>> generators = [] {
            std::vector<std::unique_ptr<Generator>> list;
            list.push_back(std::make_unique<MenuBackgroundGenerator>());
            list.push_back(std::make_unique<BackgroundDecorationsGenerator>());
            list.push_back(std::make_unique<StartupPicturesGenerator>());
            list.push_back(std::make_unique<CharacterGenerator>());
            list.push_back(std::make_unique<MenuParticlesGenerator>());
            return list;
        }();
        for (const auto& generator : generators) {
            const std::vector<ManifestEntry> files = generator->Files();
            all.insert(all.end(), files.begin(), files.end());
        }
        return all;
    }

    Model* Load(const std::string& name)
    {
        Model* model = models->LoadModel(name, nullptr, 0);
        model->Update(false);
        return model;
    }

    // The model's box at a frame of its animation (a model is only brought up to date while shown).
    static BoundingBox BoxAt(Model& model, float frame)
    {
        model.m_flags |= Model::kShown;
        model.GetAnimationControl().m_position = frame;
        model.Update(false);
        return model.m_boundingBox;
    }

    Image LoadImage(const std::string& name)
    {
        Image image;
        EXPECT_TRUE(Image::Load(&services.files, "data\\" + name, image, &services.log)) << name;
        return image;
    }

    static int AlphaAt(const Image& alpha, std::uint32_t x, std::uint32_t y) { return alpha.GetRow(y)[x]; }
};

TEST_F(SceneFiles, EveryModelAndParticleSystemLoadsWithItsSurfaceAndTexturesWithoutComplaint)
{
    std::set<std::string> colours, opacities;
    int loaded = 0;
    for (const ManifestEntry& entry : SceneManifest()) {
        if (entry.reader == "ModelManager") {
            Load(entry.name);
            ++loaded;
        } else if (entry.reader == "ParticleSystemManager") {
            const std::unique_ptr<ParticleSystem> system(particles->LoadParticleSystem(entry.name, nullptr));
            ++loaded;
        } else if (entry.reader == "TextureManager") {
            (entry.name.ends_with("_alpha.jpg") ? opacities : colours).insert(entry.name);
        }
    }
    EXPECT_EQ(loaded, 6 + 11 + 5 + 9);
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    EXPECT_TRUE(Warnings().empty()) << Warnings().front();

    // Colour pictures are 24-bit with power-of-two sides; each opacity picture is 8-bit grey of its colour's size.
    for (const std::string& name : colours) {
        const Image colour = LoadImage(name);
        EXPECT_EQ(colour.GetBitsPerPixel(), 24u) << name;
        EXPECT_EQ(colour.GetWidth() & (colour.GetWidth() - 1), 0u) << name;
        EXPECT_EQ(colour.GetHeight() & (colour.GetHeight() - 1), 0u) << name;
        const std::string alphaName = name == CharacterGenerator::kColour
                                          ? CharacterGenerator::kOpacity
                                          : name.substr(0, name.size() - 4) + "_alpha.jpg";
        if (!opacities.count(alphaName))
            continue;
        const Image alpha = LoadImage(alphaName);
        EXPECT_EQ(alpha.GetBitsPerPixel(), 8u) << alphaName;
        EXPECT_EQ(alpha.GetWidth(), colour.GetWidth()) << alphaName;
        EXPECT_EQ(alpha.GetHeight(), colour.GetHeight()) << alphaName;
        opacities.erase(alphaName);
    }
    EXPECT_TRUE(opacities.empty()) << *opacities.begin() << " has no colour picture";
}

TEST_F(SceneFiles, EveryThemeOfTheBackgroundFileAndEveryDecorationExists)
{
    // The themes' kinds and stage indices against the level catalogue: CatalogueAgreementTest.
    const auto file = services.files.OpenTextual("data\\" + std::string(MenuBackgroundGenerator::kIniName), false);
    const std::int32_t count = file->ReadInt();
    for (std::int32_t k = 0; k < count; ++k) {
        std::string name;
        do {
            ASSERT_TRUE(file->ReadLine(name)) << "theme " << k;
        } while (name.empty());
        file->ReadInt(); // kind
        file->ReadInt(); // stage index
        EXPECT_TRUE(services.files.FileExists("data\\ui\\menus\\background\\models\\" + name + ".mlf")) << name;
    }

    // The decorations the background builds, and the extra logo's two pictures.
    const std::string folder = std::string("data\\") + BackgroundDecorationsGenerator::kFolder;
    for (const char* name : {"frame", "logo_tarrowby", "logo_additional", "mount_text", "text_appear", "text",
                             "mount_title", "title_0", "title_1", "title_2", "title_3"})
        EXPECT_TRUE(services.files.FileExists(folder + name + ".mlf")) << name;
    EXPECT_TRUE(services.files.FileExists("data\\ui\\menus\\textures\\publisher_logo_small.jpg"));
    EXPECT_TRUE(services.files.FileExists("data\\ui\\menus\\textures\\publisher_logo_small_alpha.jpg"));
}

TEST_F(SceneFiles, DecorationsUnfoldOverTwentyFiveFramesAndTheTitlesSpanTheName)
{
    const std::string folder = BackgroundDecorationsGenerator::kFolder;
    for (const char* name : {"frame", "logo_tarrowby", "mount_text", "text_appear", "text", "mount_title"}) {
        Model& model = *Load(folder + name + ".mlf");
        EXPECT_EQ(model.GetAnimationControl().GetFrameCount(), 25u) << name;
    }
    Model& frame = *Load(folder + "frame.mlf");
    const BoundingBox open = BoxAt(frame, 24.0f);
    EXPECT_FLOAT_EQ(open.m_worldMin.x, 0.0f);
    EXPECT_FLOAT_EQ(open.m_worldMax.x, Layout::kScreenWidth);
    EXPECT_FLOAT_EQ(open.m_worldMax.y, Layout::kScreenHeight);
    Model& plaque = *Load(folder + "mount_title.mlf");
    const float narrow = BoxAt(plaque, 0.0f).m_worldMax.x - BoxAt(plaque, 0.0f).m_worldMin.x;
    EXPECT_LT(narrow, 0.1f * BackgroundDecorationsGenerator::Plaque().width);
    EXPECT_FLOAT_EQ(BoxAt(plaque, 24.0f).m_worldMin.x, BackgroundDecorationsGenerator::Plaque().left);

    // The four title parts follow one another without a gap across the name's rectangle, inside the plaque.
    float left = BackgroundDecorationsGenerator::Name().left;
    for (int k = 0; k < 4; ++k) {
        const BoundingBox part = Load(folder + "title_" + std::to_string(k) + ".mlf")->m_boundingBox;
        EXPECT_NEAR(part.m_worldMin.x, left, 1e-3f) << k;
        left = part.m_worldMax.x;
    }
    EXPECT_NEAR(left, BackgroundDecorationsGenerator::Name().Right(), 1e-3f);
}

TEST_F(SceneFiles, TheDecorationsAboveTheMenusKeepClearOfTheirControls)
{
    // The background draws these over the menus' windows; open, they may cover a frame's border or its title
    // strip but no button, check box, slider, edit box or list of a menu.
    const std::string folder = BackgroundDecorationsGenerator::kFolder;
    for (const char* name : {"mount_text", "text", "mount_title", "title_0", "title_1", "title_2", "title_3"}) {
        Model& decoration = *Load(folder + name + ".mlf");
        const BoundingBox box =
            BoxAt(decoration, static_cast<float>(decoration.GetAnimationControl().GetFrameCount() - 1));
        for (const LayoutArea& area : Layout::Areas()) {
            const std::string& control = area.name;
            const bool menuControl = control.find('\\') != std::string::npos && !control.starts_with("game_logic\\") &&
                                     !control.starts_with("level_complete\\") && !control.starts_with("controls\\") &&
                                     !control.starts_with("background\\") && !control.ends_with("\\window") &&
                                     !control.ends_with("\\window_area");
            const LayoutRect& rect = area.rect;
            const bool overlaps = box.m_worldMin.x < rect.Right() && rect.left < box.m_worldMax.x &&
                                  box.m_worldMin.y < rect.Top() && rect.bottom < box.m_worldMax.y;
            EXPECT_FALSE(menuControl && overlaps) << name << " covers " << control;
        }
    }
}

TEST_F(SceneFiles, TheGuideHasItsFramesRestsWhereItsRangesMeetAndLeavesTheScreen)
{
    Model& guide = *Load(std::string(CharacterGenerator::kFolder) + "character.mlf");
    ASSERT_EQ(guide.GetAnimationControl().GetFrameCount(), 253u);
    const auto same = [](const BoundingBox& a, const BoundingBox& b) {
        return std::fabs(a.m_worldMin.x - b.m_worldMin.x) < 1e-3f &&
               std::fabs(a.m_worldMin.y - b.m_worldMin.y) < 1e-3f &&
               std::fabs(a.m_worldMax.x - b.m_worldMax.x) < 1e-3f && std::fabs(a.m_worldMax.y - b.m_worldMax.y) < 1e-3f;
    };
    const auto offScreen = [](const BoundingBox& box) {
        return box.m_worldMax.x < 0.0f || box.m_worldMin.x > Layout::kScreenWidth || box.m_worldMax.y < 0.0f ||
               box.m_worldMin.y > Layout::kScreenHeight;
    };
    // Every entry ends and every rest loop stands in the one rest pose; the level-end dance starts from it.
    const BoundingBox rest = BoxAt(guide, 47.0f);
    for (const float frame : {48.0f, 49.0f, 144.0f, 145.0f, 146.0f, 194.0f})
        EXPECT_TRUE(same(BoxAt(guide, frame), rest)) << frame;
    EXPECT_GT(rest.m_worldMin.x, 0.0f);
    EXPECT_LT(rest.m_worldMax.x, Layout::Area("bubble_1").left);
    // Entries come from off the screen, leaves end off it (the dance's end is where its reverse begins).
    for (const float frame : {0.0f, 96.0f, 97.0f, 192.0f, 252.0f})
        EXPECT_TRUE(offScreen(BoxAt(guide, frame))) << frame;

    // The face grid: 16 x 16 cells of 128 pixels, faces opaque in the middle of their region, cell corners clear.
    const KeystrelEngine::ShaderStage& stage = guide.GetShaderUser()->m_stages[0];
    EXPECT_EQ(stage.m_gridColumns, 16u);
    EXPECT_EQ(stage.m_gridRows, 16u);
    EXPECT_EQ(stage.m_frameCount, 256u);
    const Image alpha = LoadImage(CharacterGenerator::kOpacity);
    ASSERT_EQ(alpha.GetWidth(), 2048u);
    ASSERT_EQ(alpha.GetHeight(), 2048u);
    for (const std::uint32_t k : {0u, 100u, 255u}) {
        const std::uint32_t x = (k % 16) * 128, y = (15 - k / 16) * 128;
        EXPECT_GT(AlphaAt(alpha, x + 32, y + 64 + 30), 240) << k;
        EXPECT_LT(AlphaAt(alpha, x + 1, y + 126), 16) << k;
    }
    // The looping phrase ranges (10-16, 181-218, 218-255) meet themselves without a jump of expression.
    const auto sameFace = [](const CharacterPictures::Face& a, const CharacterPictures::Face& b) {
        return std::fabs(a.mouthOpen - b.mouthOpen) < 0.05f && std::fabs(a.eyesOpen - b.eyesOpen) < 0.05f &&
               std::fabs(a.smile - b.smile) < 0.05f && std::fabs(a.lookX - b.lookX) < 0.05f &&
               std::fabs(a.brows - b.brows) < 0.05f;
    };
    EXPECT_TRUE(sameFace(CharacterPictures::FaceAt(10), CharacterPictures::FaceAt(16)));
    EXPECT_TRUE(sameFace(CharacterPictures::FaceAt(181), CharacterPictures::FaceAt(218)));
    EXPECT_TRUE(sameFace(CharacterPictures::FaceAt(218), CharacterPictures::FaceAt(255)));
}

TEST_F(SceneFiles, BubblesWidenFromTheGuideToTheirLayoutWidthOverTwentyFiveFrames)
{
    for (int lines = 1; lines <= 4; ++lines) {
        Model& bubble = *Load(std::string(CharacterGenerator::kFolder) + "text_size" + std::to_string(lines) + ".mlf");
        ASSERT_EQ(bubble.GetAnimationControl().GetFrameCount(), 25u);
        const LayoutRect& area = Layout::Area("bubble_" + std::to_string(lines));
        float width = 0.0f;
        for (int k = 0; k < 25; ++k) {
            const BoundingBox box = BoxAt(bubble, static_cast<float>(k));
            const float now = box.m_worldMax.x - box.m_worldMin.x;
            EXPECT_GT(now, width) << lines << " lines, frame " << k;
            EXPECT_LT(box.m_worldMin.x, area.left) << "the tail points left of the text";
            width = now;
        }
        const BoundingBox widest = BoxAt(bubble, 24.0f);
        EXPECT_FLOAT_EQ(widest.m_worldMax.x, area.Right());
        EXPECT_FLOAT_EQ(widest.m_worldMax.y, area.Top());
    }
}

TEST_F(SceneFiles, BurstsDieOutStreamsKeepFlowingAndScreenEffectsStayFlat)
{
    const std::set<std::string> flat{"upgrade", "cursor_train", "cursor_click", "mana_to_progress", "mana_progress"};
    const std::set<std::string> bursts{"butterfly_appear", "butterfly_swap", "mana_cell", "upgrade", "cursor_click"};
    for (const std::string& name : MenuParticlesGenerator::Names()) {
        const std::unique_ptr<ParticleSystem> loaded(
            particles->LoadParticleSystem(MenuParticlesGenerator::kFolder + name + ".psf", nullptr));
        ParticleSystem* system = particles->CloneParticleSystem(*loaded);
        system->m_looping = !bursts.count(name);
        system->m_emitting = true;
        bool stayedFlat = true;
        for (int frame = 0; frame < 80; ++frame) {
            Frame(0.05f);
            for (const auto& particle : system->GetParticles()) {
                if (!particle.free && system->GetSpriteGroup()->GetSprite(particle.sprite).position.z != 0.0f)
                    stayedFlat = false;
            }
        }
        EXPECT_GT(system->GetPeakLiveCount(), 8u) << name;
        EXPECT_EQ(system->GetLiveCount() == 0, bursts.count(name) == 1) << name;
        if (flat.count(name)) {
            EXPECT_TRUE(stayedFlat) << name;
        }
        particles->DestroyParticleSystem(system);
    }
    EXPECT_TRUE(Errors().empty()) << Errors().front();
}

TEST_F(SceneFiles, TheLogoScreenFillsTheBottomLeftAndTheCursorTipIsItsTopLeftPixel)
{
    const Image logo = LoadImage("ui\\menus\\textures\\publisher_logo_big.jpg");
    ASSERT_EQ(logo.GetWidth(), 1024u);
    ASSERT_EQ(logo.GetHeight(), 1024u);
    // The moth's lit wing shines in the middle of the 800 x 600 part (row 0 the bottom), over a dark corner.
    const std::uint8_t* middle = logo.GetRow(430) + 3 * 470;
    const std::uint8_t* corner = logo.GetRow(10) + 3 * 10;
    EXPECT_GT(middle[0] + middle[1] + middle[2], corner[0] + corner[1] + corner[2] + 150);

    const Image alpha = LoadImage("ui\\cursors\\cursor_alpha.jpg");
    EXPECT_GT(AlphaAt(alpha, 1, alpha.GetHeight() - 2), 200);
    EXPECT_LT(AlphaAt(alpha, alpha.GetWidth() - 2, alpha.GetHeight() - 2), 16);
    EXPECT_LT(AlphaAt(alpha, alpha.GetWidth() - 2, 1), 16);
    EXPECT_EQ(LoadImage("ui\\console\\console.jpg").GetBitsPerPixel(), 24u);
}

} // namespace
