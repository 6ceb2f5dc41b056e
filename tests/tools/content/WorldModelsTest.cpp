// The board's world as the engine reads it: every model, particle system and texture of the world generators
// loads through its manager with its ".srf" and pictures and leaves no warning or error in the log; the
// animated models have the frame counts the play code's animation ranges need; the cells and walls have the
// measures the board lays out.
#include "tests/engine/render/ParticleFixture.h"
#include "tests/tools/content/WorldArt.h"
#include "tests/tools/content/WorldFiles.h"

#include "engine/render/Image.h"
#include "engine/render/Shader.h"
#include "engine/render/ShaderUser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <set>

using KeystrelEngine::Image;
using KeystrelEngine::Model;

namespace {

class WorldModels : public RenderTesting::ParticleFixture
{
protected:
    void SetUp() override
    {
        ParticleFixture::SetUp();
        WorldTesting::WriteWorld();
    }

    Model* Load(const std::string& name)
    {
        Model* model = models->LoadModel(name, nullptr, 0x20);
        model->Update(false);
        return model;
    }

    static bool PowerOfTwo(std::uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }
};

using Rgb = std::array<double, 3>;

// CIELAB (D65) of an sRGB colour seen through a colour vision's matrix on linear RGB.
Rgb SeenLab(const Rgb& srgb, const double (&vision)[3][3])
{
    const double toXyz[3][3] = {{0.4124, 0.3576, 0.1805}, {0.2126, 0.7152, 0.0722}, {0.0193, 0.1192, 0.9505}};
    const double white[3] = {0.95047, 1.0, 1.08883};
    Rgb linear, f;
    for (int i = 0; i < 3; ++i)
        linear[i] = srgb[i] <= 0.04045 ? srgb[i] / 12.92 : std::pow((srgb[i] + 0.055) / 1.055, 2.4);
    for (int i = 0; i < 3; ++i) {
        double t = 0.0;
        for (int j = 0; j < 3; ++j)
            t += toXyz[i][j] * std::clamp(std::inner_product(linear.begin(), linear.end(), vision[j], 0.0), 0.0, 1.0);
        f[i] = t / white[i] > 0.008856 ? std::cbrt(t / white[i]) : 7.787 * t / white[i] + 16.0 / 116.0;
    }
    return {116.0 * f[1] - 16.0, 500.0 * (f[0] - f[1]), 200.0 * (f[1] - f[2])};
}

} // namespace

TEST_F(WorldModels, EveryFileLoadsThroughItsManagerWithoutComplaint)
{
    std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> colourSizes;
    int modelCount = 0;
    for (const Content::ManifestEntry& entry : WorldTesting::WorldTool().Manifest()) {
        SCOPED_TRACE(entry.name);
        if (entry.reader == "ModelManager") {
            const Model* model = Load(entry.name);
            ++modelCount;
            // Every world model shows a texture.
            ASSERT_NE(model->GetShaderUser()->GetShader()->GetTexture(0, 0), nullptr);
        } else if (entry.reader == "ParticleSystemManager") {
            const std::unique_ptr<KeystrelEngine::ParticleSystem> system(
                particles->LoadParticleSystem(entry.name, nullptr));
        } else if (entry.reader == "TextureManager") {
            Image image;
            ASSERT_TRUE(Image::Load(&services.files, "data\\" + entry.name, image, &services.log));
            EXPECT_TRUE(PowerOfTwo(image.GetWidth()) && PowerOfTwo(image.GetHeight()));
            const bool alpha = entry.name.ends_with("_alpha.jpg");
            EXPECT_EQ(image.GetBitsPerPixel(), alpha ? 8u : 24u);
            const std::string stem = entry.name.substr(0, entry.name.size() - (alpha ? 10 : 4));
            if (!alpha) {
                colourSizes[stem] = {image.GetWidth(), image.GetHeight()};
            } else if (colourSizes.count(stem)) {
                EXPECT_EQ(colourSizes[stem], std::make_pair(image.GetWidth(), image.GetHeight()));
            }
        }
    }
    EXPECT_GT(modelCount, 10);
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    EXPECT_TRUE(Warnings().empty()) << Warnings().front();
}

TEST_F(WorldModels, AnimatedModelsHaveTheFramesOfTheirRanges)
{
    const std::map<std::string, std::uint32_t> frames{
        {"game_objects\\cell\\cell_select.mlf", 51},
        {"game_objects\\cell\\cell_tip.mlf", Content::CellGenerator::kTipFrames},
        {"game_objects\\butterfly\\butterfly.mlf", 76},
        {"game_objects\\shadow\\shadow.mlf", 76},
        {"game_objects\\bonuses\\item_destruction.mlf", Content::BonusGenerator::kFrames},
        {"game_objects\\bonuses\\combination_destruction.mlf", Content::BonusGenerator::kFrames},
        {"game_objects\\bonuses\\color_destruction.mlf", Content::BonusGenerator::kFrames},
    };
    for (const auto& [name, count] : frames)
        EXPECT_EQ(Load(name)->GetAnimationControl().GetFrameCount(), count) << name;
}

