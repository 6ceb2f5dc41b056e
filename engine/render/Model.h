// The engine's mesh: one vertex buffer and one index buffer drawn with one shader, placed by a world matrix,
// bounded by a box, drawn and culled with one camera, and optionally animated by blending whole vertex frames
// (morph animation) or by skinning the vertices to a skeleton. A model is read from a ".mlf" file, cloned from
// another model, made empty for its caller to fill ("self_made"), or made as an axis-aligned box ("box").
//
// Owners drive a model by writing its open fields (flags, camera, sort bias, the animate-vertices switch, the
// animation control's fields) and calling the placement operations; the per-frame Update derives the rest.
#pragma once

#include "BoundingBox.h"
#include "Matrix4.h"
#include "Ray.h"
#include "Vector3.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KeystrelEngine {

class AnimationControl;
class Camera;
class CameraManager;
class FileBinary;
class FileManager;
class FileValues;
class IndexBuffer;
class LightManager;
class MessageManager;
class RenderSystem;
class ShaderDescriptor;
class ShaderManager;
class ShaderUser;
class Skeleton;
class TimerManager;
class VertexBuffer;

// The services every model keeps copies of; none of them is owned.
struct ModelServices
{
    MessageManager* log = nullptr;
    FileManager* files = nullptr;
    TimerManager* timers = nullptr;
    RenderSystem* renderSystem = nullptr;
    CameraManager* cameras = nullptr;
    LightManager* lights = nullptr;
    ShaderManager* shaders = nullptr;
};

// One influence of a bone on a skinned vertex, with the vertex's position and normal in the bone's space.
struct SkinWeight
{
    std::uint16_t bone = 0;
    float weight = 0.0f;
    Vector3 position;
    Vector3 normal;
};

struct SkinVertex
{
    static constexpr std::uint16_t kMaxWeights = 4;

    std::uint16_t weightCount = 0;
    SkinWeight weights[kMaxWeights];
};

// One vertex of one morph frame, laid out as a plain 32-byte vertex.
struct MorphVertex
{
    Vector3 position;
    Vector3 normal;
    float u = 0.0f;
    float v = 0.0f;
};

static_assert(sizeof(MorphVertex) == 32);

class Model
{
    // Four floats that the compiler adds and multiplies as one SIMD value.
    using Float4 = float __attribute__((vector_size(16)));
    // A bone's placement for skinning, as columns: translation x rotation x scale for positions, the rotation
    // alone for normals.
    struct BoneColumns
    {
        Float4 position[4];
        Float4 normal[3];
    };

    // What a file gives and nothing changes later (skin records, morph frames, bone keys) is shared between a
    // model and its clones; a clone of a hundred butterflies holds one copy. Null means none.
    template <class T> using SharedItems = std::shared_ptr<const std::vector<T>>;
    template <class T> static const std::vector<T>& Items(const SharedItems<T>& items)
    {
        static const std::vector<T> none;
        return items ? *items : none;
    }

public:
    // Feature bits of the flags, as files store them.
    static constexpr std::uint32_t kStatic = 0x1;           // static vertices in the file
    static constexpr std::uint32_t kMorph = 0x2;            // vertex frames
    static constexpr std::uint32_t kSkeletal = 0x4;         // skinned to a skeleton
    static constexpr std::uint32_t kTriangleList = 0x8;     // clear: a triangle strip
    static constexpr std::uint32_t kColours = 0x20;         // 36-byte vertices with a diffuse colour
    static constexpr std::uint32_t kLit = 0x40;             // lights on while drawing
    static constexpr std::uint32_t kZTest = 0x80;           // Z test on
    static constexpr std::uint32_t kDrawFirst = 0x200;      // drawn first, nearest first
    static constexpr std::uint32_t kDrawLast = 0x400;       // drawn last, farthest first
    static constexpr std::uint32_t kFixedDepth = 0x800;     // the sort depth is not recomputed
    static constexpr std::uint32_t kZBiased = 0x1000;       // drawn with the camera's Z-biased projection
    static constexpr std::uint32_t kCullMode1 = 0x2000;     //
    static constexpr std::uint32_t kTwoPasses = 0x4000;     // cull mode 2, then cull mode 1
    static constexpr std::uint32_t kRecomputeBox = 0x8000;  // with kStatic: the box follows the vertices
    static constexpr std::uint32_t kShown = 0x40000;        // updated and drawn
    static constexpr std::uint32_t kNoZWrite = 0x80000;     //
    static constexpr std::uint32_t kIndexUsage = 0x100000;  // the index buffer's usage flag
    static constexpr std::uint32_t kVertexUsage = 0x200000; // the vertex buffer's usage flag; stands in for 0
    static constexpr std::uint32_t kCullMode2 = 0x400000;   //
    static constexpr std::uint32_t kBoxFlags = 0x422C9;     // the "box" form's own flags
    static constexpr std::uint32_t kFileVersion = 201;
    // What IntersectRay reports when it hits nothing.
    static constexpr float kNoHit = 100000.0f;

