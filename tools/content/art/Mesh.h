// A triangle-list mesh as the model files hold it: vertices with a position, a normal and texture coordinates,
// and three indices per triangle.
//
// Conventions of every art-kit mesh:
// - Front faces wind counter-clockwise seen from the side their normal points to: (b - a) x (c - a) points along
//   the face's normal. The engine's view mirrors Z, so such a triangle is counter-clockwise on screen, which is
//   the side cull flag 0x2000 keeps and the second pass of 0x4000 draws (as the engine's own box models).
// - Texture v = 0 is the picture's bottom row (Picture row 0), u = 0 its left column.
// - Units are the caller's: virtual-screen units for GUI models (800 x 600, y up, z 0), world units (z up)
//   for world models.
#pragma once

#include "engine/render/Matrix4.h"
#include "engine/render/Vector3.h"
#include "tools/formats/ModelFileWriter.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace Content {

using KeystrelEngine::Matrix4;
using KeystrelEngine::Vector3;

struct MeshVertex
{
    Vector3 position;
    Vector3 normal{0.0f, 0.0f, 1.0f};
    float u = 0.0f;
    float v = 0.0f;
};

struct Mesh
{
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;

    // Returns the new vertex's index.
    std::uint32_t AddVertex(const Vector3& position, const Vector3& normal, float u, float v);
    void AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
    // The triangles a b c and a c d.
    void AddQuad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d);
    // Adds the other mesh's vertices and triangles (merging meshes into one model).
    Mesh& Append(const Mesh& other);

    // Positions by the matrix (column vectors: the engine's Matrix4), normals by its inverse transpose; a
    // mirroring matrix also turns the triangles round, so fronts stay fronts.
    Mesh& Transform(const Matrix4& matrix);
    Mesh& Translate(const Vector3& offset);
    Mesh& Scale(const Vector3& factors);
    // Right-handed turns by angle (radians) about the axis through the origin.
    Mesh& RotateX(float angle);
    Mesh& RotateY(float angle);
    Mesh& RotateZ(float angle);
    // Moves every position; normals stay (call RecomputeNormals after a bend).
    Mesh& Warp(const std::function<Vector3(const Vector3&)>& move);
    // Each vertex's normal becomes the area-weighted mean of the faces that use it.
    Mesh& RecomputeNormals();
    // The back side: reversed triangles and negated normals.
    Mesh& Flip();

    // The box around the positions; a zero box at the origin for an empty mesh.
    Formats::ModelFileBox Bounds() const;
    // Same vertex count and the same indices: frames of one morph model must share their topology.
    bool SameTopology(const Mesh& other) const;
    // The vertices as the model file stores them.
    std::vector<Formats::ModelFileVertex> FileVertices() const;
};

} // namespace Content
