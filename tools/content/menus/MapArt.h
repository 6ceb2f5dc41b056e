// The level map: the five marker models of "ui\\menus\\map\\models\\" (six material frames each: the states 0
// reachable, 1 passed, 2 highlighted, 3 selected, 4 ahead, and frame 5 the shadow) and "ui\\menus\\map\\map.gmf"
// with one record per level of the catalogue (LevelGenerator's stages), in catalogue order: the start first, a
// check point at the first level of every later stage, the finish last and path markers between. The records wind
// through the stages row by row inside the map's frame. The map's window shows them on a painted valley
// ("ui\\menus\\map\\textures\\valley", ValleyPicture) whose path runs through every marker's place.
#pragma once

#include "tools/content/art/ArtGenerator.h"
#include "tools/content/art/Surface.h"
#include "tools/formats/MapFileWriter.h"

#include <vector>

namespace Content {

class MapArt : public ArtGenerator
{
public:
    static std::vector<Formats::MapFileRecord> Records();
    // Where each record's marker stands, in the records' order (virtual-screen units).
    static std::vector<Point> Places();
    // The map window's surface: the valley picture.
    static SurfaceLook ValleyLook();

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
