// Every model, shader and particle system that the menus, the in-game window and the board share for the whole
// run, and the two GUI windows the menus and the in-game window hang their windows on. The game loads it once on
// the loading worker, right after the logo screen; afterwards the main thread reads the entries, by the file
// name they were loaded from, or from the lists below. Nothing is loaded lazily.
//
// Everything loaded goes into the keeper's lists the moment it is made, so a load that fails part-way leaves it
// all to the destructor, on the main thread.
#pragma once

#include "framework/DataKeeper.h"

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace KeystrelEngine {
class Camera;
class GUIManager;
class GUIWindow;
} // namespace KeystrelEngine

namespace Wispfold {

class GameData : public GameFramework::DataKeeper
{
public:
    static constexpr std::size_t kBorderCount = 6;
    static constexpr std::size_t kColourCount = 5; // butterfly colours, by ItemColor
    static constexpr std::int32_t kChildWindowLayer = 100;

    GameData(const GameFramework::DataKeeperServices& services, KeystrelEngine::GUIManager* gui);
    // Deletes the two GUI windows; the keeper frees the rest.
    ~GameData() override;

    // By the name the entry was loaded from ("ui\\menus\\models\\controls\\button_big.mlf"; a shader by its
    // diffuse texture, "game_objects\\cell\\textures\\cell_1.jpg"). A name that was not loaded is an Error.
    KeystrelEngine::Model* GetModel(std::string_view name) const;
    KeystrelEngine::ShaderUser* GetShader(std::string_view textureName) const;
    KeystrelEngine::ParticleSystem* GetParticleSystem(std::string_view name) const;

    // The stage themes of the menu background (kind 0), with each one's position in the background file and its
    // stage, as three parallel lists.
    const std::vector<KeystrelEngine::Model*>& GetThemeModels() const { return m_themeModels; }
    const std::vector<std::uint32_t>& GetThemePositions() const { return m_themePositions; }
    const std::vector<std::int32_t>& GetThemeStages() const { return m_themeStages; }

    const std::vector<KeystrelEngine::Model*>& GetBorders() const { return m_borders; }
    const std::vector<KeystrelEngine::ShaderUser*>& GetButterflyShaders() const { return m_butterflyShaders; }
    const std::vector<KeystrelEngine::ShaderUser*>& GetShadowShaders() const { return m_shadowShaders; }

    // Shown, at depth -10, without a quad or a parent.
    KeystrelEngine::GUIWindow* GetRootWindow() const { return m_rootWindow; }
    // Shown, under the root window at layer 100.
    KeystrelEngine::GUIWindow* GetChildWindow() const { return m_childWindow; }

protected:
    void DoLoad() override;

private:
    struct ModelList; // a folder and its models with their load flags

    void LoadThemes();
    void LoadCharacter();
    void LoadCells();
    void LoadBorders();
    void LoadButterflies();
    void LoadShadows();
    void LoadWindows();

    void LoadModels(const ModelList& list);
    KeystrelEngine::Model* LoadModel(const std::string& name, std::uint32_t flags);
    KeystrelEngine::ShaderUser* LoadShader(const std::string& texture, const std::string& opacity,
                                           std::uint32_t gridSize = 1);
    // Each "ui\\menus\\particles\\" + name + ".psf", drawn through the camera: the board's effects through the
    // level's (null: the default camera), the menus' through the GUI's, whose units their owners place them in.
    void LoadParticleSystems(std::span<const char* const> names, KeystrelEngine::Camera* camera);

    KeystrelEngine::GUIManager* m_gui;
    std::map<std::string, KeystrelEngine::Model*, std::less<>> m_modelsByName;
    std::map<std::string, KeystrelEngine::ShaderUser*, std::less<>> m_shadersByName;
    std::map<std::string, KeystrelEngine::ParticleSystem*, std::less<>> m_particleSystemsByName;
    std::vector<KeystrelEngine::Model*> m_themeModels;
    std::vector<std::uint32_t> m_themePositions;
    std::vector<std::int32_t> m_themeStages;
    std::vector<KeystrelEngine::Model*> m_borders;
    std::vector<KeystrelEngine::ShaderUser*> m_butterflyShaders;
    std::vector<KeystrelEngine::ShaderUser*> m_shadowShaders;
    KeystrelEngine::GUIWindow* m_rootWindow = nullptr;
    KeystrelEngine::GUIWindow* m_childWindow = nullptr;
};

} // namespace Wispfold
