// Level lists: the input is the level list of the only stage, read by the game's catalogue at start-up with the
// board settings files of boards "ring" and "meadow"; a catalogue that loads holds level factors above 0 and board
// values within their bound, and its stage sums grow level by level up to the stage's total without wrapping.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"
#include "game/play/LevelManager.h"

#include <cstdlib>
#include <string>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

void WriteCatalogue(const Fuzzing::FuzzFolder& folder)
{
    folder.Write("Data/levels/stages_info.ini", Bytes("1\n"));
    folder.Write("Data/boards/ring.ini", Bytes("11\n"));
    folder.Write("Data/boards/meadow.ini", Bytes("4000000000\n"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    static KeystrelEngine::MessageManager log("", "Quellhaven", "", false, false);
    static KeystrelEngine::FileManager files(&log, folder.GetBase(), "Data");
    static const bool catalogue = (WriteCatalogue(folder), true);
    (void)catalogue;
    folder.Write("Data/levels/stage0.ini", data, size);
    try {
        const Wispfold::LevelManager levels(&log, &files);
        const std::uint32_t count = levels.GetStage(0).levelCount;
        std::uint32_t sum = 0;
        for (std::uint32_t level = 0; level < count; ++level) {
            const auto& record = static_cast<const Wispfold::LevelRecord&>(*levels.GetLevel({0, level}));
            if (!KeystrelEngine::FileValues::kScale.Holds(record.levelFactor) || record.boardValue < 0 ||
                record.boardValue > Wispfold::LevelManager::kMaxBoardValue ||
                levels.SumStageBoardValuesUpTo(0, level) != (sum += static_cast<std::uint32_t>(record.boardValue)))
                std::abort();
            levels.IsLastLevel({0, level});
        }
        if (levels.SumStageBoardValues(0) != sum)
            std::abort();
    } catch (const KeystrelEngine::Error&) {
    }
    log.m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    seeds.Add("two_levels.ini", Bytes("2\n\nring\n3\n\nforest\n1.5\nmeadow\n5\ngarden\n0.25\n"));
    seeds.Add("utf16.ini", {0xFF, 0xFE, '1', 0, '\n', 0, 'r', 0, 'i',  0, 'n', 0, 'g',  0,
                            '\n', 0,    '1', 0, '\n', 0, 'f', 0, '\n', 0, '2', 0, '\n', 0});
    seeds.Add("empty.ini", Bytes("0\n"));
}
