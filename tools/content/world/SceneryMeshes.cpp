#include "tools/content/world/SceneryMeshes.h"

#include "tools/content/art/RandomSequence.h"
#include "tools/content/world/EnvironmentGenerator.h"

#include <cmath>

namespace Content {
namespace {

constexpr float kPi = 3.14159265f;

UvRect AtlasCell(std::uint32_t variant)
{
    const float u = 0.5f * static_cast<float>(variant % 2), v = 0.5f * static_cast<float>((variant / 2) % 2);
    return {u + 0.01f, v + 0.01f, u + 0.49f, v + 0.49f};
}

} // namespace

std::vector<Spot> SceneryMeshes::Scatter(std::uint32_t seed, int count, float inner, float outer)
{
    RandomSequence random(seed);
    std::vector<Spot> spots;
    for (int i = 0; i < count; ++i) {
        // Even over the ring's area: the radius by the square root of a uniform draw between the radii's squares.
        const float angle = 2.0f * kPi * (static_cast<float>(i) + random.Next()) / static_cast<float>(count);
        const float r = std::sqrt(inner * inner + (outer * outer - inner * inner) * random.Next());
        spots.push_back({r * std::cos(angle), r * std::sin(angle), 0.75f + 0.5f * random.Next(),
                         static_cast<std::uint32_t>(random.Next() * 4.0f)});
    }
    return spots;
}

Mesh SceneryMeshes::Cards(const std::vector<Spot>& spots, float width, float height, float sway, int k, int frames)
{
    Mesh mesh;
    for (std::size_t i = 0; i < spots.size(); ++i) {
        const Spot& spot = spots[i];
        const float w = width * spot.size, h = height * spot.size;
        Mesh card = Shapes::Panel({-0.5f * w, 0.0f, w, h}, AtlasCell(spot.variant)).RotateX(0.5f * kPi);
        Mesh pair = card;
        pair.Append(card.RotateZ(0.5f * kPi)).RotateZ(static_cast<float>(i));
        const float phase =
            2.0f * kPi * (static_cast<float>(k) / static_cast<float>(frames) + 0.37f * static_cast<float>(i));
        const float lean = sway * spot.size * std::sin(phase);
        pair.Warp([lean, h](const Vector3& p) {
            const float t = p.z / h;
            return Vector3{p.x + lean * t * t, p.y + 0.3f * lean * t * t, p.z};
        });
        mesh.Append(pair.Translate({spot.x, spot.y, EnvironmentGenerator::kGround}));
    }
    return mesh;
}

Mesh SceneryMeshes::Stones(const std::vector<Spot>& spots, float radius, float height)
{
    Mesh mesh;
    for (std::size_t i = 0; i < spots.size(); ++i) {
        const Spot& spot = spots[i];
        Mesh stone = Shapes::Prism(7, radius * spot.size, height * spot.size, 0.0f,
                                   ExtrudeOptions().SmoothSides().Sides({0.0f, 0.0f, 1.0f, 0.5f}).NoBottom());
        // Lumps by the angle about the stone's axis, so the vertices the caps and walls share move alike.
        const float seed = static_cast<float>(i);
        stone.Warp([seed](const Vector3& p) {
            const float angle = std::atan2(p.y, p.x);
            const float bulge = 0.85f + 0.15f * std::sin(3.0f * angle + seed);
            return Vector3{p.x * bulge, p.y * bulge,
                           p.z > 0.0f ? p.z * (0.8f + 0.3f * std::cos(2.0f * angle + seed)) : p.z};
        });
        stone.RecomputeNormals().RotateZ(static_cast<float>(i));
        mesh.Append(stone.Translate({spot.x, spot.y, EnvironmentGenerator::kGround + 0.3f * height * spot.size}));
    }
    return mesh;
}

Mesh SceneryMeshes::Ground(float radius, float tiles)
{
    return Shapes::Disc(radius, 48, {0.0f, 0.0f, tiles, tiles}).Translate({0.0f, 0.0f, EnvironmentGenerator::kGround});
}

Mesh SceneryMeshes::Pond(Point centre, float radiusX, float radiusY, float tiles, int k, int frames)
{
    const float flow = static_cast<float>(k) / static_cast<float>(frames);
    return Shapes::Flat(Outlines::Ellipse(centre, radiusX, radiusY, 32), {0.0f, flow, tiles, tiles + flow},
                        EnvironmentGenerator::kGround + 0.4f);
}

Mesh SceneryMeshes::Brook(const std::vector<Vector3>& path, float width, float tiles, int k, int frames)
{
    const float flow = static_cast<float>(k) / static_cast<float>(frames);
    return Shapes::Ribbon(path, {width}, {0.0f, 0.0f, 1.0f}, {0.0f, flow, 1.0f, tiles + flow});
}

} // namespace Content
