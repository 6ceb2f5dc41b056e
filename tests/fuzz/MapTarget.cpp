// The level map: the input is "ui\\menus\\map\\map.gmf", read as the map window reads it when it is made. A map
// that loads never holds more records than its bytes can, places every marker within the world, and numbers them
// in groups that a check point starts.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "game/app/MapFile.h"
#include "tools/formats/MapFileWriter.h"

#include <cstdlib>

using Formats::MapFileRecord;
using Wispfold::MapElementKind;
using Wispfold::MapElementRecord;

namespace {

bool NumberedAndPlaced(const std::vector<MapElementRecord>& records)
{
    std::uint32_t group = 0;
    std::uint32_t index = 0;
    for (const MapElementRecord& record : records) {
        if (record.kind == MapElementKind::CheckPoint) {
            ++group;
            index = 0;
        }
        if (record.level.stage != group || record.level.level != index++ ||
            !Fuzzing::AllWithin(record.matrix.m, KeystrelEngine::FileValues::kWorld))
            return false;
    }
    return true;
}

MapFileRecord Record(std::uint32_t kind, float x, float y)
{
    MapFileRecord record;
    record.kind = kind;
    record.matrix[3] = x;
    record.matrix[7] = y;
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    static KeystrelEngine::MessageManager log("", "Quellhaven", "", false, false);
    static KeystrelEngine::FileManager files(&log, folder.GetBase(), "Data");
    folder.Write("Data/ui/menus/map/map.gmf", data, size);
    std::vector<MapElementRecord> records;
    try {
        records = Wispfold::MapFile::Read(&files, &log);
    } catch (const KeystrelEngine::Error&) {
        log.m_history.clear();
        return 0;
    }
    if (records.size() > size / Wispfold::MapFile::kRecordSize || !NumberedAndPlaced(records))
        std::abort();
    log.m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    seeds.Add("empty.gmf", Formats::BuildMapFile({}));
    seeds.Add("two-stages.gmf", Formats::BuildMapFile({Record(0, 100, 100), Record(3, 140, 110), Record(3, 180, 120),
                                                       Record(2, 220, 130), Record(3, 260, 140), Record(1, 300, 150)}));
    seeds.Add("check-point-first.gmf", Formats::BuildMapFile({Record(2, 50, 500), Record(3, 90, 480)}));
    std::vector<MapFileRecord> winding;
    for (std::uint32_t i = 0; i < 40; ++i)
        winding.push_back(Record(i % 8 == 0 ? 2 : 3, 20.0f * (i % 10), 60.0f * (i / 10)));
    winding.push_back(Record(1, 780, 580));
    seeds.Add("winding.gmf", Formats::BuildMapFile(winding));
}
