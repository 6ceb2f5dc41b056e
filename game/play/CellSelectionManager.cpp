#include "CellSelectionManager.h"

#include "engine/render/AnimationControl.h"
#include "engine/render/ShaderDescriptor.h"
#include "engine/render/ShaderUser.h"

#include <algorithm>

namespace Wispfold {

using KeystrelEngine::Model;
using KeystrelEngine::ShaderDescriptor;

CellSelectionManager::CellSelectionManager(const PlayServices& services, const Model& markerSource)
    : m_services(services), m_markerSource(&markerSource)
{
    for (std::uint32_t n = 0; n < kInitialMarkers; ++n)
        CreateMarkerModel();
}

void CellSelectionManager::CreateMarkerModel()
{
    Model* model = m_services.models->CloneModel(*m_markerSource, nullptr, 0);
    m_models.emplace_back(model, KeystrelEngine::RegisteredModelRelease{m_services.models});
    model->SetFlags(Model::kDrawLast | Model::kFixedDepth);
    model->m_flags &= ~Model::kShown;
    KeystrelEngine::AnimationControl& animation = model->GetAnimationControl();
    animation.AddAnimation(CellSelection::kAppear, 0, 10);
    animation.AddAnimation(CellSelection::kPulse, 10, 40);
    animation.AddAnimation(CellSelection::kDisappear, 40, 50);
    if (KeystrelEngine::ShaderUser* shader = model->GetShaderUser()) {
        shader->m_flags |= ShaderDescriptor::kAlphaBlend;
        shader->m_sourceBlend = ShaderDescriptor::kBlendSourceAlpha;
        shader->m_destinationBlend = ShaderDescriptor::kBlendInverseSourceAlpha;
    }
    m_freeModels.push_back(model);
}

void CellSelectionManager::Update(const CellLook* selected)
{
    bool marked = false;
    for (std::unique_ptr<CellSelection>& marker : m_markers) {
        if (marker->GetCell() != selected)
            marker->m_active = false;
        else if (marker->m_active)
            marked = true;
        marker->Update();
        if (!marker->IsAlive()) {
            m_freeModels.push_back(&marker->GetModel());
            marker.reset();
        }
    }
    std::erase(m_markers, nullptr);
    if (!selected || marked)
        return;
    if (m_freeModels.empty())
        CreateMarkerModel();
    Model* model = m_freeModels.back();
    m_freeModels.pop_back();
    m_markers.push_back(std::make_unique<CellSelection>(*selected, *model));
}

} // namespace Wispfold
