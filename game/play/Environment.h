// Dresses the board for one level: a border piece on every side of a cell that has no neighbour there, the
// level's scenery models with their drawing settings, and the scene's light. It has no frame work of its own: the
// engine draws and animates what it registered. It is made right after the board and deleted with the level.
#pragma once

#include "CellResources.h"
#include "GameLogicData.h"
#include "PlayServices.h"

#include "engine/gui/RegisteredModel.h"

#include <vector>

namespace KeystrelEngine {
class Light;
class LightManager;
} // namespace KeystrelEngine

namespace Wispfold {

class Board;
class BoardScene;

class Environment
{
public:
    // Sorted scenery is drawn in the late group, biased by this minus 0.01 per place in the level's list.
    static constexpr double kSortedBiasBase = 100000.0;
    static constexpr float kSortedBiasStep = 0.01f;
    static constexpr float kAmbient = 0.21f;
    // The light hangs this far above the board's centre.
    static constexpr float kLightHeight = 200.0f;

    // Borders in the board's cell order and direction order, then the scenery in the level's order, then the
    // light. The level's scenery and its flags are parallel lists.
    Environment(const PlayServices& services, KeystrelEngine::LightManager& lights, const CellResources& resources,
                const Board& board, const BoardScene& scene, const std::vector<KeystrelEngine::Model*>& scenery,
                const std::vector<EnvironmentEntry>& entries);
    // Gives back every model the registry still holds and deletes the light.
    virtual ~Environment();

    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    // Border pieces first, then the scenery.
    const std::vector<KeystrelEngine::RegisteredModel>& GetModels() const { return m_models; }
    const std::vector<KeystrelEngine::Light*>& GetLights() const { return m_lights; }

private:
    void AddBorders(const CellResources& resources, const Board& board, const BoardScene& scene);
    void AddScenery(const KeystrelEngine::Model& source, const EnvironmentEntry& entry, std::uint32_t place);
    void AddLight(const BoardScene& scene);

    PlayServices m_services;
    KeystrelEngine::LightManager* m_lightManager;
    std::vector<KeystrelEngine::RegisteredModel> m_models;
    std::vector<KeystrelEngine::Light*> m_lights;
};

} // namespace Wispfold
