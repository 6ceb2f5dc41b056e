// The level catalogue and its boards as the game will read them, checked by a reader of the tests' own (not the
// writer's structures): the catalogue's stages and levels, every board's grid, cells, neighbour distances and
// centring, the stages' cell kinds and the first two levels' balance; and every camera file, whose views are
// built with the engine's camera classes as the level camera builds them, showing every cell between the
// head-up display's bands under any turn of the board.
#include "tests/engine/render/ModelFixture.h"
#include "tests/tools/content/WorldArt.h"
#include "tests/tools/content/WorldFiles.h"
#include "tools/content/Layout.h"
#include "tools/content/world/BoardMap.h"

#include "engine/render/Camera.h"
#include "engine/render/CameraManager.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

using KeystrelEngine::Camera;
using KeystrelEngine::Matrix4;
using KeystrelEngine::Quaternion;
using KeystrelEngine::Vector3;
using namespace WorldTesting;

namespace {

std::size_t Count(const Board& board, bool (*is)(const CellRecord&))
{
    return static_cast<std::size_t>(std::count_if(board.cells.begin(), board.cells.end(), is));
}

std::uint32_t ManaLayers(const Board& board)
{
    std::uint32_t layers = 0;
    for (const CellRecord& cell : board.cells)
        layers += cell.kind;
    return layers;
}

class WorldBoards : public RenderTesting::ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        WorldTesting::WriteWorld();
    }
};

} // namespace

TEST_F(WorldBoards, TheCatalogueListsThreeStagesOfFourLevelsWithTheirFiles)
{
    const std::vector<std::vector<Level>> stages = ReadCatalogue();
    ASSERT_EQ(stages.size(), 3u);
    const char* environments[] = {"meadow", "grove", "spring"};
    for (std::size_t s = 0; s < stages.size(); ++s) {
        ASSERT_EQ(stages[s].size(), 4u);
        for (const Level& level : stages[s]) {
            SCOPED_TRACE(level.board);
            EXPECT_EQ(level.colours, s == 0 ? 4 : 5);
            EXPECT_EQ(level.environment, environments[s]);
            EXPECT_GT(level.factor, 1.0f);
            const Board board = ReadBoard("boards\\" + level.board + ".blf");
            // The board's weight in its stage is its mana.
            EXPECT_EQ(std::stoul(TextLines("boards\\" + level.board + ".ini").at(0)), ManaLayers(board));
            EXPECT_EQ(TextLines("boards\\" + level.board + "_camera.ini").size(), 5u);
        }
    }
    // Level 1-1 is small and generous; level 1-2 has about as many plain cells as mana cells and a tight budget.
    const Board first = ReadBoard("boards\\" + stages[0][0].board + ".blf");
    EXPECT_LE(first.cells.size(), 24u);
    EXPECT_GE(stages[0][0].factor, 2.5f);
    const Board second = ReadBoard("boards\\" + stages[0][1].board + ".blf");
    const double plain = static_cast<double>(Count(second, [](const CellRecord& c) { return c.kind == 0; }));
    EXPECT_NEAR(plain / static_cast<double>(second.cells.size()), 0.5, 0.1);
    EXPECT_LT(ManaLayers(second) * 0.76 * stages[0][1].factor, ManaLayers(second) * 1.0);
}

