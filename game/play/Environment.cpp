#include "Environment.h"

#include "Board.h"
#include "BoardScene.h"

#include "engine/render/AnimationControl.h"
#include "engine/render/Light.h"
#include "engine/render/LightManager.h"

namespace Wispfold {

using KeystrelEngine::Model;

Environment::Environment(const PlayServices& services, KeystrelEngine::LightManager& lights,
                         const CellResources& resources, const Board& board, const BoardScene& scene,
                         const std::vector<Model*>& scenery, const std::vector<EnvironmentEntry>& entries)
    : m_services(services), m_lightManager(&lights)
{
    AddBorders(resources, board, scene);
    for (std::uint32_t i = 0; i < scenery.size() && i < entries.size(); ++i)
        AddScenery(*scenery[i], entries[i], i);
    AddLight(scene);
}

Environment::~Environment()
{
    m_models.clear();
    for (KeystrelEngine::Light* light : m_lights)
        m_lightManager->DeleteLight(light);
}

// Each piece stands where its cell's model stands; its geometry carries the offset to its side.
void Environment::AddBorders(const CellResources& resources, const Board& board, const BoardScene& scene)
{
    for (const auto& cell : board.GetCells()) {
        const CellLook& look = scene.GetLook(*cell);
        const Model* appearance = look.GetAppearance();
        const KeystrelEngine::Matrix4& place = appearance ? appearance->GetOwnWorldMatrix() : look.GetWorldMatrix();
        for (HexDirection d = 0; d < kBorderCount; ++d) {
            if (board.GetNeighbour(cell.get(), d))
                continue;
            Model* piece = m_services.models->CloneModel(*resources.borders[d], nullptr, 0);
            m_models.emplace_back(piece, KeystrelEngine::RegisteredModelRelease{m_services.models});
            piece->SetFlags(Model::kDrawLast);
            piece->SetWorldMatrix(place);
        }
    }
}

void Environment::AddScenery(const Model& source, const EnvironmentEntry& entry, std::uint32_t place)
{
    Model* model = m_services.models->CloneModel(source, nullptr, 0);
    m_models.emplace_back(model, KeystrelEngine::RegisteredModelRelease{m_services.models});
    KeystrelEngine::AnimationControl& animation = model->GetAnimationControl();
    if (animation.GetFrameCount() > 1) {
        if (entry.randomPhase == 1)
            animation.SetRandomPosition(animation.m_currentAnimation);
        else
            animation.m_position = 0.0f;
        animation.m_playing = true;
        animation.m_looping = true;
    }
    if (entry.lit == 0)
        model->m_flags &= ~Model::kLit;
    if (entry.sorted == 1) {
        model->SetFlags(Model::kDrawLast | Model::kFixedDepth | Model::kNoZWrite);
        model->m_sortBias =
            static_cast<float>(kSortedBiasBase - static_cast<double>(kSortedBiasStep) * static_cast<double>(place));
    }
}

void Environment::AddLight(const BoardScene& scene)
{
    m_lightManager->m_ambient = {kAmbient, kAmbient, kAmbient, kAmbient};
    KeystrelEngine::Light* light = m_lightManager->CreateLight();
    m_lights.push_back(light);
    light->enabled = true;
    light->type = KeystrelEngine::Light::TypePoint;
    light->position = scene.GetBoundingBox().m_centre + KeystrelEngine::Vector3{0.0f, 0.0f, kLightHeight};
    light->direction = {0.0f, 0.0f, -1.0f};
    light->attenuation0 = 1.1f;
    light->attenuation1 = 0.0f;
    light->attenuation2 = 0.0f;
}

} // namespace Wispfold