    // Reads the named ".mlf" file below the data folder. A null camera means the default camera. Extra flags
    // join the file's flags; the file's layout is read by the file's own flags. A missing or damaged file is
    // logged as an error and raises Error with the same text.
    Model(const ModelServices& services, const std::string& name, Camera* camera, std::uint32_t extraFlags);
    // A clone: its own buffers, animation and skeleton; the services, the camera and the shader are shared. A
    // null camera means the source's.
    Model(const Model& source, Camera* camera, std::uint32_t extraFlags);
    // An empty model for the caller to fill and bound ("self_made"). A null descriptor means the default one.
    Model(const ModelServices& services, std::uint32_t flags, std::uint32_t vertexCount, std::uint32_t indexCount,
          const ShaderDescriptor* descriptor, Camera* camera);
    // A box between two corners, four vertices a face ("box").
    Model(const ModelServices& services, const Vector3& minimum, const Vector3& maximum, Camera* camera,
          std::uint32_t extraFlags);
    virtual ~Model();

    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // Triangles in the used part of the index buffer: indices - 2 for a strip (0 below 3 indices), indices / 3
    // for a list. Stored and returned.
    std::uint32_t GetPrimitiveCount();
    // The local box of the vertices the index buffer names.
    void ComputeBoundingBox();

    void SetWorldMatrix(const Matrix4& matrix);
    // world = matrix x world.
    void MultiplyWorldMatrix(const Matrix4& matrix);
    // Back to the base matrix.
    void ResetWorldMatrix();
    // world = matrix x base: the model's own set-up, then the placement.
    void SetWorldMatrixRelativeToBase(const Matrix4& matrix);
    // The world matrix, or camera's third x world x camera's second for a camera that carries its models.
    Matrix4 GetWorldMatrix() const;
    // Ors the bits in; naming one draw-order group clears the other, naming one cull choice clears the others.
    void SetFlags(std::uint32_t bits);
    // Draws with a new shader from now on, or keeps a copy of the description for later while the deferral flag
    // is set.
    void SetShaderDescriptor(const ShaderDescriptor& descriptor);

    // The per-frame update of a shown model: advances the animation, poses the skeleton, moves the box, culls
    // against the camera (when asked), computes the sort depth and writes the animated vertices.
    void Update(bool testVisibility);
    // Draws a shown model that the update left visible, once or in two passes.
    void Render();
    // Whether the ray hits a triangle. Misses of the box leave the distance alone; otherwise the distance of the
    // nearest hit, in the model's own space along the unit direction, or kNoHit. Without a distance the first
    // hit ends the search.
    bool IntersectRay(const Ray& ray, float* distance) const;

    // Whether a is drawn before b: draw-first models by ascending depth, then the others, then draw-last models
    // by descending depth (depth = sort depth + sort bias). A strict weak ordering, for a stable sort.
    static bool CompareDrawOrder(const Model* a, const Model* b);

