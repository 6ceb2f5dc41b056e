// The level catalogue and its boards: "levels\stages_info.ini" (the stage count), one level list per stage
// ("levels\stage<i>.ini": the level count, then per level its board, colour count, environment and level factor)
// and per level "boards\s<i>l<j>.blf" with its settings ("boards\s<i>l<j>.ini": the board's weight in its stage's
// progress, its mana layers) and its camera file ("boards\s<i>l<j>_camera.ini", CameraFraming).
//
// Three stages of four levels, each stage in its own environment: the meadow (four colours, plain and
// one-layer cells), the grove (five colours; two-layer and closed cells) and the spring (webs as well). The
// first level is small and generous; the second has as many plain cells as mana cells, so energy spent away
// from the mana runs out before the mana is charged.
#pragma once

#include "tools/content/art/ArtGenerator.h"
#include "tools/formats/BoardFileWriter.h"

#include <string>
#include <vector>

namespace Content {

struct LevelDesign
{
    std::vector<std::string> map; // BoardMap's text
    float factor;                 // the energy budget's factor
};

struct StageDesign
{
    std::string environment;
    unsigned colours;
    std::vector<LevelDesign> levels;
};

class LevelGenerator : public ArtGenerator
{
public:
    static const std::vector<StageDesign>& Stages();
    // "s<stage>l<level>".
    static std::string BoardName(std::size_t stage, std::size_t level);
    // The board's camera file: its five CameraFraming values, one per "\r\n"-ended line.
    static std::string CameraText(const Formats::BoardFile& board);

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
