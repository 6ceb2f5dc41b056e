#include "game/app/MapFile.h"

#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/StringUtils.h"
#include "framework/VersionedFile.h"

namespace Wispfold {

using KeystrelEngine::FileBinary;

// The count is checked against the bytes left before anything is reserved, and every kind and every matrix value
// before a record is kept: a damaged file yields no records at all, the kind can index the four marker models,
// and every marker lies where it can be drawn and clicked. Bytes after the last record get one warning.
std::vector<MapElementRecord> MapFile::Read(KeystrelEngine::FileManager* files, KeystrelEngine::MessageManager* log,
                                            const std::string& path)
{
    GameFramework::VersionedFile map(files, kMagic, kVersion);
    map.Open(path, GameFramework::VersionedFile::ModeRead);
    FileBinary& file = map.GetFile();
    KeystrelEngine::FileValues values(path);
    const std::uint32_t count = file.ReadU32();
    if (count > file.GetRemaining() / kRecordSize)
        values.Refuse();
    std::vector<MapElementRecord> records(count);
    GameFramework::LevelId next; // group 0 before the first check point
    for (std::uint32_t i = 0; i < count; ++i) {
        MapElementRecord& record = records[i];
        const std::uint32_t kind = file.ReadU32();
        if (kind >= kKindCount)
            values.Refuse();
        record.kind = static_cast<MapElementKind>(kind);
        const std::string matrix = "the matrix of record " + KeystrelEngine::FormatUnsigned(i + 1);
        for (float& value : record.matrix.m)
            value = values.Require(GameFramework::ReadFloat(file), KeystrelEngine::FileValues::kWorld, matrix);
        if (record.kind == MapElementKind::CheckPoint)
            next = {next.stage + 1, 0};
        record.level = next;
        ++next.level;
    }
    values.CheckEnd(file);
    values.WarnOfNote(*log);
    map.Close();
    return records;
}

} // namespace Wispfold
