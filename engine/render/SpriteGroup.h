// Up to a fixed number of square sprites that face the camera, drawn as one model. The group owns a pool of sprite
// records and a "self_made" model of the model manager whose buffers hold four vertices and six indices per sprite.
// Every frame Update gathers the sprites in use, sorts them farthest first when sorting is on, and writes their
// corners, turned about the view axis by each sprite's rotation, into the first vertices; the model manager then
// draws exactly the sprites gathered. Particle systems are the users: each live particle is one sprite.
#pragma once

#include "Color.h"
#include "Vector3.h"

#include <cstdint>
#include <vector>

namespace KeystrelEngine {

class Camera;
class CameraManager;
class Model;
class ModelManager;
class ShaderDescriptor;

struct Sprite
{
    bool free = true;      // a new record is free, with every other field zero
    float depth = 0.0f;    // along the camera's view axis, written by Update while sorting is on
    Vector3 position;      // the centre, in world space
    float size = 0.0f;     // half the edge: the corners lie at position +- right * size +- up * size
    float rotation = 0.0f; // radians about the view axis
    Color colour;
};

class SpriteGroup
{
public:
    // A null camera means the camera manager's default camera; a null descriptor the default description.
    SpriteGroup(CameraManager& cameras, ModelManager& models, std::uint32_t capacity,
                const ShaderDescriptor* descriptor, Camera* camera);
    // A fresh group like the source: a clone of its model, the same camera, capacity, centre and sorting, and
    // every sprite free.
    SpriteGroup(const SpriteGroup& source);
    SpriteGroup& operator=(const SpriteGroup&) = delete;
    // Deletes the model when it is still registered with the model manager.
    virtual ~SpriteGroup();

    // Takes the free sprite on top of the stack and returns its index; 0, and no change, when none is free
    // (callers that must not exceed the capacity keep their own count).
    std::uint32_t AddSprite(const Vector3& position, float size, const Color& colour);
    // Frees a sprite in use; others are ignored.
    void ReleaseSprite(std::uint32_t index);
    // The per-frame pass; does nothing while the model is hidden.
    void Update();

    Sprite& GetSprite(std::uint32_t index) { return m_sprites[index]; }
    std::uint32_t GetCapacity() const { return m_capacity; }
    // The sprites the last Update drew, and their mean position ((0, 0, 0) when none).
    std::uint32_t GetCount() const { return m_count; }
    const Vector3& GetCentre() const { return m_centre; }
    Model* GetModel() const { return m_model; }
    Camera* GetCamera() const { return m_camera; }
    std::uint32_t GetFreeCount() const { return static_cast<std::uint32_t>(m_freeSprites.size()); }

    bool m_sorting = true;

private:
    void MakeSprites();
    void ClearIndexCount();
    void WriteIndices();
    void WriteTextureCoordinates();
    void WriteVertices();

    ModelManager& m_models;
    std::uint32_t m_capacity;
    std::vector<Sprite> m_sprites;
    // A stack of free sprite indices, reserved for the whole pool so that recycling never allocates.
    std::vector<std::uint32_t> m_freeSprites;
    // The sprites of the last Update, of which the first m_count are in use.
    std::vector<Sprite*> m_visible;
    std::uint32_t m_count = 0;
    Camera* m_camera;
    Model* m_model = nullptr;
    Vector3 m_centre;
};

} // namespace KeystrelEngine
