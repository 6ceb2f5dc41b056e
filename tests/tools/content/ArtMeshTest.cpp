// The art kit's meshes: every shape's triangles face the way their normals point (the winding the engine's cull
// flag 0x2000 keeps), solids face outwards and hold the volume they should, flat shapes cover their area once,
// texture coordinates stay in the mapped part, and transforms keep all of that.
#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Shapes.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

using namespace Content;
using KeystrelEngine::Model;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Vector3 FaceOf(const Mesh& mesh, std::size_t triangle)
{
    const Vector3& a = mesh.vertices[mesh.indices[3 * triangle]].position;
    return Cross(mesh.vertices[mesh.indices[3 * triangle + 1]].position - a,
                 mesh.vertices[mesh.indices[3 * triangle + 2]].position - a);
}

// Every triangle winds counter-clockwise about the normals of its corners, which are of unit length, and every
// texture coordinate lies in 0..1.
void ExpectConsistent(const Mesh& mesh)
{
    ASSERT_EQ(mesh.indices.size() % 3, 0u);
    for (const std::uint32_t index : mesh.indices)
        ASSERT_LT(index, mesh.vertices.size());
    for (std::size_t t = 0; t < mesh.indices.size() / 3; ++t) {
        const Vector3 face = FaceOf(mesh, t);
        if (face.Length() < 1e-4f)
            continue;
        for (int k = 0; k < 3; ++k) {
            const MeshVertex& corner = mesh.vertices[mesh.indices[3 * t + k]];
            EXPECT_GT(Dot(face.Normalized(), corner.normal), 0.3f) << "triangle " << t;
            EXPECT_NEAR(corner.normal.Length(), 1.0f, 1e-4f);
        }
    }
    for (const MeshVertex& vertex : mesh.vertices) {
        EXPECT_TRUE(vertex.u >= -1e-5f && vertex.u <= 1.00001f && vertex.v >= -1e-5f && vertex.v <= 1.00001f)
            << vertex.u << ", " << vertex.v;
    }
}

// The signed volume a closed mesh encloses: positive when its faces look outwards.
float Volume(const Mesh& mesh)
{
    float six = 0.0f;
    for (std::size_t i = 0; i < mesh.indices.size(); i += 3) {
        six += Dot(mesh.vertices[mesh.indices[i]].position,
                   Cross(mesh.vertices[mesh.indices[i + 1]].position, mesh.vertices[mesh.indices[i + 2]].position));
    }
    return six / 6.0f;
}

// The area of the triangles seen along the facing direction (each counts positive when it faces it).
float FacingArea(const Mesh& mesh, const Vector3& facing)
{
    float area = 0.0f;
    for (std::size_t t = 0; t < mesh.indices.size() / 3; ++t)
        area += 0.5f * Dot(FaceOf(mesh, t), facing);
    return area;
}

Outline Wing()
{
    Outline wing{{0.0f, 0.0f}};
    Outlines::AppendBezier(wing, {10.0f, 30.0f}, {40.0f, 30.0f}, {30.0f, 5.0f}, 12);
    Outlines::AppendBezier(wing, {25.0f, -2.0f}, {20.0f, 10.0f}, {12.0f, -15.0f}, 12);
    wing.pop_back(); // the outline closes by itself
    return wing;
}

} // namespace