TEST_F(WorldModels, CellsAreCentredHexagonsAndWallsCloseTheirSide)
{
    // Every cell look has the same box, centred on z = 0, so any cell's pick box and top are the same.
    for (const char* name : {"cell_empty", "cell_single", "cell_double"}) {
        const Model* cell = Load(std::string("game_objects\\cell\\") + name + ".mlf");
        const KeystrelEngine::BoundingBox& box = cell->m_boundingBox;
        EXPECT_NEAR(box.m_worldMin.x, -20.0f, 1e-3f) << name;
        EXPECT_NEAR(box.m_worldMax.x, 20.0f, 1e-3f) << name;
        EXPECT_NEAR(box.m_worldMax.y, 17.3205f, 1e-3f) << name;
        EXPECT_NEAR(box.m_worldMin.z, -4.0f, 1e-3f) << name;
        EXPECT_NEAR(box.m_worldMax.z, 4.0f, 1e-3f) << name;
    }
    // The wall of direction d lies across the side towards the neighbour of direction d, beyond the cell.
    const float angles[6] = {90.0f, 30.0f, -30.0f, -90.0f, -150.0f, 150.0f};
    for (int d = 0; d < 6; ++d) {
        const Model* wall = Load("game_objects\\board_border\\border_" + std::to_string(d) + ".mlf");
        const KeystrelEngine::BoundingBox& box = wall->m_boundingBox;
        const float mx = 0.5f * (box.m_worldMin.x + box.m_worldMax.x);
        const float my = 0.5f * (box.m_worldMin.y + box.m_worldMax.y);
        const float angle = std::atan2(my, mx) * 57.29578f;
        EXPECT_NEAR(angle, angles[d], 2.0f) << d; // the box of a slanted wall leans a little
        EXPECT_GT(std::hypot(mx, my), 17.3f) << d;
        EXPECT_LT(std::hypot(mx, my), 24.0f) << d;
        EXPECT_GT(box.m_worldMax.z, 4.0f) << d; // above the cells' tops
    }
}

TEST_F(WorldModels, EveryStagesEnvironmentListsGroundSwayingPlantsAndSortedWater)
{
    std::set<std::string> environments;
    for (const std::vector<WorldTesting::Level>& stage : WorldTesting::ReadCatalogue())
        environments.insert(stage.front().environment);
    ASSERT_EQ(environments.size(), 3u);
    for (const std::string& environment : environments) {
        SCOPED_TRACE(environment);
        const std::vector<WorldTesting::SceneryEntry> entries = WorldTesting::ReadEnvironment(environment);
        EXPECT_GE(entries.size(), 3u);
        EXPECT_LE(entries.size(), 6u);
        int swaying = 0, water = 0;
        for (const WorldTesting::SceneryEntry& entry : entries) {
            Model* model = Load("environments\\" + environment + "\\models\\" + entry.model + ".mlf");
            const std::uint32_t frames = model->GetAnimationControl().GetFrameCount();
            swaying += entry.randomPhase && frames > 1;
            water += entry.sorted && !entry.lit && frames > 1;
            // Scenery stands on the ground below the board's walls.
            EXPECT_LT(model->m_boundingBox.m_worldMin.z, -6.0f) << entry.model;
        }
        EXPECT_EQ(entries.front().model, "ground");
        EXPECT_FALSE(entries.front().lit);
        EXPECT_GE(swaying, 1);
        EXPECT_EQ(water, 1);
    }
    EXPECT_TRUE(Errors().empty()) << Errors().front();
}

// Every pair of the board's colours (butterflies' wings by opacity, the cells round their tops' middle) stays apart
// under normal sight, protanopia, deuteranopia and tritanopia (Machado, Oliveira and Fernandes, full severity).
TEST_F(WorldModels, ButterfliesAndCellsStayApartForTheColourBlind)
{
    constexpr double kMinimumDistance = 24.0; // CIELAB units; the closest pair now stands 25.5 apart
    const double visions[4][3][3] = {
        {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}},
        {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}},
        {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}},
        {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}};
    std::vector<std::pair<std::string, Rgb>> colours;
    for (const std::string name :
         {"butterfly_0", "butterfly_1", "butterfly_2", "butterfly_3", "butterfly_4", "cell_0", "cell_1", "cell_2"}) {
        const bool butterfly = name.starts_with("butterfly");
        const std::string file = "data\\game_objects\\" + name.substr(0, name.find('_')) + "\\textures\\" + name;
        Image colour, alpha;
        ASSERT_TRUE(Image::Load(&services.files, file + ".jpg", colour, &services.log));
        ASSERT_TRUE(!butterfly || Image::Load(&services.files, file + "_alpha.jpg", alpha, &services.log));
        std::array<double, 4> sum{}; // red, green, blue and the weight
        for (std::uint32_t i = 0; i < colour.GetWidth() * colour.GetHeight(); ++i) {
            const double weight = butterfly
                                      ? alpha.GetPixels()[i]
                                      : std::hypot(i % colour.GetWidth() - 63.5, i / colour.GetWidth() - 63.5) < 48.0;
            for (int c = 0; c < 4; ++c)
                sum[c] += weight * (c < 3 ? colour.GetPixels()[3 * i + c] / 255.0 : 1.0);
        }
        colours.emplace_back(name, Rgb{sum[0] / sum[3], sum[1] / sum[3], sum[2] / sum[3]});
    }
    for (const auto& vision : visions)
        for (std::size_t a = 0; a < colours.size(); ++a)
            for (std::size_t b = a + 1; b < colours.size(); ++b) {
                const Rgb p = SeenLab(colours[a].second, vision), q = SeenLab(colours[b].second, vision);
                EXPECT_GE(std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]), kMinimumDistance)
                    << colours[a].first << " / " << colours[b].first << " under vision " << (&vision - visions);
            }
}
