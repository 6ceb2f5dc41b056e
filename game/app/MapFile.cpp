#include "game/app/MapFile.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "framework/VersionedFile.h"

namespace Wispfold {

namespace {

using KeystrelEngine::FileBinary;
using KeystrelEngine::FileError;

std::string FormatText(const std::string& path)
{
    return "Incorrect \"" + path + "\" file format";
}

} // namespace

// The count is checked against the bytes left before anything is reserved, and every kind before a record is
// kept: a damaged file yields no records at all, and the kind can index the four marker models.
std::vector<MapElementRecord> MapFile::Read(KeystrelEngine::FileManager* files, const std::string& path)
{
    GameFramework::VersionedFile map(files, kMagic, kVersion);
    map.Open(path, GameFramework::VersionedFile::ModeRead);
    FileBinary& file = map.GetFile();
    const std::uint32_t count = file.ReadU32();
    if (count > file.GetRemaining() / kRecordSize)
        throw FileError(FormatText(path));
    std::vector<MapElementRecord> records(count);
    GameFramework::LevelId next; // group 0 before the first check point
    for (MapElementRecord& record : records) {
        const std::uint32_t kind = file.ReadU32();
        if (kind >= kKindCount)
            throw FileError(FormatText(path));
        record.kind = static_cast<MapElementKind>(kind);
        for (float& value : record.matrix.m)
            value = GameFramework::ReadFloat(file);
        if (record.kind == MapElementKind::CheckPoint)
            next = {next.stage + 1, 0};
        record.level = next;
        ++next.level;
    }
    map.Close();
    return records;
}

} // namespace Wispfold