TEST(ArtMesh, FlatShapesFaceUpAndCoverTheirAreaOnce)
{
    const float roundedCorners = (4.0f - kPi) * 20.0f * 20.0f;
    const Outline star = Outlines::Star(5, 10.0f, 4.0f);
    struct Case
    {
        std::string name;
        Mesh mesh;
        float area;
        float tolerance;
    };
    const Case cases[] = {
        {"panel", Shapes::Panel({10, 20, 30, 40}), 1200.0f, 1e-3f},
        {"sheet", Shapes::Sheet({10, 20, 30, 40}, 3, 2), 1200.0f, 1e-3f},
        {"frame", Shapes::Frame({0, 0, 200, 100}, 10.0f, 20.0f, 8), 20000.0f - roundedCorners, 0.002f},
        {"frame ring", Shapes::Frame({0, 0, 200, 100}, 10.0f, 20.0f, 8, false),
         20000.0f - roundedCorners - (14400.0f - (4.0f - kPi) * 100.0f), 0.005f},
        {"bevelled frame", Shapes::Frame({0, 0, 100, 100}, 10.0f, 10.0f, 1), 10000.0f - 4 * 50.0f, 1e-3f},
        {"disc", Shapes::Disc(10.0f, 96), kPi * 100.0f, 0.002f},
        {"ring", Shapes::Ring(5.0f, 10.0f, 96), kPi * 75.0f, 0.002f},
        {"star", Shapes::Flat(star), Outlines::SignedArea(star), 1e-4f},
        {"clockwise star", Shapes::Flat(Outlines::Reversed(star)), Outlines::SignedArea(star), 1e-4f},
        {"wing", Shapes::Flat(Wing()), std::fabs(Outlines::SignedArea(Wing())), 1e-4f},
        {"ribbon", Shapes::Ribbon({{0, 0, 0}, {10, 0, 0}, {30, 0, 0}}, {4.0f}, {0, 0, 1}), 120.0f, 1e-4f},
    };
    for (const Case& shape : cases) {
        SCOPED_TRACE(shape.name);
        ExpectConsistent(shape.mesh);
        EXPECT_NEAR(FacingArea(shape.mesh, {0, 0, 1}), shape.area, shape.tolerance * shape.area);
        for (const MeshVertex& vertex : shape.mesh.vertices) {
            EXPECT_EQ(vertex.normal.z, 1.0f);
            EXPECT_EQ(vertex.position.z, 0.0f);
        }
    }
}

TEST(ArtMesh, SolidsFaceOutwardsAndHoldTheirVolume)
{
    const Outline star = Outlines::Reversed(Outlines::Star(6, 10.0f, 5.0f));
    struct Case
    {
        std::string name;
        Mesh mesh;
        float volume;
    };
    const Case cases[] = {
        {"hexagonal cell", Shapes::Prism(6, 20.0f, 8.0f), 1.5f * std::sqrt(3.0f) * 400.0f * 8.0f},
        {"round column", Shapes::Prism(48, 5.0f, 10.0f, 0.0f, ExtrudeOptions().SmoothSides()),
         0.5f * 48 * 25.0f * std::sin(2 * kPi / 48) * 10.0f},
        {"star token", Shapes::Extrude(star, -1.0f, 2.0f), 3.0f * std::fabs(Outlines::SignedArea(star))},
        {"box", Shapes::Box({-1, -2, -3}, {4, 5, 6}), 5.0f * 7.0f * 9.0f},
    };
    for (const Case& solid : cases) {
        SCOPED_TRACE(solid.name);
        ExpectConsistent(solid.mesh);
        EXPECT_NEAR(Volume(solid.mesh), solid.volume, 1e-3f * solid.volume);
        // Closed: the faces seen from any side cancel out.
        for (const Vector3& axis : {Vector3{1, 0, 0}, Vector3{0, 1, 0}, Vector3{0, 0, 1}})
            EXPECT_NEAR(FacingArea(solid.mesh, axis), 0.0f, 1e-3f * solid.volume);
    }
}

TEST(ArtMesh, TheCellPrismIsFlatToppedAndCentredOnZeroHeight)
{
    const Mesh cell = Shapes::Prism(6, 20.0f, 8.0f);
    const Formats::ModelFileBox box = cell.Bounds();
    EXPECT_NEAR(box.maximum[0], 20.0f, 1e-4f);
    EXPECT_NEAR(box.maximum[1], 17.320508f, 1e-4f);
    EXPECT_NEAR(box.minimum[1], -17.320508f, 1e-4f);
    EXPECT_EQ(box.minimum[2], -4.0f);
    EXPECT_EQ(box.maximum[2], 4.0f);
    // The top edge is level: both of its corners at the greatest y.
    int topCorners = 0;
    for (const MeshVertex& vertex : cell.vertices)
        topCorners += vertex.normal.z == 1.0f && std::fabs(vertex.position.y - box.maximum[1]) < 1e-4f;
    EXPECT_EQ(topCorners, 2);
}

