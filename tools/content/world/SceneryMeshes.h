// Mesh builders for the scenery round the boards (world units, z up, the ground at EnvironmentGenerator::kGround):
// spots scattered over a ring about the board, clusters of crossed upright cards for plants that sway over a
// loop of frames, rough stones, the ground disc, and water sheets whose texture flows from frame to frame.
#pragma once

#include "tools/content/art/Mesh.h"
#include "tools/content/art/Shapes.h"

#include <cstdint>
#include <vector>

namespace Content {

struct Spot
{
    float x;
    float y;
    float size; // 0.75 .. 1.25
    std::uint32_t variant;
};

class SceneryMeshes
{
public:
    // count spots spread evenly over the ring between the radii, the same for the same seed.
    static std::vector<Spot> Scatter(std::uint32_t seed, int count, float inner, float outer);
    // Two crossed upright cards per spot, width x height times the spot's size, showing cell spot.variant % 4 of
    // a 2 x 2 picture; their tops lean by sway units at frame k of frames, each spot in a phase of its own.
    static Mesh Cards(const std::vector<Spot>& spots, float width, float height, float sway, int k, int frames);
    static Mesh Stones(const std::vector<Spot>& spots, float radius, float height);
    // The ground disc, its picture repeated tiles times across.
    static Mesh Ground(float radius, float tiles);
    // A pond (the ellipse) or a brook (the ribbon along the path), their picture shifted by flow x k / frames
    // along v, repeated tiles times.
    static Mesh Pond(Point centre, float radiusX, float radiusY, float tiles, int k, int frames);
    static Mesh Brook(const std::vector<Vector3>& path, float width, float tiles, int k, int frames);
};

} // namespace Content
