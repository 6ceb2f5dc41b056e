// Creates models and keeps the registered ones. Once per frame it updates every shown registered model, collects
// those left visible, sorts them into draw order and draws them between the render system's begin and end of
// scene. Unregistered models (loaded unmanaged, boxes) belong to their callers and are never touched by the
// frame pass. To delete a registered model, remove it from the registry and delete it when that succeeds.
#pragma once

#include "Model.h"
#include "engine/foundation/ObjectManager.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {

class ModelManager
{
public:
    explicit ModelManager(const ModelServices& services);
    virtual ~ModelManager();

    ModelManager(const ModelManager&) = delete;
    ModelManager& operator=(const ModelManager&) = delete;

    // A null camera means the default camera (the source's camera for a clone). Errors of the model
    // constructors reach the caller and nothing is registered.
    Model* LoadModel(const std::string& name, Camera* camera, std::uint32_t extraFlags);
    Model* LoadModelUnmanaged(const std::string& name, std::uint32_t extraFlags);
    Model* CloneModel(const Model& source, Camera* camera, std::uint32_t extraFlags);
    Model* CreateSelfMadeModel(std::uint32_t flags, std::uint32_t vertexCount, std::uint32_t indexCount,
                               const ShaderDescriptor* descriptor, Camera* camera);
    Model* CreateBoxModel(const Vector3& minimum, const Vector3& maximum, Camera* camera, std::uint32_t extraFlags);

    // The frame pass.
    void RenderAll();

    ObjectManager<Model>& GetRegistry() { return m_registry; }
    const std::vector<Model*>& GetVisibleModels() const { return m_visible; }

    // The counts of the last frame pass.
    std::uint32_t m_shownPrimitives = 0;
    std::uint32_t m_drawnPrimitives = 0;
    std::uint32_t m_shownModels = 0;
    std::uint32_t m_drawnModels = 0;

private:
    struct SortEntry
    {
        Model* model;
        std::uint32_t position; // in the visible list before sorting
    };

    Model* Register(Model* model);
    void SortVisibleModels();

    ModelServices m_services;
    ObjectManager<Model> m_registry;
    const std::vector<Model*>& m_slots;
    // Both kept between frames, so a steady scene allocates nothing.
    std::vector<Model*> m_visible;
    std::vector<SortEntry> m_sortEntries;
};

} // namespace KeystrelEngine
