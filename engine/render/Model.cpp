// Reading a ".mlf" file. After the common header come the flags, the animation header (frame count and speed)
// when the model is animated, the skeleton with its keys when it is skeletal, the index and vertex counts, the
// indices, the vertices of the first kind the flags name (static, morph frames, skinned), and the bounds: one box
// per frame for a morph model, else one. The layout follows the file's own flags; flags a caller adds take part
// in everything else (vertex colours, drawing) but never change what is read.
//
// A damaged file must not crash or exhaust memory: every count is checked against the bytes left in the file
// (in 64 bits) before anything is sized by it, every index must name a vertex, every weight a bone, and a skinned
// vertex holds at most four weights. Every float must lie in the range of its kind (FileValues): places, normals,
// keys, boxes and the speed in the world, texture coordinates within the bounds of repeating ones, weights from 0
// to 1. What fails these checks, or ends early, is a format error.
#include "Model.h"

#include "AnimationControl.h"
#include "Camera.h"
#include "CameraManager.h"
#include "IndexBuffer.h"
#include "LightManager.h"
#include "Plane.h"
#include "RenderSystem.h"
#include "Shader.h"
#include "ShaderDescriptor.h"
#include "ShaderManager.h"
#include "ShaderUser.h"
#include "Skeleton.h"
#include "VertexBuffer.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace KeystrelEngine {

