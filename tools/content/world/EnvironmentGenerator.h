// The scenery round the boards, one environment per stage: "environments\<name>\environment.ini" lists the
// models of "environments\<name>\models\" with their drawing flags (lit, sorted, random phase), and each model
// has its ".srf" and pictures in "environments\<name>\textures\". The meadow has grass, flowers, stones and a
// pond; the grove trees, ferns, stones and a brook; the spring reeds, flowers, rocks and its pool. Ground and
// water are unlit (the level's one light sits over the board); water is sorted and flows by its texture;
// plants sway, each model from a random point of its loop.
//
// Everything stands outside the largest board's reach and low enough that nothing comes between the level
// camera and the board; tall trees stand only beyond the oblique eye.
#pragma once

#include "tools/content/art/ArtGenerator.h"

#include <functional>
#include <string>
#include <vector>

namespace Content {

struct SceneryModel
{
    std::string name;
    bool lit;
    bool sorted;
    bool randomPhase;
    std::function<ModelArt(const std::string& textures)> make;
    std::function<Picture()> picture;
    bool blended; // the picture has an opacity file
};

struct EnvironmentDesign
{
    std::string name;
    std::vector<SceneryModel> models;
};

class EnvironmentGenerator : public ArtGenerator
{
public:
    static constexpr int kSwayFrames = 40;
    static constexpr float kGround = -6.5f;

    static const std::vector<EnvironmentDesign>& Environments();

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
