#include "tools/content/menus/MapArt.h"

#include "tools/content/Layout.h"
#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Shapes.h"
#include "tools/content/art/Surface.h"
#include "tools/content/menus/MenuPictures.h"
#include "tools/content/menus/ValleyPicture.h"
#include "tools/content/world/LevelGenerator.h"

#include <cmath>
#include <string>

namespace Content {
namespace {

enum MapKind : std::uint32_t
{
    kStart = 0,
    kFinish = 1,
    kCheckPoint = 2,
    kPath = 3,
};

struct MarkerModel
{
    const char* name;
    MarkerKind kind;
    float radius;
};

const MarkerModel kMarkers[] = {
    {"start", MarkerKind::Start, 20.0f},
    {"finish", MarkerKind::Finish, 22.0f},
    {"check_point", MarkerKind::CheckPoint, 18.0f},
    {"path", MarkerKind::Path, 11.0f},
    {"path_check_point", MarkerKind::PathCheckPoint, 13.0f},
};

std::string TextureStem(const char* name)
{
    return std::string("ui\\menus\\map\\textures\\") + name;
}

ModelArt Marker(const MarkerModel& marker)
{
    const std::string stem = TextureStem(marker.name);
    return {ModelFiles::Static(Shapes::Disc(marker.radius, 32)),
            Surface::Describe(SurfaceLook(stem + ".jpg")
                                  .Opacity(stem + "_alpha.jpg")
                                  .Blending(Blend::Alpha)
                                  .Grid(4, 2, MenuPictures::kMarkerFrames))};
}

// Stage rows from the bottom of the map's area upwards, spread over its height whatever the stage count (the
// lowest row kRowFoot above the area's foot, the highest kRowHead below its head, leaving room for the rows'
// wave and the markers); even stages run left to right, odd ones back, so the path snakes up through the frame.
constexpr float kRowFoot = 60.0f;
constexpr float kRowHead = 50.0f;

Vector3 Place(int stage, int stages, int level, int levels)
{
    const LayoutRect& area = Layout::Area("start_game\\window_area");
    const float across = levels > 1 ? static_cast<float>(level) / static_cast<float>(levels - 1) : 0.5f;
    const float t = stage % 2 == 0 ? across : 1.0f - across;
    const float x = area.left + 80.0f + t * (area.width - 160.0f);
    const float rows = stages > 1 ? (area.height - kRowFoot - kRowHead) / static_cast<float>(stages - 1) : 0.0f;
    const float y = area.bottom + kRowFoot + rows * static_cast<float>(stage) +
                    16.0f * std::sin(2.2f * static_cast<float>(level) + static_cast<float>(stage));
    return {x, y, 0.0f};
}

std::uint32_t KindOf(int stage, int level, bool last)
{
    if (last)
        return kFinish;
    if (level == 0)
        return stage == 0 ? kStart : kCheckPoint;
    return kPath;
}

} // namespace

std::vector<Point> MapArt::Places()
{
    std::vector<Point> places;
    const std::vector<StageDesign>& stages = LevelGenerator::Stages();
    const int count = static_cast<int>(stages.size());
    for (int stage = 0; stage < count; ++stage) {
        const int levels = static_cast<int>(stages[stage].levels.size());
        for (int level = 0; level < levels; ++level) {
            const Vector3 place = Place(stage, count, level, levels);
            places.push_back({place.x, place.y});
        }
    }
    return places;
}

std::vector<Formats::MapFileRecord> MapArt::Records()
{
    std::vector<Formats::MapFileRecord> records;
    const std::vector<StageDesign>& stages = LevelGenerator::Stages();
    const int count = static_cast<int>(stages.size());
    for (int stage = 0; stage < count; ++stage) {
        const int levels = static_cast<int>(stages[stage].levels.size());
        for (int level = 0; level < levels; ++level) {
            const bool last = stage + 1 == count && level + 1 == levels;
            Matrix4 place;
            place.MakeTranslation(Place(stage, count, level, levels));
            Formats::MapFileRecord record{KindOf(stage, level, last), {}};
            std::copy(std::begin(place.m), std::end(place.m), record.matrix.begin());
            records.push_back(record);
        }
    }
    return records;
}

SurfaceLook MapArt::ValleyLook()
{
    const std::string stem = TextureStem("valley");
    return SurfaceLook(stem + ".jpg").Opacity(stem + "_alpha.jpg").Blending(Blend::Alpha);
}

void MapArt::List(ArtList& list) const
{
    for (const MarkerModel& marker : kMarkers) {
        list.AddModel(std::string("ui\\menus\\map\\models\\") + marker.name, [&marker] { return Marker(marker); });
        list.AddTexture(TextureStem(marker.name), [&marker] { return MenuPictures::Marker(marker.kind); });
    }
    list.AddTexture(TextureStem("valley"), [] { return ValleyPicture::Draw(Places()); });
    list.AddFile("ui\\menus\\map\\map.gmf", "GUIStartGameLogicWindow", [] { return Formats::BuildMapFile(Records()); });
}

} // namespace Content
