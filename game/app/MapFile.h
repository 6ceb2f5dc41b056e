// The level map file ("data\\ui\\menus\\map\\map.gmf"): the game's versioned header ("VXGMF", version 100), a
// u32 count and that many 68-byte records, little-endian: the marker's kind (0 start, 1 finish, 2 check point,
// 3 path) and its 4 x 4 placement matrix, row by row as Matrix4 holds it. A check point starts a new group; the
// records before the first one form group 0. Each record names the level (group, index within the group) its
// marker stands for.
#pragma once

#include "engine/render/Matrix4.h"
#include "framework/LevelManagerBase.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {
class FileManager;
class MessageManager;
} // namespace KeystrelEngine

namespace Wispfold {

enum class MapElementKind : std::uint32_t
{
    Start = 0,
    Finish = 1,
    CheckPoint = 2, // starts a group
    Path = 3,
};

struct MapElementRecord
{
    MapElementKind kind = MapElementKind::Start;
    KeystrelEngine::Matrix4 matrix;
    GameFramework::LevelId level; // stage = group, level = index within the group
};

class MapFile
{
public:
    static constexpr char kPath[] = "data\\ui\\menus\\map\\map.gmf";
    static constexpr char kMagic[] = "VXGMF";
    static constexpr std::uint32_t kVersion = 100;
    static constexpr std::uint32_t kKindCount = 4;
    static constexpr std::uint32_t kRecordSize = 68;

    // Reads the whole file. A kind outside 0..3, a matrix value outside the world or a count the bytes left cannot
    // hold is refused with the format error before any record is kept; the versioned file's own errors pass on
    // (FileError). Bytes after the last record are logged as a warning.
    static std::vector<MapElementRecord> Read(KeystrelEngine::FileManager* files, KeystrelEngine::MessageManager* log,
                                              const std::string& path = kPath);
};

} // namespace Wispfold
