// Level 1-1 drawn on the GL back end with engine classes only, as the level shows it: its cells, the border walls
// on every side without a neighbour and a butterfly of the level's colours with its shadow on every cell, at the
// board file's positions under the oblique view of its camera file, the first three carrying the three bonus
// tokens; then once more with the level's environment round it. The pictures are saved for people to look at.
#include "engine/render/Light.h"
#include "engine/render/ShaderDescriptor.h"
#include "tests/engine/render/gl/ScenePixelFixture.h"
#include "tests/tools/content/WorldArt.h"
#include "tests/tools/content/WorldFiles.h"

#include <cmath>
#include <gtest/gtest.h>

using KeystrelEngine::Camera;
using KeystrelEngine::Image;
using KeystrelEngine::Matrix4;
using KeystrelEngine::Model;
using KeystrelEngine::ScreenPoint;
using KeystrelEngine::Vector3;
using namespace WorldTesting;

namespace {

const char* const kCellModels[] = {"cell_empty", "cell_single", "cell_double"};
const char* const kBonusModels[] = {"item_destruction", "combination_destruction", "color_destruction"};

class WorldPixels : public RenderTesting::ScenePixelFixture
{
protected:
    void SetUp() override
    {
        ScenePixelFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        WriteWorld();
        render->m_clearColor = {0.1f, 0.14f, 0.1f, 1.0f};
    }

    Model* Place(const std::string& name, const Matrix4& matrix)
    {
        Model* model = models->LoadModel(name, nullptr, 0x20);
        model->SetWorldMatrix(matrix);
        model->m_flags |= Model::kShown;
        return model;
    }

    static Matrix4 At(const Vector3& position, float heading = 0.0f)
    {
        Matrix4 matrix;
        matrix.MakeTranslation(position);
        return matrix * Matrix4::RotationZ(heading);
    }

    static bool HasCell(const Board& board, int x, int y)
    {
        return std::any_of(board.cells.begin(), board.cells.end(), [x, y](const CellRecord& cell) {
            return static_cast<int>(cell.x) == x && static_cast<int>(cell.y) == y;
        });
    }

    // A butterfly resting over the cell, its box's centre at the hover point (returned in hover), and its shadow
    // on the cell, of the given colour and wing frame.
    Model* Butterfly(const Vector3& top, int colour, float frame, float heading, Vector3& hover)
    {
        const std::string texture = "game_objects\\butterfly\\textures\\butterfly_" + std::to_string(colour);
        Model* butterfly = Place("game_objects\\butterfly\\butterfly.mlf", Matrix4());
        // As the play code does: blended butterflies are drawn after the opaque world, farthest first.
        butterfly->SetFlags(Model::kDrawLast);
        butterfly->SetShaderDescriptor(
            KeystrelEngine::ShaderDescriptor::FromTextureSingleFrame(texture + ".jpg", texture + "_alpha.jpg"));
        butterfly->GetAnimationControl().m_position = frame;
        butterfly->Update(false);
        const KeystrelEngine::BoundingBox& box = butterfly->m_boundingBox;
        const Vector3 centre{0.5f * (box.m_worldMin.x + box.m_worldMax.x), 0.5f * (box.m_worldMin.y + box.m_worldMax.y),
                             0.5f * (box.m_worldMin.z + box.m_worldMax.z)};
        const float half = 0.5f * (box.m_worldMax.z - box.m_worldMin.z);
        hover = {top.x, top.y, top.z + 1.1f * half};
        butterfly->SetWorldMatrix(At(hover, heading + 1.5707964f) * At({-centre.x, -centre.y, -centre.z}));

        Model* shadow =
            Place("game_objects\\shadow\\shadow.mlf", At({top.x, top.y, top.z + 0.25f}, heading + 1.5707964f));
        const std::string shadowTexture = "game_objects\\shadow\\textures\\butterfly_shadow";
        shadow->SetShaderDescriptor(KeystrelEngine::ShaderDescriptor::FromTextureSingleFrame(
            shadowTexture + ".jpg", shadowTexture + "_" + std::to_string(colour) + "_alpha.jpg"));
        shadow->GetAnimationControl().m_position = frame;
        return butterfly;
    }
};

} // namespace

