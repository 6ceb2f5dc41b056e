#include "ModelManager.h"

#include "RenderSystem.h"

#include <algorithm>
#include <memory>

namespace KeystrelEngine {

ModelManager::ModelManager(const ModelServices& services) : m_services(services), m_slots(m_registry.GetSlots()) {}

ModelManager::~ModelManager()
{
    m_visible.clear();
}

Model* ModelManager::Register(Model* model)
{
    m_registry.Add(model);
    return model;
}

Model* ModelManager::LoadModel(const std::string& name, Camera* camera, std::uint32_t extraFlags)
{
    return Register(new Model(m_services, name, camera, extraFlags));
}

Model* ModelManager::LoadModelUnmanaged(const std::string& name, std::uint32_t extraFlags)
{
    return new Model(m_services, name, nullptr, extraFlags);
}

Model* ModelManager::CloneModel(const Model& source, Camera* camera, std::uint32_t extraFlags)
{
    return Register(new Model(source, camera, extraFlags));
}

Model* ModelManager::CreateSelfMadeModel(std::uint32_t flags, std::uint32_t vertexCount, std::uint32_t indexCount,
                                         const ShaderDescriptor* descriptor, Camera* camera)
{
    return Register(new Model(m_services, flags, vertexCount, indexCount, descriptor, camera));
}

Model* ModelManager::CreateBoxModel(const Vector3& minimum, const Vector3& maximum, Camera* camera,
                                    std::uint32_t extraFlags)
{
    return new Model(m_services, minimum, maximum, camera, extraFlags);
}

// The draw-order predicate leaves models of neither group equal to each other; their place in the visible list
// (slot order) decides between equals, which makes the sort stable without the buffer a stable sort allocates.
void ModelManager::SortVisibleModels()
{
    m_sortEntries.clear();
    if (m_sortEntries.capacity() < m_visible.size())
        m_sortEntries.reserve(m_slots.size());
    for (std::uint32_t i = 0; i < m_visible.size(); ++i)
        m_sortEntries.push_back({m_visible[i], i});
    std::sort(m_sortEntries.begin(), m_sortEntries.end(), [](const SortEntry& a, const SortEntry& b) {
        if (Model::CompareDrawOrder(a.model, b.model))
            return true;
        return !Model::CompareDrawOrder(b.model, a.model) && a.position < b.position;
    });
    for (std::uint32_t i = 0; i < m_visible.size(); ++i)
        m_visible[i] = m_sortEntries[i].model;
}

void ModelManager::RenderAll()
{
    m_shownPrimitives = m_drawnPrimitives = m_shownModels = m_drawnModels = 0;
    RenderSystem& renderSystem = *m_services.renderSystem;
    if (!renderSystem.AreSurfacesValid())
        return;
    m_visible.clear();
    if (m_visible.capacity() < m_slots.size())
        m_visible.reserve(m_slots.size());
    for (Model* model : m_slots) {
        if (!model || !(model->m_flags & Model::kShown))
            continue;
        model->Update(true);
        const std::uint32_t drawCount = model->GetDrawCount();
        m_shownPrimitives += model->GetPrimitiveCount();
        m_drawnPrimitives += drawCount;
        ++m_shownModels;
        if (drawCount != 0) {
            ++m_drawnModels;
            m_visible.push_back(model);
        }
    }
    SortVisibleModels();
    renderSystem.BeginScene();
    for (Model* model : m_visible)
        model->Render();
    renderSystem.EndScene();
}

} // namespace KeystrelEngine
