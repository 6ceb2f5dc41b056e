#include "SpriteGroup.h"

#include "Camera.h"
#include "CameraManager.h"
#include "IndexBuffer.h"
#include "Matrix4.h"
#include "Model.h"
#include "ModelManager.h"
#include "VertexBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace KeystrelEngine {

namespace {

// The group's model is shown and unlit, a triangle list with vertex colours. It is drawn last, farthest first,
// with the Z test on and Z writes off, so that the sprites blend over the scene and over each other instead of
// cutting holes into what is drawn after them. It is not culled: the corners run clockwise on screen, which cull
// mode 1 would remove, and a turned sprite must show whichever way it winds. Update keeps the model's box around
// the sprites, as a box left at the origin would have the frustum test drop the group wherever its sprites are.
constexpr std::uint32_t kModelFlags =
    Model::kShown | Model::kTriangleList | Model::kColours | Model::kDrawLast | Model::kZTest | Model::kNoZWrite;

constexpr float kSmallestRotation = 0.0001f;
constexpr std::uint32_t kTextureOffsetFromEnd = 8; // u and v close every vertex

// NaN would break the sort's ordering; such a sprite sorts as if it were at the camera's plane.
float SortableDepth(float depth)
{
    return std::isnan(depth) ? 0.0f : depth;
}

void Include(Vector3& minimum, Vector3& maximum, const Vector3& p)
{
    minimum = {std::min(minimum.x, p.x), std::min(minimum.y, p.y), std::min(minimum.z, p.z)};
    maximum = {std::max(maximum.x, p.x), std::max(maximum.y, p.y), std::max(maximum.z, p.z)};
}

} // namespace

SpriteGroup::SpriteGroup(CameraManager& cameras, ModelManager& models, std::uint32_t capacity,
                         const ShaderDescriptor* descriptor, Camera* camera)
    : m_models(models), m_capacity(capacity), m_camera(camera ? camera : cameras.GetDefaultCamera())
{
    m_model = models.CreateSelfMadeModel(kModelFlags, 4 * capacity, 6 * capacity, descriptor, m_camera);
    WriteIndices();
    WriteTextureCoordinates();
    ClearIndexCount();
    MakeSprites();
}

// The clone's sprites are all free, so its free stack is full as well: a copy of the source's stack would name
// only the sprites the source had free, and the others could never be taken.
SpriteGroup::SpriteGroup(const SpriteGroup& source)
    : m_sorting(source.m_sorting), m_models(source.m_models), m_capacity(source.m_capacity), m_camera(source.m_camera),
      m_model(source.m_models.CloneModel(*source.m_model, nullptr, 0)), m_centre(source.m_centre)
{
    ClearIndexCount();
    MakeSprites();
}

SpriteGroup::~SpriteGroup()
{
    if (m_models.GetRegistry().Remove(m_model))
        delete m_model;
}

// Every record free, the indices pushed 0 first, so that the first sprite taken is the last one.
void SpriteGroup::MakeSprites()
{
    m_sprites.assign(m_capacity, Sprite());
    m_freeSprites.reserve(m_capacity);
    for (std::uint32_t i = 0; i < m_capacity; ++i)
        m_freeSprites.push_back(i);
    m_visible.assign(m_capacity, nullptr);
}

// Nothing is drawn before the first Update has gathered the sprites.
void SpriteGroup::ClearIndexCount()
{
    m_model->GetIndexBuffer()->SetUsedIndexCount(0);
    m_model->GetPrimitiveCount();
}

// Sprite i draws the triangles (4i, 4i + 1, 4i + 2) and (4i + 2, 4i + 1, 4i + 3).
void SpriteGroup::WriteIndices()
{
    IndexBuffer& indices = *m_model->GetIndexBuffer();
    const std::uint32_t size = indices.GetIndexSize();
    std::uint8_t* out = indices.Lock(0, 6 * m_capacity);
    for (std::uint32_t i = 0; i < m_capacity; ++i) {
        const std::uint32_t first = 4 * i;
        const std::uint32_t sprite[6] = {first, first + 1, first + 2, first + 2, first + 1, first + 3};
        for (const std::uint32_t index : sprite) {
            if (size == 2) {
                const auto narrow = static_cast<std::uint16_t>(index);
                std::memcpy(out, &narrow, 2);
            } else {
                std::memcpy(out, &index, 4);
            }
            out += size;
        }
    }
    indices.Unlock();
}