TEST_F(WorldBoards, EveryBoardIsAConnectedCentredHexGridOfItsStagesCells)
{
    const std::vector<std::vector<Level>> stages = ReadCatalogue();
    for (std::size_t s = 0; s < stages.size(); ++s) {
        for (const Level& level : stages[s]) {
            SCOPED_TRACE(level.board);
            const Board board = ReadBoard("boards\\" + level.board + ".blf");
            EXPECT_GE(board.cells.size(), 20u);
            EXPECT_LE(board.cells.size(), 45u);
            EXPECT_LE(board.width, 64u);
            EXPECT_LE(board.height, 64u);
            std::set<std::pair<std::uint32_t, std::uint32_t>> seen;
            float low[2] = {1e9f, 1e9f}, high[2] = {-1e9f, -1e9f};
            for (const CellRecord& cell : board.cells) {
                EXPECT_LT(cell.x, board.width);
                EXPECT_LT(cell.y, board.height);
                EXPECT_LE(cell.kind, 2u);
                EXPECT_TRUE(seen.insert({cell.x, cell.y}).second) << cell.x << ", " << cell.y;
                const float expected[13] = {cell.floats[0], cell.floats[1], 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
                for (int k = 2; k < 13; ++k)
                    EXPECT_EQ(cell.floats[k], expected[k]) << k;
                low[0] = std::min(low[0], board.X(cell) - 20.0f), high[0] = std::max(high[0], board.X(cell) + 20.0f);
                low[1] = std::min(low[1], board.Y(cell) - 17.3205f),
                high[1] = std::max(high[1], board.Y(cell) + 17.3205f);
            }
            EXPECT_NEAR(low[0] + high[0], 0.0f, 1e-3f);
            EXPECT_NEAR(low[1] + high[1], 0.0f, 1e-3f);
            // Grid neighbours lie 34.64 apart, other cells farther; every cell has a neighbour.
            for (const CellRecord& a : board.cells) {
                bool neighboured = false;
                for (const CellRecord& b : board.cells) {
                    if (&a == &b)
                        continue;
                    const int dx = static_cast<int>(b.x) - static_cast<int>(a.x);
                    const int dy = static_cast<int>(b.y) - static_cast<int>(a.y);
                    const bool neighbour = (dx == 0 && std::abs(dy) == 2) || (std::abs(dx) == 1 && std::abs(dy) == 1);
                    const float distance = std::hypot(board.X(b) - board.X(a), board.Y(b) - board.Y(a));
                    if (neighbour)
                        EXPECT_NEAR(distance, 34.641f, 0.01f);
                    else
                        EXPECT_GT(distance, 34.7f);
                    neighboured = neighboured || neighbour;
                }
                EXPECT_TRUE(neighboured) << a.x << ", " << a.y;
            }
            EXPECT_GT(ManaLayers(board), 0u);
            const auto hard = [](const CellRecord& c) { return c.kind == 2 || c.closed != 0; };
            const auto web = [](const CellRecord& c) { return c.blocked != 0; };
            EXPECT_EQ(Count(board, hard) > 0, s >= 1);
            EXPECT_EQ(Count(board, web) > 0, s >= 2);
        }
    }
}

TEST_F(WorldBoards, EveryCameraFileShowsTheWholeBoardBetweenTheBandsInBothViews)
{
    Camera& camera = *cameras->GetDefaultCamera();
    camera.m_near = 50.0f;
    camera.m_far = 2000.0f; // the lens's default angle: a vertical half-angle of pi / 6 at 4 : 3
    const KeystrelEngine::Viewport screen{0, 0, 800, 600};
    // The head-up display's bands as the in-game window's layout places them.
    const float below = Content::Layout::Area("game_logic\\top_band").bottom;
    const float above = Content::Layout::Area("game_logic\\bottom_band").Top();
    for (const std::vector<Level>& stage : ReadCatalogue()) {
        for (const Level& level : stage) {
            SCOPED_TRACE(level.board);
            const Board board = ReadBoard("boards\\" + level.board + ".blf");
            const std::vector<float> values = ReadCameraValues(level.board);
            ASSERT_EQ(values.size(), 5u);
            for (float v : {0.0f, 1.0f}) {
                const float shift = PlaceLevelCamera(camera, values, v);
                cameras->Update();
                for (float turn : {0.0f, 1.5707964f, 3.1415927f, 4.712389f, 0.4f, 2.3f}) {
                    Matrix4 scene;
                    scene.MakeTranslation({shift, 0.0f, 0.0f});
                    scene = scene * Matrix4::RotationZ(-turn);
                    for (const CellRecord& cell : board.cells) {
                        for (int corner = 0; corner < 7; ++corner) {
                            const float angle = 1.0471976f * static_cast<float>(corner);
                            const float r = corner < 6 ? 20.0f : 0.0f;
                            for (float z : {-4.0f, 4.0f, corner < 6 ? 4.0f : 20.0f}) {
                                const Vector3 point = scene.TransformPoint(
                                    {board.X(cell) + r * std::cos(angle), board.Y(cell) + r * std::sin(angle), z});
                                const KeystrelEngine::ScreenPoint p = Camera::ProjectToScreen(camera, point, screen);
                                ASSERT_TRUE(p.x > 0.0f && p.x < 800.0f && p.y > above && p.y < below)
                                    << "view " << v << " turn " << turn << " cell " << cell.x << ", " << cell.y
                                    << " at " << p.x << ", " << p.y;
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST(BoardMapTest, MapsThatCannotBeBoardsAreRefused)
{
    const std::vector<std::vector<std::string>> bad{
        {"1.x", ".1."}, // an unknown character
        {"11.", ".1."}, // a cell off the doubled rows
        {"1.1", ".1"},  // lines of different lengths
        {"...", "..."}, // no cell
        {},
    };
    for (const std::vector<std::string>& map : bad)
        EXPECT_THROW(Content::BoardMap::Build(map), std::invalid_argument) << (map.empty() ? "" : map[0]);
    // Two cells, the second at (1, 0) of row 0: centred between them.
    const Formats::BoardFile board = Content::BoardMap::Build({".1", "2."});
    ASSERT_EQ(board.cells.size(), 2u);
    EXPECT_FLOAT_EQ(board.cells[0].position[0], 15.0f);
    EXPECT_FLOAT_EQ(board.cells[1].position[1], -8.660254f);
    EXPECT_EQ(Content::BoardMap::ManaTarget(board), 3u);
}