namespace {

constexpr std::uint32_t kFloatsPerKey = 10; // translation 3, rotation 4, scale 3
constexpr std::uint32_t kFileVertexSize = 32;
constexpr std::uint32_t kKeySize = kFloatsPerKey * 4;
constexpr std::uint32_t kBoxSize = 24;
constexpr std::uint32_t kSmallestBoneSize = 30;       // bounds byte, empty name, box, two values
constexpr std::uint32_t kSmallestSkinVertexSize = 10; // u, v, no weights
constexpr std::uint32_t kSkinWeightSize = 30;
// Nothing in the file backs the vertices of a model without vertex records; they are limited to what 16-bit
// indices can name.
constexpr std::uint32_t kMaxVerticesWithoutRecords = 65536;
constexpr std::uint32_t kTextureOffsetFromEnd = 8; // u and v close every vertex

std::uint16_t ReadU16(FileBinary& file)
{
    std::uint8_t bytes[2];
    file.Read(2, bytes);
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

Vector3 ReadVector3(FileBinary& file, const FileValues& values, std::string_view what)
{
    Vector3 v;
    v.x = values.NextFloat(file, FileValues::kWorld, what);
    v.y = values.NextFloat(file, FileValues::kWorld, what);
    v.z = values.NextFloat(file, FileValues::kWorld, what);
    return v;
}

BoundingBox ReadBox(FileBinary& file, const FileValues& values, std::string_view what)
{
    const Vector3 minimum = ReadVector3(file, values, what);
    return BoundingBox(minimum, ReadVector3(file, values, what));
}

std::string Numbered(const char* record, std::size_t index, const char* part)
{
    return std::string(record) + " " + FormatUnsigned(static_cast<std::uint32_t>(index + 1)) + "'s " + part;
}

// A file vertex: u and v repeat across the surface; the normal and the position lie in the world.
void RequireVertex(const FileValues& values, const float* record, std::size_t index)
{
    values.RequireAll({record, 2}, FileValues::kBounded, [index] { return Numbered("vertex", index, "u, v"); });
    values.RequireAll({record + 2, 3}, FileValues::kWorld, [index] { return Numbered("vertex", index, "normal"); });
    values.RequireAll({record + 5, 3}, FileValues::kWorld, [index] { return Numbered("vertex", index, "position"); });
}

// Whether count records of size bytes fit in what is left of the file.
bool Fits(const FileBinary& file, std::uint64_t count, std::uint64_t size)
{
    return count <= file.GetRemaining() / size;
}

void Write(std::uint8_t* to, const Vector3& v)
{
    std::memcpy(to, &v, sizeof(v));
}

Vector3 ReadPosition(const std::uint8_t* vertex)
{
    Vector3 v;
    std::memcpy(&v, vertex, sizeof(v));
    return v;
}

std::uint32_t VertexUsage(std::uint32_t flags)
{
    return (flags & Model::kVertexUsage) ? 1 : 0;
}

std::uint32_t IndexUsage(std::uint32_t flags)
{
    return (flags & Model::kIndexUsage) ? 1 : 0;
}

// Draw-order groups: draw-first models, models of neither group, draw-last models.
int DrawGroup(const Model& model)
{
    if (model.m_flags & Model::kDrawFirst)
        return 0;
    return (model.m_flags & Model::kDrawLast) ? 2 : 1;
}

float OrderDepth(const Model& model)
{
    const float depth = model.GetSortDepth() + model.m_sortBias;
    return std::isnan(depth) ? 0.0f : depth;
}

// The corners of a box face, four to a face, as bits x (1), y (2) and z (4) choosing the maximum corner's value,
// each with its texture coordinates; every face has one normal.
struct BoxVertex
{
    int corner;
    float u;
    float v;
};

struct BoxFace
{
    Vector3 normal;
    BoxVertex vertices[4];
};

constexpr BoxFace kBoxFaces[6] = {{{0, 0, -1}, {{0, 1, 0}, {2, 1, 1}, {3, 0, 1}, {1, 0, 0}}},
                                  {{0, 0, 1}, {{4, 0, 0}, {5, 1, 0}, {7, 1, 1}, {6, 0, 1}}},
                                  {{0, -1, 0}, {{0, 0, 0}, {1, 1, 0}, {5, 1, 1}, {4, 0, 1}}},
                                  {{1, 0, 0}, {{1, 0, 0}, {3, 1, 0}, {7, 1, 1}, {5, 0, 1}}},
                                  {{0, 1, 0}, {{3, 0, 0}, {2, 1, 0}, {6, 1, 1}, {7, 0, 1}}},
                                  {{-1, 0, 0}, {{2, 0, 0}, {0, 1, 0}, {4, 1, 1}, {6, 0, 1}}}};

} // namespace

// Creation --------------------------------------------------------------------------------------------------

Model::Model(const ModelServices& services, const std::string& name, Camera* camera, std::uint32_t extraFlags)
    : m_services(services), m_name(name)
{
    try {
        const FileValues values(name);
        ReadWithinMemory(values.Refusal(), [&] {
            // Owned here, so the file is closed whichever way the reading ends.
            const std::unique_ptr<FileBinary> file = services.files->OpenBinary(MakeDataPath(name), false, false);
            values.CheckHeader(*file, "KEMLF", kFileVersion);
            ReadFile(*file, values, extraFlags);
        });
    } catch (const FileError& error) {
        services.log->Error(error.GetText());
        throw Error(error.GetText());
    }
    std::string shaderName = name;
    ReplaceFileExtension(shaderName, "srf");
    m_shaderUser = LoadShader(shaderName);
    Finish(camera);
}

Model::Model(const Model& source, Camera* camera, std::uint32_t extraFlags)
    : m_flags(source.m_flags | extraFlags), m_services(source.m_services), m_name(source.m_name)
{
    if (!m_flags)
        m_flags = kVertexUsage;
    m_animation = std::make_unique<AnimationControl>(*source.m_animation);
    if (source.m_skeleton)
        m_skeleton = std::make_unique<Skeleton>(*source.m_skeleton);
    m_boneColumns.resize(source.m_boneColumns.size());
    m_boneKeys = source.m_boneKeys;
    m_vertexBuffer.reset(m_services.renderSystem->CreateVertexBuffer(VertexUsage(m_flags), (m_flags & kColours) != 0,
                                                                     *source.m_vertexBuffer));
    m_morphVertices = source.m_morphVertices;
    m_skinVertices = source.m_skinVertices;
    m_indexBuffer.reset(m_services.renderSystem->CreateIndexBuffer(IndexUsage(m_flags), *source.m_indexBuffer));
    m_boundingBox = source.m_boundingBox;
    m_morphBoxes = source.m_morphBoxes;

    m_shaderUser = CopyShader(source.m_shaderUser);
    m_deferShaderChange = source.m_deferShaderChange;
    if (source.m_pendingDescriptor)
        m_pendingDescriptor = std::make_unique<ShaderDescriptor>(*source.m_pendingDescriptor);
    m_secondShaderUser = CopyShader(source.m_secondShaderUser);

    m_camera = camera ? camera : source.m_camera;
    if (!m_camera)
        m_camera = m_services.cameras->GetDefaultCamera();
    m_worldMatrix = source.m_worldMatrix;
    ApplyWorldMatrixToBox();
    m_baseMatrix = source.m_baseMatrix;
    m_sortDepth = source.m_sortDepth;
    m_sortBias = source.m_sortBias;
    m_strip = source.m_strip;
    m_animateVertices = source.m_animateVertices;
    GetPrimitiveCount();
}

Model::Model(const ModelServices& services, std::uint32_t flags, std::uint32_t vertexCount, std::uint32_t indexCount,
             const ShaderDescriptor* descriptor, Camera* camera)
    : m_flags(flags ? flags : kVertexUsage), m_services(services), m_name("self_made")
{
    m_animation = std::make_unique<AnimationControl>(1, services.log, services.timers);
    CreateBuffers(vertexCount, indexCount);
    m_shaderUser = ObtainShader(descriptor ? *descriptor : ShaderDescriptor());
    Finish(camera);
    m_boundingBox.Set({-0.0001f, -0.0001f, -0.0001f}, {0.0001f, 0.0001f, 0.0001f});
}

Model::Model(const ModelServices& services, const Vector3& minimum, const Vector3& maximum, Camera* camera,
             std::uint32_t extraFlags)
    : m_flags(kBoxFlags), m_services(services), m_name("box")
{
    SetFlags(extraFlags);
    m_animation = std::make_unique<AnimationControl>(1, services.log, services.timers);
    CreateBuffers(24, 36);
    FillBox(minimum, maximum);
    m_shaderUser = ObtainShader(ShaderDescriptor());
    Finish(camera);
    ComputeBoundingBox();
}

Model::~Model()
{
    ReleaseShader(m_shaderUser);
    ReleaseShader(m_secondShaderUser);
}

void Model::CreateBuffers(std::uint32_t vertexCount, std::uint32_t indexCount)
{
    m_indexBuffer.reset(m_services.renderSystem->CreateIndexBuffer(IndexUsage(m_flags), indexCount));
    m_vertexBuffer.reset(
        m_services.renderSystem->CreateVertexBuffer(VertexUsage(m_flags), (m_flags & kColours) != 0, vertexCount));
}

void Model::FillBox(const Vector3& minimum, const Vector3& maximum)
{
    const std::uint32_t stride = m_vertexBuffer->GetVertexSize();
    std::uint8_t* vertex = m_vertexBuffer->Lock(0, 24);
    for (const BoxFace& face : kBoxFaces) {
        for (const BoxVertex& corner : face.vertices) {
            Write(vertex, {(corner.corner & 1) ? maximum.x : minimum.x, (corner.corner & 2) ? maximum.y : minimum.y,
                           (corner.corner & 4) ? maximum.z : minimum.z});
            Write(vertex + 12, face.normal);
            const float uv[2] = {corner.u, corner.v};
            std::memcpy(vertex + stride - kTextureOffsetFromEnd, uv, sizeof(uv));
            vertex += stride;
        }
    }
    m_vertexBuffer->Unlock();

    std::uint16_t indices[36];
    for (std::uint16_t k = 0; k < 6; ++k) {
        const std::uint16_t first = static_cast<std::uint16_t>(4 * k);
        const std::uint16_t face[6] = {first,
                                       static_cast<std::uint16_t>(first + 1),
                                       static_cast<std::uint16_t>(first + 2),
                                       static_cast<std::uint16_t>(first + 2),
                                       static_cast<std::uint16_t>(first + 3),
                                       first};
        std::memcpy(indices + 6 * k, face, sizeof(face));
    }
    std::memcpy(m_indexBuffer->Lock(0, 36), indices, sizeof(indices));
    m_indexBuffer->Unlock();
}

void Model::Finish(Camera* camera)
{
    m_camera = camera ? camera : m_services.cameras->GetDefaultCamera();
    m_worldMatrix.MakeIdentity();
    m_baseMatrix.MakeIdentity();
    m_sortDepth = 0.0f;
    m_sortBias = 0.0f;
    m_animateVertices = true;
    m_strip = (m_flags & kTriangleList) == 0;
    GetPrimitiveCount();
    m_drawCount = 0;
}

// Reading ---------------------------------------------------------------------------------------------------

void Model::ReadFile(FileBinary& file, const FileValues& values, std::uint32_t extraFlags)
{
    const std::uint32_t fileFlags = file.ReadU32();
    m_flags = fileFlags | extraFlags;
    if (!m_flags)
        m_flags = kVertexUsage;

    std::uint32_t frameCount = 1;
    float speed = 0.0f;
    if (fileFlags & (kMorph | kSkeletal)) {
        frameCount = file.ReadU32();
        speed = values.NextFloat(file, FileValues::kWorld, "the animation speed");
    }
    // Morph frames without a frame have no box to start from.
    if ((fileFlags & kMorph) && frameCount == 0)
        values.Refuse();
    if (fileFlags & kSkeletal)
        ReadSkeleton(file, values, frameCount);

    const std::uint32_t indexCount = file.ReadU32();
    const std::uint32_t vertexCount = file.ReadU32();
    ReadIndices(file, values, indexCount, vertexCount);

    bool fits = vertexCount <= kMaxVerticesWithoutRecords;
    if (fileFlags & kStatic)
        fits = Fits(file, vertexCount, kFileVertexSize);
    else if (fileFlags & kMorph)
        fits = Fits(file, std::uint64_t{frameCount} * vertexCount, kFileVertexSize);
    else if (fileFlags & kSkeletal)
        fits = Fits(file, vertexCount, kSmallestSkinVertexSize);
    if (!fits)
        values.Refuse();
    m_vertexBuffer.reset(
        m_services.renderSystem->CreateVertexBuffer(VertexUsage(m_flags), (m_flags & kColours) != 0, vertexCount));

    if (fileFlags & kStatic)
        ReadStaticVertices(file, values);
    else if (fileFlags & kMorph)
        ReadMorphVertices(file, values, frameCount);
    else if (fileFlags & kSkeletal)
        ReadSkinVertices(file, values);
    ReadBounds(file, values, fileFlags, frameCount);

    m_animation = std::make_unique<AnimationControl>(frameCount, m_services.log, m_services.timers);
    m_animation->m_speed = speed;
}

void Model::ReadSkeleton(FileBinary& file, const FileValues& values, std::uint32_t frameCount)
{
    const std::uint16_t boneCount = ReadU16(file);
    if (!Fits(file, boneCount, kSmallestBoneSize))
        values.Refuse();
    m_skeleton = std::make_unique<Skeleton>(m_services.log, boneCount);
    m_boneColumns.resize(boneCount);
    for (std::uint16_t b = 0; b < boneCount; ++b) {
        Bone& bone = m_skeleton->GetBone(b);
        std::uint8_t boundsByte = 0;
        file.Read(1, &boundsByte);
        bone.m_boundsByte = boundsByte;
        bone.m_name = file.ReadString();
        bone.m_box = ReadBox(file, values, Numbered("bone", b, "box"));
        bone.m_firstValue = ReadU16(file);
        bone.m_secondValue = ReadU16(file);
    }
    const std::uint64_t keyCount = std::uint64_t{boneCount} * frameCount;
    if (keyCount == 0)
        return;
    if (!Fits(file, keyCount, kKeySize))
        values.Refuse();
    std::vector<float> keys(keyCount * kFloatsPerKey);
    file.Read(static_cast<std::uint32_t>(keyCount * kKeySize), keys.data());
    for (std::size_t k = 0; k < keyCount; ++k) {
        values.RequireAll({&keys[k * kFloatsPerKey], kFloatsPerKey}, FileValues::kWorld,
                          [k] { return "key " + FormatUnsigned(static_cast<std::uint32_t>(k + 1)); });
    }
    m_boneKeys = std::make_shared<const std::vector<float>>(std::move(keys));
}

void Model::ReadIndices(FileBinary& file, const FileValues& values, std::uint32_t indexCount, std::uint32_t vertexCount)
{
    const std::uint32_t width = indexCount >= IndexBuffer::kFirst32BitCount ? 4 : 2;
    if (!Fits(file, indexCount, width))
        values.Refuse();
    m_indexBuffer.reset(m_services.renderSystem->CreateIndexBuffer(IndexUsage(m_flags), indexCount));
    file.Read(indexCount * width, m_indexBuffer->Lock(0, indexCount));
    m_indexBuffer->Unlock();
    for (std::uint32_t i = 0; i < indexCount; ++i) {
        if (m_indexBuffer->GetIndex(i) >= vertexCount)
            values.Refuse();
    }
}

// A file vertex is u, v, normal, position; the buffer holds position, normal, (colour,) u, v.
void Model::ReadStaticVertices(FileBinary& file, const FileValues& values)
{
    const std::uint32_t count = m_vertexBuffer->GetVertexCount();
    const std::uint32_t stride = m_vertexBuffer->GetVertexSize();
    std::vector<float> records(static_cast<std::size_t>(count) * 8);
    file.Read(count * kFileVertexSize, records.data());
    std::uint8_t* vertex = m_vertexBuffer->Lock(0, count);
    for (std::uint32_t i = 0; i < count; ++i, vertex += stride) {
        const float* record = &records[static_cast<std::size_t>(i) * 8];
        RequireVertex(values, record, i);
        std::memcpy(vertex, record + 5, 12);
        std::memcpy(vertex + 12, record + 2, 12);
        std::memcpy(vertex + stride - kTextureOffsetFromEnd, record, 8);
    }
    m_vertexBuffer->Unlock();
}

void Model::ReadMorphVertices(FileBinary& file, const FileValues& values, std::uint32_t frameCount)
{
    const std::size_t count = static_cast<std::size_t>(frameCount) * m_vertexBuffer->GetVertexCount();
    std::vector<float> records(count * 8);
    file.Read(static_cast<std::uint32_t>(count * kFileVertexSize), records.data());
    std::vector<MorphVertex> frames(count);
    for (std::size_t i = 0; i < count; ++i) {
        const float* record = &records[i * 8];
        RequireVertex(values, record, i);
        MorphVertex& vertex = frames[i];
        vertex.position = {record[5], record[6], record[7]};
        vertex.normal = {record[2], record[3], record[4]};
        vertex.u = record[0];
        vertex.v = record[1];
    }
    m_morphVertices = std::make_shared<const std::vector<MorphVertex>>(std::move(frames));
}

void Model::ReadSkinVertices(FileBinary& file, const FileValues& values)
{
    const std::uint32_t count = m_vertexBuffer->GetVertexCount();
    const std::uint32_t stride = m_vertexBuffer->GetVertexSize();
    const std::uint16_t boneCount = m_skeleton->GetBoneCount();
    std::vector<SkinVertex> skins(count);
    std::uint8_t* vertex = m_vertexBuffer->Lock(0, count);
    for (std::size_t i = 0; i < skins.size(); ++i) {
        SkinVertex& skin = skins[i];
        const std::string name = "vertex " + FormatUnsigned(static_cast<std::uint32_t>(i + 1)) + "'s ";
        float uv[2];
        uv[0] = values.NextFloat(file, FileValues::kBounded, name + "u, v");
        uv[1] = values.NextFloat(file, FileValues::kBounded, name + "u, v");
        std::memcpy(vertex + stride - kTextureOffsetFromEnd, uv, sizeof(uv));
        vertex += stride;
        skin.weightCount = ReadU16(file);
        if (skin.weightCount > SkinVertex::kMaxWeights || !Fits(file, skin.weightCount, kSkinWeightSize))
            values.Refuse();
        for (std::uint16_t w = 0; w < skin.weightCount; ++w) {
            SkinWeight& weight = skin.weights[w];
            weight.bone = ReadU16(file);
            if (weight.bone >= boneCount)
                values.Refuse();
            weight.weight = values.NextFloat(file, FileValues::kUnit, name + "weight");
            weight.normal = ReadVector3(file, values, name + "weighted normal");
            weight.position = ReadVector3(file, values, name + "weighted position");
        }
    }
    m_vertexBuffer->Unlock();
    m_skinVertices = std::make_shared<const std::vector<SkinVertex>>(std::move(skins));
}

void Model::ReadBounds(FileBinary& file, const FileValues& values, std::uint32_t fileFlags, std::uint32_t frameCount)
{
    if (!(fileFlags & kMorph)) {
        m_boundingBox = ReadBox(file, values, "the box");
        return;
    }
    if (!Fits(file, frameCount, kBoxSize))
        values.Refuse();
    m_morphBoxes.resize(frameCount);
    for (std::size_t f = 0; f < m_morphBoxes.size(); ++f)
        m_morphBoxes[f] = ReadBox(file, values, Numbered("frame", f, "box"));
    m_boundingBox = m_morphBoxes[0];
}

// Geometry --------------------------------------------------------------------------------------------------

std::uint32_t Model::GetPrimitiveCount()
{
    const std::uint32_t indices = m_indexBuffer->GetUsedIndexCount();
    if (m_strip)
        m_primitiveCount = indices >= 3 ? indices - 2 : 0;
    else
        m_primitiveCount = indices / 3;
    return m_primitiveCount;
}

void Model::ComputeBoundingBox()
{
    const std::uint32_t vertexCount = m_vertexBuffer->GetVertexCount();
    const std::uint32_t stride = m_vertexBuffer->GetVertexSize();
    const std::uint8_t* data = m_vertexBuffer->GetData();
    Vector3& minimum = m_boundingBox.m_localMin;
    Vector3& maximum = m_boundingBox.m_localMax;
    minimum = BoundingBox::kEmptyMin;
    maximum = BoundingBox::kEmptyMax;
    for (std::uint32_t i = 0; i < m_indexBuffer->GetUsedIndexCount(); ++i) {
        const std::uint32_t index = m_indexBuffer->GetIndex(i);
        if (index >= vertexCount)
            continue; // a filled-in index beyond the vertices names no point
        const Vector3 p = ReadPosition(data + static_cast<std::size_t>(index) * stride);
        minimum = {std::min(minimum.x, p.x), std::min(minimum.y, p.y), std::min(minimum.z, p.z)};
        maximum = {std::max(maximum.x, p.x), std::max(maximum.y, p.y), std::max(maximum.z, p.z)};
    }
    m_boundingBox.Update(false);
}

void Model::SetWorldMatrix(const Matrix4& matrix)
{
    m_worldMatrix = matrix;
    ApplyWorldMatrixToBox();
}

void Model::MultiplyWorldMatrix(const Matrix4& matrix)
{
    m_worldMatrix = matrix * m_worldMatrix;
    ApplyWorldMatrixToBox();
}

void Model::ResetWorldMatrix()
{
    m_worldMatrix = m_baseMatrix;
    ApplyWorldMatrixToBox();
}

void Model::SetWorldMatrixRelativeToBase(const Matrix4& matrix)
{
    ResetWorldMatrix();
    MultiplyWorldMatrix(matrix);
}

void Model::ApplyWorldMatrixToBox()
{
    m_boundingBox.m_transformation = m_worldMatrix;
    m_boundingBox.Update(true);
}

Matrix4 Model::GetWorldMatrix() const
{
    if (!m_camera || !m_camera->m_attached)
        return m_worldMatrix;
    return m_camera->m_thirdMatrix * m_worldMatrix * m_camera->m_secondMatrix;
}

void Model::SetFlags(std::uint32_t bits)
{
    m_flags |= bits;
    if (bits & kDrawFirst)
        m_flags &= ~kDrawLast;
    else if (bits & kDrawLast)
        m_flags &= ~kDrawFirst;
    if (bits & kCullMode1)
        m_flags &= ~(kCullMode2 | kTwoPasses);
    else if (bits & kCullMode2)
        m_flags &= ~(kTwoPasses | kCullMode1);
    else if (bits & kTwoPasses)
        m_flags &= ~(kCullMode2 | kCullMode1);
}

void Model::SetShaderDescriptor(const ShaderDescriptor& descriptor)
{
    if (m_deferShaderChange) {
        m_pendingDescriptor = std::make_unique<ShaderDescriptor>(descriptor);
        return;
    }
    ShaderUser* old = m_shaderUser;
    m_shaderUser = ObtainShader(descriptor);
    ReleaseShader(old);
}

// The frame -------------------------------------------------------------------------------------------------

void Model::Update(bool testVisibility)
{
    if (!(m_flags & kShown))
        return;
    std::uint32_t frameA = 0;
    std::uint32_t frameB = 0;
    float t = 0.0f;
    if (m_flags & (kMorph | kSkeletal)) {
        m_animation->Update();
        // A range that the game set beyond the frames stays on the last frame.
        const std::uint32_t last = std::max(m_animation->GetFrameCount(), 1u) - 1;
        frameA = std::min(m_animation->m_currentFrame, last);
        frameB = std::min(m_animation->m_nextFrame, last);
        t = m_animation->m_blendFraction;
    }
    if ((m_flags & kRecomputeBox) && (m_flags & kStatic)) {
        ComputeBoundingBox();
        ApplyWorldMatrixToBox();
    }
    if ((m_flags & kSkeletal) && m_skeleton && m_boneKeys)
        PoseSkeleton(frameA, frameB, t);
    if ((m_flags & kMorph) && !m_morphBoxes.empty()) {
        m_boundingBox = BoundingBox::Interpolate(m_morphBoxes[frameA], m_morphBoxes[frameB], t);
        ApplyWorldMatrixToBox();
    }

    m_drawCount = GetPrimitiveCount();
    if (testVisibility && !IsVisible())
        m_drawCount = 0;
    if (m_drawCount == 0)
        return;
    if (!(m_flags & kFixedDepth))
        m_sortDepth = Dot(m_camera->m_position - m_boundingBox.m_centre, m_camera->m_forward);
    if (!m_animateVertices)
        return;
    if ((m_flags & kMorph) && m_morphVertices)
        WriteMorphedVertices(frameA, frameB, t);
    else if ((m_flags & kSkeletal) && m_skeleton && m_skinVertices)
        WriteSkinnedVertices();
}

void Model::PoseSkeleton(std::uint32_t frameA, std::uint32_t frameB, float t)
{
    const std::uint16_t boneCount = m_skeleton->GetBoneCount();
    const float* keysA = &(*m_boneKeys)[std::size_t{frameA} * boneCount * kFloatsPerKey];
    const float* keysB = &(*m_boneKeys)[std::size_t{frameB} * boneCount * kFloatsPerKey];
    for (std::uint16_t b = 0; b < boneCount; ++b, keysA += kFloatsPerKey, keysB += kFloatsPerKey) {
        Bone& bone = m_skeleton->GetBone(b);
        bone.m_animatedTranslation = Vector3::Lerp({keysA[0], keysA[1], keysA[2]}, {keysB[0], keysB[1], keysB[2]}, t);
        bone.m_animatedRotation =
            Quaternion::Slerp({keysA[3], keysA[4], keysA[5], keysA[6]}, {keysB[3], keysB[4], keysB[5], keysB[6]}, t);
        bone.m_animatedScale = Vector3::Lerp({keysA[7], keysA[8], keysA[9]}, {keysB[7], keysB[8], keysB[9]}, t);
    }
    m_skeleton->UpdateMatrices();

    m_boundingBox.Set(BoundingBox::kEmptyMin, BoundingBox::kEmptyMax);
    for (std::uint16_t b = 0; b < boneCount; ++b) {
        const Bone& bone = m_skeleton->GetBone(b);
        if (bone.m_boundsByte == 0)
            m_boundingBox.ExpandMinMax(bone.m_box);
    }
    ApplyWorldMatrixToBox();
}

bool Model::IsVisible() const
{
    const Frustum& frustum = m_camera->GetFrustum();
    if (!m_camera->m_attached)
        return frustum.Test(m_boundingBox);
    BoundingBox placed = m_boundingBox;
    placed.m_transformation = GetWorldMatrix();
    placed.Update(true);
    return frustum.Test(placed);
}

void Model::WriteMorphedVertices(std::uint32_t frameA, std::uint32_t frameB, float t)
{
    const std::uint32_t count = m_vertexBuffer->GetVertexCount();
    const std::uint32_t stride = m_vertexBuffer->GetVertexSize();
    const MorphVertex* a = m_morphVertices->data() + std::size_t{frameA} * count;
    const MorphVertex* b = m_morphVertices->data() + std::size_t{frameB} * count;
    std::uint8_t* vertex = m_vertexBuffer->Lock(0, count);
    for (std::uint32_t i = 0; i < count; ++i, vertex += stride) {
        Write(vertex, Vector3::Lerp(a[i].position, b[i].position, t));
        Write(vertex + 12, Vector3::Lerp(a[i].normal, b[i].normal, t));
        const float uv[2] = {a[i].u * (1.0f - t) + b[i].u * t, a[i].v * (1.0f - t) + b[i].v * t};
        std::memcpy(vertex + stride - kTextureOffsetFromEnd, uv, sizeof(uv));
    }
    m_vertexBuffer->Unlock();
}

// Each vertex is the weighted sum of its bones' placements; the normals are summed as they come, unnormalised.
// The bones' matrices are first laid out as columns of four floats, so that placing a point is four multiplies
// and adds of whole columns (the compiler's vector types turn them into SIMD instructions).
void Model::WriteSkinnedVertices()
{
    for (std::uint16_t b = 0; b < m_skeleton->GetBoneCount(); ++b) {
        const Bone& bone = m_skeleton->GetBone(b);
        BoneColumns& columns = m_boneColumns[b];
        for (int j = 0; j < 4; ++j) {
            const float* m = bone.m_combinedMatrix.m;
            columns.position[j] = Float4{m[j], m[4 + j], m[8 + j], 0.0f};
        }
        for (int j = 0; j < 3; ++j) {
            const float* m = bone.m_rotationMatrix.m;
            columns.normal[j] = Float4{m[j], m[4 + j], m[8 + j], 0.0f};
        }
    }
    const std::uint32_t stride = m_vertexBuffer->GetVertexSize();
    std::uint8_t* vertex = m_vertexBuffer->Lock(0, m_vertexBuffer->GetVertexCount());
    for (const SkinVertex& skin : *m_skinVertices) {
        Float4 position{};
        Float4 normal{};
        for (std::uint16_t w = 0; w < skin.weightCount; ++w) {
            const SkinWeight& weight = skin.weights[w];
            const BoneColumns& columns = m_boneColumns[weight.bone];
            const float k = weight.weight;
            position += columns.position[0] * (k * weight.position.x) + columns.position[1] * (k * weight.position.y) +
                        columns.position[2] * (k * weight.position.z) + columns.position[3] * k;
            normal += columns.normal[0] * (k * weight.normal.x) + columns.normal[1] * (k * weight.normal.y) +
                      columns.normal[2] * (k * weight.normal.z);
        }
        std::memcpy(vertex, &position, 12);
        std::memcpy(vertex + 12, &normal, 12);
        vertex += stride;
    }
    m_vertexBuffer->Unlock();
}

void Model::Render()
{
    if (!(m_flags & kShown) || m_drawCount == 0 || !ShaderFitsDevice())
        return;
    CameraManager& cameras = *m_services.cameras;
    const bool zBiased = (m_flags & kZBiased) != 0;
    if (cameras.m_lastAppliedCamera != m_camera || cameras.m_lastAppliedZBiased != zBiased) {
        cameras.m_lastAppliedCamera = m_camera;
        cameras.m_lastAppliedZBiased = zBiased;
        if (zBiased)
            m_camera->ApplyZBiased();
        else
            m_camera->Apply();
    }
    RenderSystem& renderSystem = *m_services.renderSystem;
    if (m_flags & kLit)
        m_services.lights->EnableLighting(true);
    else
        renderSystem.SetLighting(false);
    renderSystem.SetWorldMatrix(GetWorldMatrix());
    renderSystem.SetZ((m_flags & kZTest) != 0);
    renderSystem.SetZWrite((m_flags & kNoZWrite) == 0);
    DrawPasses();
}

void Model::DrawPasses()
{
    std::uint32_t modes[2] = {0, 0};
    int passes = 1;
    if (m_flags & kTwoPasses) {
        modes[0] = 2;
        modes[1] = 1;
        passes = 2;
    } else if (m_flags & kCullMode1) {
        modes[0] = 1;
    } else if (m_flags & kCullMode2) {
        modes[0] = 2;
    }
    RenderSystem& renderSystem = *m_services.renderSystem;
    for (int pass = 0; pass < passes; ++pass) {
        renderSystem.SetCullMode(modes[pass]);
        ApplyShader();
        renderSystem.DrawIndexedPrimitive(m_strip, m_indexBuffer.get(), m_vertexBuffer.get(), m_primitiveCount);
    }
}

// Picking ---------------------------------------------------------------------------------------------------

bool Model::IntersectRay(const Ray& ray, float* distance) const
{
    const Matrix4 world = GetWorldMatrix();
    BoundingBox box = m_boundingBox;
    if (m_camera && m_camera->m_attached) {
        box.m_transformation = world;
        box.Update(true);
    }
    if (!box.IntersectSegment(ray.m_origin, ray.m_direction))
        return false;

    Matrix4 inverse = world;
    inverse.Inverse();
    Ray local = TransformRay(inverse, ray);
    local.m_direction.SetLength(1.0f);

    const std::uint32_t vertexCount = m_vertexBuffer->GetVertexCount();
    const std::uint32_t stride = m_vertexBuffer->GetVertexSize();
    const std::uint8_t* data = m_vertexBuffer->GetData();
    float best = kNoHit;
    bool hit = false;
    for (std::uint32_t i = 0; i < m_primitiveCount; ++i) {
        const std::uint32_t first = m_strip ? i : 3 * i;
        const std::uint32_t indices[3] = {m_indexBuffer->GetIndex(first), m_indexBuffer->GetIndex(first + 1),
                                          m_indexBuffer->GetIndex(first + 2)};
        if (indices[0] >= vertexCount || indices[1] >= vertexCount || indices[2] >= vertexCount)
            continue; // a filled-in index beyond the vertices names no triangle
        const Vector3 p0 = ReadPosition(data + static_cast<std::size_t>(indices[0]) * stride);
        const Vector3 p1 = ReadPosition(data + static_cast<std::size_t>(indices[1]) * stride);
        const Vector3 p2 = ReadPosition(data + static_cast<std::size_t>(indices[2]) * stride);
        Plane plane;
        plane.FromPoints(p0, p1, p2);
        float s = 0.0f;
        if (!plane.IntersectRay(local.m_origin, local.m_direction, s))
            continue;
        if (!IsPointInTriangle(plane, local.m_origin + local.m_direction * s, p0, p1, p2))
            continue;
        hit = true;
        best = std::min(best, s);
        if (!distance)
            return true;
    }
    if (distance)
        *distance = best;
    return hit;
}

bool Model::CompareDrawOrder(const Model* a, const Model* b)
{
    const int groupA = DrawGroup(*a);
    const int groupB = DrawGroup(*b);
    if (groupA != groupB)
        return groupA < groupB;
    if (groupA == 0)
        return OrderDepth(*a) < OrderDepth(*b);
    if (groupA == 2)
        return OrderDepth(*a) > OrderDepth(*b);
    return false;
}

// The shader connection -------------------------------------------------------------------------------------

ShaderUser* Model::LoadShader(const std::string& name)
{
    return m_services.shaders->LoadShader(name);
}

ShaderUser* Model::ObtainShader(const ShaderDescriptor& descriptor)
{
    return m_services.shaders->GetShader(descriptor);
}

ShaderUser* Model::CopyShader(const ShaderUser* user)
{
    return user ? ObtainShader(*user) : nullptr;
}

void Model::ReleaseShader(ShaderUser* user)
{
    m_services.shaders->RemoveShader(user);
}

bool Model::ShaderFitsDevice() const
{
    return m_shaderUser->m_stageCount <= m_services.renderSystem->GetTextureStageCount();
}

void Model::ApplyShader()
{
    m_shaderUser->GetShader()->Apply(*m_shaderUser);
}

} // namespace KeystrelEngine