    const std::string& GetName() const { return m_name; }
    bool IsStrip() const { return m_strip; }
    IndexBuffer* GetIndexBuffer() const { return m_indexBuffer.get(); }
    VertexBuffer* GetVertexBuffer() const { return m_vertexBuffer.get(); }
    AnimationControl& GetAnimationControl() const { return *m_animation; }
    Skeleton* GetSkeleton() const { return m_skeleton.get(); }
    const std::vector<SkinVertex>& GetSkinVertices() const { return Items(m_skinVertices); }
    const std::vector<MorphVertex>& GetMorphVertices() const { return Items(m_morphVertices); }
    const std::vector<BoundingBox>& GetMorphBoxes() const { return m_morphBoxes; }
    const std::vector<float>& GetBoneKeys() const { return Items(m_boneKeys); }
    ShaderUser* GetShaderUser() const { return m_shaderUser; }
    const ShaderDescriptor* GetPendingDescriptor() const { return m_pendingDescriptor.get(); }
    const Matrix4& GetOwnWorldMatrix() const { return m_worldMatrix; }
    std::uint32_t GetDrawCount() const { return m_drawCount; }
    float GetSortDepth() const { return m_sortDepth; }
    // For models whose owners place them in depth themselves (fixed-depth models: the GUI's quads and texts).
    void SetSortDepth(float depth) { m_sortDepth = depth; }

    std::uint32_t m_flags = 0;
    Camera* m_camera = nullptr;
    // Local box of the mesh, world box after the world matrix. Owners of "self_made" models set it.
    BoundingBox m_boundingBox;
    Matrix4 m_baseMatrix;
    float m_sortBias = 0.0f; // added to the sort depth when ordering
    bool m_animateVertices = true;
    bool m_deferShaderChange = false;
    // A second surface's shader, set by owners that draw one; copied on cloning, released with the model.
    ShaderUser* m_secondShaderUser = nullptr;

private:
    void ReadFile(FileBinary& file, const FileValues& values, std::uint32_t extraFlags);
    void ReadSkeleton(FileBinary& file, const FileValues& values, std::uint32_t frameCount);
    void ReadIndices(FileBinary& file, const FileValues& values, std::uint32_t indexCount, std::uint32_t vertexCount);
    void ReadStaticVertices(FileBinary& file, const FileValues& values);
    void ReadMorphVertices(FileBinary& file, const FileValues& values, std::uint32_t frameCount);
    void ReadSkinVertices(FileBinary& file, const FileValues& values);
    void ReadBounds(FileBinary& file, const FileValues& values, std::uint32_t fileFlags, std::uint32_t frameCount);
    void CreateBuffers(std::uint32_t vertexCount, std::uint32_t indexCount);
    void FillBox(const Vector3& minimum, const Vector3& maximum);
    // Camera, matrices and counters of a new model.
    void Finish(Camera* camera);
    void ApplyWorldMatrixToBox();

    void PoseSkeleton(std::uint32_t frameA, std::uint32_t frameB, float t);
    void WriteMorphedVertices(std::uint32_t frameA, std::uint32_t frameB, float t);
    void WriteSkinnedVertices();
    bool IsVisible() const;
    void DrawPasses();

    // The shader connection: every model draws with one shader user of the shader manager.
    ShaderUser* LoadShader(const std::string& name);
    ShaderUser* ObtainShader(const ShaderDescriptor& descriptor);
    // A new user of the same description; null for none.
    ShaderUser* CopyShader(const ShaderUser* user);
    void ReleaseShader(ShaderUser* user);
    bool ShaderFitsDevice() const;
    void ApplyShader();

    ModelServices m_services;
    std::string m_name;
    bool m_strip = true;
    std::unique_ptr<IndexBuffer> m_indexBuffer;
    std::unique_ptr<VertexBuffer> m_vertexBuffer;
    std::unique_ptr<AnimationControl> m_animation;
    ShaderUser* m_shaderUser = nullptr;
    std::unique_ptr<ShaderDescriptor> m_pendingDescriptor;
    SharedItems<SkinVertex> m_skinVertices;   // one per vertex of a skinned model
    SharedItems<MorphVertex> m_morphVertices; // frame x vertex count + vertex
    std::unique_ptr<Skeleton> m_skeleton;
    SharedItems<float> m_boneKeys;          // 10 per key, frame x bone count + bone
    std::vector<BoneColumns> m_boneColumns; // one per bone, rewritten by every skinning pass
    Matrix4 m_worldMatrix;
    std::vector<BoundingBox> m_morphBoxes; // one per frame
    std::uint32_t m_primitiveCount = 0;
    std::uint32_t m_drawCount = 0;
    float m_sortDepth = 0.0f;
};

} // namespace KeystrelEngine