TEST_F(WorldPixels, LevelOneOneShowsItsCellsWallsAndButterfliesUnderItsObliqueCamera)
{
    const std::vector<std::vector<Level>> stages = ReadCatalogue();
    ASSERT_FALSE(stages.empty());
    const Level& level = stages[0][0];
    const Board board = ReadBoard("boards\\" + level.board + ".blf");
    const std::vector<float> values = ReadCameraValues(level.board);
    ASSERT_EQ(values.size(), 5u);

    Camera& camera = *cameras->GetDefaultCamera();
    camera.m_near = 50.0f;
    camera.m_far = 2000.0f;
    const float shift = PlaceLevelCamera(camera, values, 1.0f);
    camera.m_thirdMatrix.MakeTranslation({shift, 0.0f, 0.0f});
    camera.m_attached = true;
    lights->m_ambient = {0.35f, 0.35f, 0.35f, 1.0f};
    KeystrelEngine::Light* sun = lights->CreateLight();
    sun->type = KeystrelEngine::Light::TypeDirectional;
    sun->direction = Vector3{0.4f, 0.3f, -0.85f}.Normalized();
    sun->ambient = {0.0f, 0.0f, 0.0f, 1.0f};

    const int steps[6][2] = {{0, 2}, {1, 1}, {1, -1}, {0, -2}, {-1, -1}, {-1, 1}};
    std::vector<Model*> butterflies;
    std::vector<Vector3> tops;
    std::vector<Vector3> hovers;
    for (const CellRecord& cell : board.cells) {
        const Vector3 position{board.X(cell), board.Y(cell), 0.0f};
        Place(std::string("game_objects\\cell\\") + kCellModels[cell.kind] + ".mlf", At(position));
        for (int d = 0; d < 6; ++d) {
            if (!HasCell(board, static_cast<int>(cell.x) + steps[d][0], static_cast<int>(cell.y) + steps[d][1]))
                Place("game_objects\\board_border\\border_" + std::to_string(d) + ".mlf", At(position));
        }
        const int colour = static_cast<int>(tops.size() * 3 / 2) % level.colours;
        const float frame = (cell.x + cell.y) % 3 == 0 ? 25.0f : 40.0f + static_cast<float>(cell.y);
        tops.push_back({position.x, position.y, 4.0f});
        butterflies.push_back(Butterfly(tops.back(), colour, frame, 0.7f * static_cast<float>(cell.x + 2 * cell.y),
                                        hovers.emplace_back()));
    }
    // The three bonus tokens on the butterflies of the first three cells, placed at their hover points.
    for (std::size_t k = 0; k < 3; ++k) {
        Model* token = Place(std::string("game_objects\\bonuses\\") + kBonusModels[k] + ".mlf", At(hovers[k]));
        token->SetFlags(Model::kDrawLast);
        token->GetAnimationControl().m_position = 5.0f;
    }
    const Image picture = DrawScene();
    SavePicture(picture, "level_1_1.bmp");
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    EXPECT_TRUE(Warnings().empty()) << Warnings().front();

    // The board lies between the display's bands; around it the clear colour shows.
    const KeystrelEngine::Viewport& viewport = cameras->GetViewport();
    const auto pixel = [&](const Image& image, const Vector3& point) {
        const ScreenPoint p = Camera::ProjectToScreen(camera, point + Vector3{shift, 0.0f, 0.0f}, viewport);
        EXPECT_TRUE(p.y > viewport.height * 80.0f / 600.0f && p.y < viewport.height * 520.0f / 600.0f);
        return RenderTesting::PixelFromBottom(image, static_cast<std::uint32_t>(p.x), static_cast<std::uint32_t>(p.y));
    };
    const std::array<int, 3> clear = RenderTesting::PixelFromBottom(picture, 2, 2);
    EXPECT_EQ(RenderTesting::PixelFromBottom(picture, viewport.width / 2, viewport.height - 3), clear);
    EXPECT_EQ(RenderTesting::PixelFromBottom(picture, viewport.width / 2, 2), clear);

    // Without the butterflies every cell's middle shows its mana; with them most middles show a butterfly.
    for (Model* butterfly : butterflies)
        butterfly->m_flags &= ~Model::kShown;
    const Image bare = DrawScene();
    int covered = 0;
    for (const Vector3& top : tops) {
        const std::array<int, 3> cell = pixel(bare, top);
        EXPECT_NE(cell, clear);
        EXPECT_GT(cell[2], cell[0]) << "the blue of one mana layer";
        covered += pixel(picture, top + Vector3{0.0f, 0.0f, 10.0f}) != pixel(bare, top + Vector3{0.0f, 0.0f, 10.0f});
    }
    EXPECT_GT(covered, static_cast<int>(tops.size()) / 2);

    // The level's environment round the board, its models set up as the level sets them up.
    for (Model* butterfly : butterflies)
        butterfly->m_flags |= Model::kShown;
    const std::vector<SceneryEntry> scenery = ReadEnvironment(level.environment);
    for (std::size_t i = 0; i < scenery.size(); ++i) {
        Model* model =
            Place("environments\\" + level.environment + "\\models\\" + scenery[i].model + ".mlf", Matrix4());
        model->GetAnimationControl().m_position = 3.0f * static_cast<float>(i);
        if (!scenery[i].lit)
            model->m_flags &= ~Model::kLit;
        if (scenery[i].sorted) {
            model->SetFlags(Model::kDrawLast | Model::kFixedDepth | Model::kNoZWrite);
            model->m_sortBias = 100000.0f - 0.01f * static_cast<float>(i);
        }
    }
    const Image dressed = DrawScene();
    SavePicture(dressed, "level_1_1_meadow.bmp");
    EXPECT_NE(RenderTesting::PixelFromBottom(dressed, 2, 2), clear);
    EXPECT_EQ(pixel(dressed, tops[tops.size() / 2]), pixel(picture, tops[tops.size() / 2]));
    EXPECT_TRUE(Errors().empty()) << Errors().front();
}
