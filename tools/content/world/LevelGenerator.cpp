#include "tools/content/world/LevelGenerator.h"

#include "tools/content/world/BoardMap.h"
#include "tools/content/world/CameraFraming.h"

#include <sstream>

namespace Content {
namespace {

constexpr const char* kCatalogueReader = "LevelManager";
constexpr const char* kBoardReader = "GameLogicData";
constexpr const char* kCameraReader = "CameraFile";

Formats::Bytes TextBytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::string StageList(const StageDesign& stage, std::size_t index)
{
    std::ostringstream text;
    text << stage.levels.size() << "\r\n";
    for (std::size_t level = 0; level < stage.levels.size(); ++level) {
        text << LevelGenerator::BoardName(index, level) << "\r\n"
             << stage.colours << "\r\n"
             << stage.environment << "\r\n"
             << stage.levels[level].factor << "\r\n";
    }
    return text.str();
}

} // namespace

const std::vector<StageDesign>& LevelGenerator::Stages()
{
    static const std::vector<StageDesign> stages{
        {"meadow",
         4,
         {{{".1.1.", "1.1.1", ".1.1.", "1.1.1", ".1.1.", "1.1.1", ".1.1.", "1.1.1"}, 3.0f},
          {{".o.1.o.", "o.1.1.o", ".o.1.o.", "1.1.1.1", ".1.1.1.", "o.1.1.o", ".o.1.o.", "o.o.o.o"}, 1.2f},
          {{".1.o.1", "o.1.1.", ".1.o.1", "1.o.1.", ".o.1.o", "1.o.1.", ".1.o.1", "o.1.1.", ".1.o.1", "1.o.1."}, 1.8f},
          {{"...1...", "..1.1..", ".1.o.1.", "1.o.o.1", ".o.1.o.", "1.1.1.1", ".1.1.1.", "1.1.1.1", ".o.1.o.",
            "1.o.o.1", ".1.o.1.", "..1.1..", "...1...", "......."},
           1.6f}}},
        {"grove",
         5,
         {{{".1.2.1", "1.c.1.", ".o.1.o", "2.1.2.", ".1.c.1", "1.c.1.", ".2.1.2", "o.1.o.", ".1.c.1", "1.2.1."}, 2.0f},
          {{".1.2.1.", "1.o.o.1", ".c.1.c.", "2.1.1.2", ".1.C.1.", "2.1.1.2", ".c.1.c.", "1.o.o.1", ".1.2.1.",
            "o.1.1.o"},
           1.8f},
          {{"...2...", "..1.1..", ".1.c.1.", "1.o.o.1", ".2.1.2.", "1.c.c.1", ".1.C.1.", "1.c.c.1", ".2.1.2.",
            "1.o.o.1", ".1.c.1.", "..1.1..", "...2...", "......."},
           1.7f},
          {{".1.2.2.1", "1.c.o.c.", ".1.1.1.1", "2.C.1.2.", ".o.1.o.1", "1.o.1.o.", ".2.1.C.2", "1.1.1.1.", ".c.o.c.1",
            "1.2.2.1."},
           1.6f}}},
        {"spring",
         5,
         {{{"1.2.2.1.", ".w.1.w.1", "1.b.1.b.", ".2.c.2.1", "o.1.1.o.", ".2.c.2.1", "1.b.1.b.", ".w.1.w.1", "1.2.2.1."},
           2.0f},
          {{".1.b.1.2", "2.1.w.1.", ".c.2.c.1", "1.o.b.o.", ".1.2.1.w", "w.1.2.1.", ".o.b.o.1", "1.c.2.c.", ".1.w.1.2",
            "2.1.b.1."},
           1.8f},
          {{".2.1.2.", "1.b.b.1", ".c.1.c.", "1.w.w.1", ".2.B.2.", "1.1.1.1", ".1.1.1.", "2.c.c.2", ".o.b.o.",
            "1.w.w.1", ".1.2.1.", "1.b.b.1"},
           1.7f},
          {{".1.2.2.1.", "1.b.1.b.1", ".c.w.w.c.", "2.1.B.1.2", ".o.1.1.o.", "1.1.c.1.1", ".o.1.1.o.", "2.1.B.1.2",
            ".c.w.w.c.", "1.b.1.b.1"},
           1.6f}}},
    };
    return stages;
}

std::string LevelGenerator::CameraText(const Formats::BoardFile& board)
{
    std::ostringstream text;
    text.setf(std::ios::fixed);
    text.precision(3);
    for (float value : CameraFraming::Frame(board))
        text << value << "\r\n";
    return text.str();
}

std::string LevelGenerator::BoardName(std::size_t stage, std::size_t level)
{
    return "s" + std::to_string(stage) + "l" + std::to_string(level);
}

void LevelGenerator::List(ArtList& list) const
{
    const std::vector<StageDesign>& stages = Stages();
    list.AddFile("levels\\stages_info.ini", kCatalogueReader,
                 [count = stages.size()] { return TextBytes(std::to_string(count) + "\r\n"); });
    for (std::size_t s = 0; s < stages.size(); ++s) {
        list.AddFile("levels\\stage" + std::to_string(s) + ".ini", kCatalogueReader,
                     [s] { return TextBytes(StageList(Stages()[s], s)); });
        for (std::size_t l = 0; l < stages[s].levels.size(); ++l) {
            const std::string stem = "boards\\" + BoardName(s, l);
            const auto board = [s, l] { return BoardMap::Build(Stages()[s].levels[l].map); };
            list.AddFile(stem + ".blf", kBoardReader, [board] { return Formats::BuildBoardFile(board()); });
            list.AddFile(stem + ".ini", kCatalogueReader,
                         [board] { return TextBytes(std::to_string(BoardMap::ManaTarget(board())) + "\r\n"); });
            list.AddFile(stem + "_camera.ini", kCameraReader, [board] { return TextBytes(CameraText(board())); });
        }
    }
}

} // namespace Content
