#include "GameData.h"

#include "BackgroundThemes.h"

#include "engine/foundation/Error.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Model.h"
#include "engine/render/ModelManager.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/ShaderDescriptor.h"
#include "engine/render/ShaderManager.h"

#include <functional>
#include <iterator>

namespace Wispfold {
namespace {

using KeystrelEngine::Model;

// Model load flags: GUI models carry vertex colours, the board's borders are static besides.
constexpr std::uint32_t kColoured = Model::kColours;
constexpr std::uint32_t kColouredStatic = Model::kColours | Model::kStatic;
constexpr std::uint32_t kCharacterGrid = 16; // the character's faces: a 16 x 16 frame grid

struct ModelEntry
{
    const char* name; // below the list's folder, without ".mlf"
    std::uint32_t flags;
};

constexpr ModelEntry kCharacterModels[] = {{"character", kColoured},
                                           {"text_size1", kColoured},
                                           {"text_size2", kColoured},
                                           {"text_size3", kColoured},
                                           {"text_size4", kColoured}};

constexpr ModelEntry kCellModels[] = {{"cell_empty", kColoured},  {"cell_single", kColoured},
                                      {"cell_double", kColoured}, {"cell_select", kColoured},
                                      {"cell_block", kColoured},  {"cell_tip", kColoured}};

constexpr const char* kCellTextures[] = {"cell_1", "cell_1_closed", "cell_1_blocked",
                                         "cell_2", "cell_2_closed", "cell_2_blocked"};

constexpr ModelEntry kBonusModels[] = {
    {"item_destruction", kColoured}, {"combination_destruction", kColoured}, {"color_destruction", kColoured}};

constexpr const char* kBoardParticleSystems[] = {"butterfly_appear", "butterfly_disappear", "butterfly_swap",
                                                 "mana_cell"};

constexpr const char* kMenuParticleSystems[] = {"upgrade", "cursor_train", "cursor_click", "mana_to_progress",
                                                "mana_progress"};

// Each window's frame is drawn with vertex colours, its area and buttons without.
constexpr ModelEntry kMenuModels[] = {{"background\\text_area", 0},
                                      {"small_window\\window", kColoured},
                                      {"small_window\\window_area", 0},
                                      {"small_window\\edit", kColoured},
                                      {"small_window\\button_0", 0},
                                      {"small_window\\button_1", 0},
                                      {"big_window\\window", kColoured},
                                      {"big_window\\window_area", 0},
                                      {"big_window\\button_0", 0},
                                      {"big_window\\button_1", 0},
                                      {"big_window\\button_2", 0},
                                      {"main_menu\\window", kColoured},
                                      {"main_menu\\window_area", 0},
                                      {"main_menu\\button_0", 0},
                                      {"main_menu\\button_1", 0},
                                      {"main_menu\\button_2", 0},
                                      {"main_menu\\button_3", 0},
                                      {"main_menu\\button_4", 0},
                                      {"main_menu\\button_5", 0},
                                      {"main_menu\\button_6", 0},
                                      {"start_game\\window", kColoured},
                                      {"start_game\\window_area", 0},
                                      {"start_game\\button_0", 0},
                                      {"start_game\\button_1", 0},
                                      {"options\\fullscreen_check_box", 0},
                                      {"options\\resolution_button_left", 0},
                                      {"options\\resolution_button_right", 0},
                                      {"options\\resolution_text", kColoured},
                                      {"options\\resolution_text_area", 0},
                                      {"options\\slider_music", 0},
                                      {"options\\slider_sound", 0},
                                      {"profiles\\button_0", 0},
                                      {"profiles\\button_1", 0},
                                      {"profiles\\button_2", 0},
                                      {"profiles\\button_3", 0},
                                      {"profiles\\scroll", 0},
                                      {"profiles\\text", kColoured},
                                      {"game_logic_menu\\relax_check_box", 0},
                                      {"game_logic_menu\\fullscreen_check_box", 0},
                                      {"game_logic_menu\\slider_music", 0},
                                      {"game_logic_menu\\slider_sound", 0},
                                      {"controls\\button_arrow_up", kColoured},
                                      {"controls\\button_arrow_down", kColoured},
                                      {"controls\\button_arrow_left", kColoured},
                                      {"controls\\button_arrow_right", kColoured},
                                      {"controls\\button_main_menu", 0},
                                      {"controls\\button_main_menu_selection_area", 0},
                                      {"controls\\button_main_menu_text_area", 0},
                                      {"controls\\button_big", kColoured},
                                      {"controls\\button_big_selection_area", 0},
                                      {"controls\\button_big_text_area", 0},
                                      {"controls\\button_small", kColoured},
                                      {"controls\\button_small_selection_area", 0},
                                      {"controls\\button_small_text_area", 0},
                                      {"controls\\button_game_logic_mode", kColoured},
                                      {"controls\\button_game_logic_mode_selection_area", 0},
                                      {"controls\\button_game_logic_mode_text_area", 0},
                                      {"controls\\button_game_logic_minimize", kColoured},
                                      {"controls\\button_game_logic_minimize_selection_area", 0},
                                      {"controls\\button_game_logic_minimize_text_area", 0},
                                      {"controls\\button_game_logic_maximize", kColoured},
                                      {"controls\\button_game_logic_maximize_selection_area", 0},
                                      {"controls\\button_game_logic_maximize_text_area", 0},
                                      {"controls\\button_game_logic_close", kColoured},
                                      {"controls\\button_game_logic_close_selection_area", 0},
                                      {"controls\\button_game_logic_close_text_area", 0},
                                      {"controls\\upgrade", kColoured},
                                      {"controls\\check_box", kColoured},
                                      {"controls\\scroll_h", kColoured},
                                      {"controls\\scroll_h_toddler", kColoured},
                                      {"controls\\scroll_h_toddler_min", 0},
                                      {"controls\\scroll_h_toddler_max", 0},
                                      {"controls\\scroll_h_button_increase", 0},
                                      {"controls\\scroll_h_button_decrease", 0},
                                      {"controls\\scroll_v", kColoured},
                                      {"controls\\scroll_v_toddler", kColoured},
                                      {"controls\\scroll_v_toddler_min", 0},
                                      {"controls\\scroll_v_toddler_max", 0},
                                      {"controls\\scroll_v_button_increase", 0},
                                      {"controls\\scroll_v_button_decrease", 0}};

// Map element kinds 0 start, 1 finish, 2 check point, 3 path, then the selected path marker.
constexpr ModelEntry kMapModels[] = {{"start", kColoured},
                                     {"finish", kColoured},
                                     {"check_point", kColoured},
                                     {"path", kColoured},
                                     {"path_check_point", kColoured}};

constexpr ModelEntry kInGameModels[] = {{"background", 0},
                                        {"menu_button", 0},
                                        {"level_name_text_area", 0},
                                        {"level_name", 0},
                                        {"level_name_title_text_area", 0},
                                        {"score_text_area", 0},
                                        {"score", 0},
                                        {"score_title_text_area", 0},
                                        {"mode_button", 0},
                                        {"minimize_button", 0},
                                        {"maximize_window_button", 0},
                                        {"maximize_fullscreen_button", 0},
                                        {"close_button", 0},
                                        {"mana_background", 0},
                                        {"mana", kColoured},
                                        {"mana_text_area", 0},
                                        {"energy_background", 0},
                                        {"energy", kColoured},
                                        {"energy_text_area", 0}};

constexpr ModelEntry kLevelCompleteModels[] = {
    {"frame", kColoured}, {"upgrade", 0}, {"mana_background", kColoured}, {"mana", kColoured}, {"mana_text_area", 0}};

template <class Entry>
Entry* Find(const std::map<std::string, Entry*, std::less<>>& entries, std::string_view name, const char* what)
{
    const auto found = entries.find(name);
    if (found == entries.end())
        throw KeystrelEngine::Error("No shared " + std::string(what) + " \"" + std::string(name) + "\"");
    return found->second;
}

// Appends a slot before the object is made, so that whatever is made is in the list that frees it.
template <class T, class Make> T* Keep(std::vector<T*>& list, Make make)
{
    list.push_back(nullptr);
    list.back() = make();
    return list.back();
}

} // namespace

struct GameData::ModelList
{
    const char* folder;
    std::span<const ModelEntry> entries;
};

GameData::GameData(const GameFramework::DataKeeperServices& services, KeystrelEngine::GUIManager* gui)
    : DataKeeper(services), m_gui(gui)
{
}

GameData::~GameData()
{
    m_gui->DeleteWindow(m_childWindow);
    m_gui->DeleteWindow(m_rootWindow);
}

KeystrelEngine::Model* GameData::GetModel(std::string_view name) const
{
    return Find(m_modelsByName, name, "model");
}

KeystrelEngine::ShaderUser* GameData::GetShader(std::string_view textureName) const
{
    return Find(m_shadersByName, textureName, "shader");
}

KeystrelEngine::ParticleSystem* GameData::GetParticleSystem(std::string_view name) const
{
    return Find(m_particleSystemsByName, name, "particle system");
}

// Each step's end moves the progress on.
void GameData::DoLoad()
{
    const std::function<void()> steps[] = {
        [this] { LoadThemes(); },
        [this] { LoadCharacter(); },
        [this] { LoadCells(); },
        [this] { LoadBorders(); },
        [this] { LoadButterflies(); },
        [this] { LoadShadows(); },
        [this] {
            LoadModels({"game_objects\\bonuses\\", kBonusModels});
        },
        [this] { LoadParticleSystems(kBoardParticleSystems, nullptr); },
        [this] { LoadWindows(); },
        [this] {
            LoadModels({"ui\\menus\\models\\", kMenuModels});
        },
        [this] {
            LoadModels({"ui\\menus\\map\\models\\", kMapModels});
        },
        [this] {
            LoadModels({"ui\\menus\\models\\game_logic\\", kInGameModels});
        },
        [this] {
            LoadModels({"ui\\menus\\models\\level_complete\\", kLevelCompleteModels});
        },
        [this] { LoadParticleSystems(kMenuParticleSystems, m_gui->m_camera); }};
    for (std::size_t done = 0; done < std::size(steps); ++done) {
        steps[done]();
        m_progress = static_cast<float>(done + 1) / static_cast<float>(std::size(steps));
    }
}

// The stage themes only: base themes are the background's own. Every theme keeps its position in the file.
void GameData::LoadThemes()
{
    const BackgroundThemes themes(*m_fileManager);
    for (std::size_t position = 0; position < themes.GetThemes().size(); ++position) {
        const BackgroundTheme& theme = themes.GetThemes()[position];
        if (!theme.IsStageTheme())
            continue;
        m_themeModels.push_back(LoadModel(theme.GetModelName(), kColoured));
        m_themePositions.push_back(static_cast<std::uint32_t>(position));
        m_themeStages.push_back(theme.stage);
    }
}

void GameData::LoadCharacter()
{
    LoadModels({"ui\\menus\\character\\", kCharacterModels});
    LoadShader("ui\\menus\\textures\\character_color.jpg", "ui\\menus\\textures\\character_alpha.jpg", kCharacterGrid);
}

void GameData::LoadCells()
{
    LoadModels({"game_objects\\cell\\", kCellModels});
    for (const char* texture : kCellTextures)
        LoadShader("game_objects\\cell\\textures\\" + std::string(texture) + ".jpg", "");
}

void GameData::LoadBorders()
{
    for (std::size_t n = 0; n < kBorderCount; ++n)
        m_borders.push_back(
            LoadModel("game_objects\\board_border\\border_" + std::to_string(n) + ".mlf", kColouredStatic));
}

// The butterfly and a shader of each colour.
void GameData::LoadButterflies()
{
    LoadModel("game_objects\\butterfly\\butterfly.mlf", kColoured);
    for (std::size_t n = 0; n < kColourCount; ++n) {
        const std::string stem = "game_objects\\butterfly\\textures\\butterfly_" + std::to_string(n);
        m_butterflyShaders.push_back(LoadShader(stem + ".jpg", stem + "_alpha.jpg"));
    }
}

// The shadow and a shader of each colour: one picture, cut out by each colour's own opacity.
void GameData::LoadShadows()
{
    LoadModel("game_objects\\shadow\\shadow.mlf", kColoured);
    for (std::size_t n = 0; n < kColourCount; ++n)
        m_shadowShaders.push_back(
            LoadShader("game_objects\\shadow\\textures\\butterfly_shadow.jpg",
                       "game_objects\\shadow\\textures\\butterfly_shadow_" + std::to_string(n) + "_alpha.jpg"));
}

void GameData::LoadWindows()
{
    using KeystrelEngine::GUIWindow;
    const KeystrelEngine::Model* noQuad = nullptr;
    m_rootWindow = m_gui->CreateWindow(GUIWindow::kShown | GUIWindow::kLayer10, {}, {}, noQuad, nullptr);
    m_childWindow = m_gui->CreateWindow(GUIWindow::kShown, {}, {}, noQuad, m_rootWindow);
    m_childWindow->SetLayer(kChildWindowLayer);
}

void GameData::LoadModels(const ModelList& list)
{
    for (const ModelEntry& entry : list.entries)
        LoadModel(std::string(list.folder) + entry.name + ".mlf", entry.flags);
}

KeystrelEngine::Model* GameData::LoadModel(const std::string& name, std::uint32_t flags)
{
    Model* model = Keep(m_models, [&] { return m_modelManager->LoadModelUnmanaged(name, flags); });
    m_modelsByName.emplace(name, model);
    return model;
}

// Several shaders may share a diffuse texture (the shadows): the name finds the first.
KeystrelEngine::ShaderUser* GameData::LoadShader(const std::string& texture, const std::string& opacity,
                                                 std::uint32_t gridSize)
{
    KeystrelEngine::ShaderUser* shader = Keep(m_shaders, [&] {
        return m_shaderManager->GetShader(
            KeystrelEngine::ShaderDescriptor::FromTexture(texture, gridSize, gridSize, opacity));
    });
    m_shadersByName.emplace(texture, shader);
    return shader;
}

void GameData::LoadParticleSystems(std::span<const char* const> names, KeystrelEngine::Camera* camera)
{
    for (const char* stem : names) {
        const std::string name = "ui\\menus\\particles\\" + std::string(stem) + ".psf";
        m_particleSystemsByName.emplace(
            name, Keep(m_particleSystems, [&] { return m_particleSystemManager->LoadParticleSystem(name, camera); }));
    }
}

} // namespace Wispfold
