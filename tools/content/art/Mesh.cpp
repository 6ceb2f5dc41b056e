#include "tools/content/art/Mesh.h"

#include <algorithm>
#include <utility>

namespace Content {
namespace {

Vector3 TurnNormal(const Matrix4& inverseTranspose, const Vector3& n)
{
    const float* m = inverseTranspose.m;
    return Vector3{m[0] * n.x + m[1] * n.y + m[2] * n.z, m[4] * n.x + m[5] * n.y + m[6] * n.z,
                   m[8] * n.x + m[9] * n.y + m[10] * n.z}
        .Normalized();
}

float Determinant3(const Matrix4& matrix)
{
    const float* m = matrix.m;
    return m[0] * (m[5] * m[10] - m[6] * m[9]) - m[1] * (m[4] * m[10] - m[6] * m[8]) +
           m[2] * (m[4] * m[9] - m[5] * m[8]);
}

Mesh& Rotate(Mesh& mesh, const Vector3& axis, float angle)
{
    return mesh.Transform(Matrix4::FromQuaternion(KeystrelEngine::Quaternion::FromAxisAngle(axis, angle)));
}

} // namespace

std::uint32_t Mesh::AddVertex(const Vector3& position, const Vector3& normal, float u, float v)
{
    vertices.push_back({position, normal, u, v});
    return static_cast<std::uint32_t>(vertices.size() - 1);
}

void Mesh::AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    indices.insert(indices.end(), {a, b, c});
}

void Mesh::AddQuad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    AddTriangle(a, b, c);
    AddTriangle(a, c, d);
}

Mesh& Mesh::Append(const Mesh& other)
{
    const auto offset = static_cast<std::uint32_t>(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (const std::uint32_t index : other.indices)
        indices.push_back(index + offset);
    return *this;
}

Mesh& Mesh::Transform(const Matrix4& matrix)
{
    Matrix4 inverseTranspose = matrix;
    inverseTranspose.Inverse();
    inverseTranspose.Transpose();
    for (MeshVertex& vertex : vertices) {
        vertex.position = matrix.TransformPoint(vertex.position);
        vertex.normal = TurnNormal(inverseTranspose, vertex.normal);
    }
    if (Determinant3(matrix) < 0.0f) {
        for (std::size_t i = 0; i + 2 < indices.size(); i += 3)
            std::swap(indices[i + 1], indices[i + 2]);
    }
    return *this;
}

Mesh& Mesh::Translate(const Vector3& offset)
{
    Matrix4 translation;
    translation.MakeTranslation(offset);
    return Transform(translation);
}

Mesh& Mesh::Scale(const Vector3& factors)
{
    Matrix4 scale;
    scale.m[0] = factors.x;
    scale.m[5] = factors.y;
    scale.m[10] = factors.z;
    return Transform(scale);
}

Mesh& Mesh::RotateX(float angle)
{
    return Rotate(*this, {1.0f, 0.0f, 0.0f}, angle);
}

Mesh& Mesh::RotateY(float angle)
{
    return Rotate(*this, {0.0f, 1.0f, 0.0f}, angle);
}

Mesh& Mesh::RotateZ(float angle)
{
    return Transform(Matrix4::RotationZ(angle));
}

Mesh& Mesh::Warp(const std::function<Vector3(const Vector3&)>& move)
{
    for (MeshVertex& vertex : vertices)
        vertex.position = move(vertex.position);
    return *this;
}

Mesh& Mesh::RecomputeNormals()
{
    std::vector<Vector3> sums(vertices.size());
    for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
        const Vector3& a = vertices[indices[i]].position;
        const Vector3 face = Cross(vertices[indices[i + 1]].position - a, vertices[indices[i + 2]].position - a);
        for (std::size_t k = 0; k < 3; ++k)
            sums[indices[i + k]] += face;
    }
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        if (sums[i].Length() > 0.0f)
            vertices[i].normal = sums[i].Normalized();
    }
    return *this;
}

Mesh& Mesh::Flip()
{
    for (MeshVertex& vertex : vertices)
        vertex.normal = -vertex.normal;
    for (std::size_t i = 0; i + 2 < indices.size(); i += 3)
        std::swap(indices[i + 1], indices[i + 2]);
    return *this;
}

Formats::ModelFileBox Mesh::Bounds() const
{
    if (vertices.empty())
        return {};
    Formats::ModelFileBox box{{vertices[0].position.x, vertices[0].position.y, vertices[0].position.z},
                              {vertices[0].position.x, vertices[0].position.y, vertices[0].position.z}};
    for (const MeshVertex& vertex : vertices) {
        const float p[3] = {vertex.position.x, vertex.position.y, vertex.position.z};
        for (int k = 0; k < 3; ++k) {
            box.minimum[k] = std::min(box.minimum[k], p[k]);
            box.maximum[k] = std::max(box.maximum[k], p[k]);
        }
    }
    return box;
}

bool Mesh::SameTopology(const Mesh& other) const
{
    return vertices.size() == other.vertices.size() && indices == other.indices;
}

std::vector<Formats::ModelFileVertex> Mesh::FileVertices() const
{
    std::vector<Formats::ModelFileVertex> records;
    records.reserve(vertices.size());
    for (const MeshVertex& vertex : vertices) {
        records.push_back({vertex.u,
                           vertex.v,
                           {vertex.normal.x, vertex.normal.y, vertex.normal.z},
                           {vertex.position.x, vertex.position.y, vertex.position.z}});
    }
    return records;
}

} // namespace Content