void SpriteGroup::WriteTextureCoordinates()
{
    static constexpr float kCorners[4][2] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}};
    VertexBuffer& vertices = *m_model->GetVertexBuffer();
    const std::uint32_t stride = vertices.GetVertexSize();
    std::uint8_t* out = vertices.Lock(0, 4 * m_capacity);
    for (std::uint32_t i = 0; i < 4 * m_capacity; ++i, out += stride)
        std::memcpy(out + stride - kTextureOffsetFromEnd, kCorners[i % 4], sizeof(kCorners[0]));
    vertices.Unlock();
}

std::uint32_t SpriteGroup::AddSprite(const Vector3& position, float size, const Color& colour)
{
    if (m_freeSprites.empty())
        return 0;
    const std::uint32_t index = m_freeSprites.back();
    m_freeSprites.pop_back();
    Sprite& sprite = m_sprites[index];
    sprite.free = false;
    sprite.position = position;
    sprite.size = size;
    sprite.colour = colour;
    sprite.rotation = 0.0f;
    return index;
}

void SpriteGroup::ReleaseSprite(std::uint32_t index)
{
    if (index >= m_capacity || m_sprites[index].free)
        return;
    m_sprites[index].free = true;
    m_freeSprites.push_back(index);
}

void SpriteGroup::Update()
{
    if (!(m_model->m_flags & Model::kShown))
        return;
    const Camera& camera = *m_camera;
    m_count = 0;
    for (Sprite& sprite : m_sprites) {
        if (sprite.free)
            continue;
        if (m_sorting)
            sprite.depth = SortableDepth(Dot(camera.m_position - sprite.position, camera.m_forward));
        m_visible[m_count++] = &sprite;
    }
    if (m_sorting) {
        std::sort(m_visible.begin(), m_visible.begin() + m_count,
                  [](const Sprite* a, const Sprite* b) { return a->depth > b->depth; });
    }
    WriteVertices();
    m_model->GetIndexBuffer()->SetUsedIndexCount(6 * m_count);
}

// Writes the corners and colours of the gathered sprites in list order, sums their centres and bounds them.
void SpriteGroup::WriteVertices()
{
    const Camera& camera = *m_camera;
    const Vector3& right = camera.m_right;
    const Vector3& up = camera.m_up;
    VertexBuffer& vertices = *m_model->GetVertexBuffer();
    const std::uint32_t stride = vertices.GetVertexSize();
    Vector3 sum;
    constexpr float kFar = std::numeric_limits<float>::max();
    Vector3 minimum{kFar, kFar, kFar};
    Vector3 maximum{-kFar, -kFar, -kFar};
    std::uint8_t* out = vertices.Lock(0, 4 * m_count);
    for (std::uint32_t k = 0; k < m_count; ++k) {
        const Sprite& sprite = *m_visible[k];
        const Vector3& q = sprite.position;
        const float s = sprite.size;
        sum += q;
        Vector3 corners[4] = {q + (-right - up) * s, q + (-right + up) * s, q + (right - up) * s, q + (right + up) * s};
        if (std::fabs(sprite.rotation) > kSmallestRotation) {
            Matrix4 turn;
            turn.MakeRotationAxis(camera.m_forward, sprite.rotation);
            for (Vector3& corner : corners)
                corner = turn.TransformPoint(corner - q) + q;
        }
        const std::uint32_t argb = VertexBuffer::ColorToDword(sprite.colour);
        for (const Vector3& corner : corners) {
            std::memcpy(out, &corner, sizeof(corner));
            std::memcpy(out + VertexBuffer::kColourOffset, &argb, sizeof(argb));
            Include(minimum, maximum, corner);
            out += stride;
        }
    }
    vertices.Unlock();
    if (m_count == 0) {
        m_centre = {};
        return;
    }
    const float count = static_cast<float>(m_count);
    m_centre = {sum.x / count, sum.y / count, sum.z / count};
    BoundingBox& box = m_model->m_boundingBox;
    box.m_localMin = minimum;
    box.m_localMax = maximum;
    box.Update(true);
}

} // namespace KeystrelEngine