TEST(ArtMesh, TransformsKeepFacesOutwardAndMergedMeshesAddUp)
{
    const float volume = Volume(Shapes::Prism(6, 20.0f, 8.0f));
    const std::function<void(Mesh&)> transforms[] = {
        [](Mesh& m) {
            m.Scale({-1.0f, 1.0f, 1.0f});
        }, // a mirror
        [](Mesh& m) {
            m.Scale({2.0f, 0.5f, 1.0f});
        },
        [](Mesh& m) {
            m.RotateX(0.7f).RotateY(-1.1f).RotateZ(2.0f).Translate({5, 6, 7});
        },
        [](Mesh& m) { m.Flip().Flip(); },
    };
    for (const auto& transform : transforms) {
        Mesh cell = Shapes::Prism(6, 20.0f, 8.0f);
        transform(cell);
        ExpectConsistent(cell);
        // Every one keeps the volume (the mirror turns the triangles round, so it stays positive).
        EXPECT_NEAR(Volume(cell), volume, 1e-3f * volume);
    }

    // Turns are right-handed: x takes y to z, y takes z to x, z takes x to y.
    Mesh point;
    point.AddVertex({0, 1, 0}, {0, 1, 0}, 0, 0);
    point.RotateX(kPi / 2);
    EXPECT_NEAR(point.vertices[0].position.z, 1.0f, 1e-6f);
    point.RotateY(kPi / 2);
    EXPECT_NEAR(point.vertices[0].position.x, 1.0f, 1e-6f);
    point.RotateZ(kPi / 2);
    EXPECT_NEAR(point.vertices[0].position.y, 1.0f, 1e-6f);
    EXPECT_NEAR(point.vertices[0].normal.y, 1.0f, 1e-6f);

    Mesh merged = Shapes::Prism(6, 20.0f, 8.0f);
    merged.Append(Mesh(Shapes::Prism(6, 20.0f, 8.0f)).Translate({100, 0, 0}));
    ExpectConsistent(merged);
    EXPECT_NEAR(Volume(merged), 2.0f * volume, 1e-3f * volume);
}

TEST(ArtMesh, MorphFramesMustShareTheirTopologyAndKeepABoxEach)
{
    // Frames of one shape at different sizes, even a folded one of no height, share their topology.
    const Formats::ModelFile unfolding = ModelFiles::Morph(3, 25.0f, [](int k) {
        return Shapes::Frame({0, 50.0f - 25.0f * static_cast<float>(k), 200, 50.0f * static_cast<float>(k)}, 10.0f,
                             20.0f, 6);
    });
    EXPECT_EQ(unfolding.flags, Model::kMorph | Model::kTriangleList);
    ASSERT_EQ(unfolding.boxes.size(), 3u);
    EXPECT_EQ(unfolding.boxes[0].minimum[1], 50.0f);
    EXPECT_EQ(unfolding.boxes[0].maximum[1], 50.0f);
    EXPECT_EQ(unfolding.boxes[2].maximum[1], 100.0f);
    for (const Formats::ModelFileVertex& vertex : unfolding.vertices)
        EXPECT_TRUE(std::isfinite(vertex.u) && std::isfinite(vertex.v));

    EXPECT_THROW(ModelFiles::Morph({Shapes::Disc(5.0f, 12), Shapes::Disc(5.0f, 13)}, 1.0f), std::invalid_argument);
    EXPECT_THROW(ModelFiles::Morph({}, 1.0f), std::invalid_argument);
    EXPECT_THROW(Shapes::Ribbon({{0, 0, 0}}, {1.0f}, {0, 0, 1}), std::invalid_argument);
    EXPECT_THROW(Shapes::Sheet({0, 0, 1, 1}, 0, 1), std::invalid_argument);
    EXPECT_THROW(Shapes::Prism(2, 1.0f, 1.0f), std::invalid_argument);
}
