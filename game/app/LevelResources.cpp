#include "LevelResources.h"

#include "GameData.h"

#include "engine/render/ShaderUser.h"

#include <string>

namespace Wispfold {

void FillLevelResources(const GameData& data, PlayResources& play, CellResources& cells)
{
    const std::string cellFolder = "game_objects\\cell\\";
    const auto model = [&](const std::string& name) { return data.GetModel(name + ".mlf"); };
    cells.empty = model(cellFolder + "cell_empty");
    cells.single = model(cellFolder + "cell_single");
    cells.twin = model(cellFolder + "cell_double");
    cells.block = model(cellFolder + "cell_block");
    cells.select = model(cellFolder + "cell_select");
    const char* suffixes[] = {"", "_closed", "_blocked"};
    for (std::uint32_t n = 0; n < 3; ++n) {
        cells.singleTextures[n] = data.GetShader(cellFolder + "textures\\cell_1" + suffixes[n] + ".jpg");
        cells.twinTextures[n] = data.GetShader(cellFolder + "textures\\cell_2" + suffixes[n] + ".jpg");
    }
    const std::string particles = "ui\\menus\\particles\\";
    cells.manaBurst = data.GetParticleSystem(particles + "mana_cell.psf");
    for (std::uint32_t d = 0; d < kBorderCount; ++d)
        cells.borders[d] = data.GetBorders()[d];

    play.butterfly = model("game_objects\\butterfly\\butterfly");
    play.shadow = model("game_objects\\shadow\\shadow");
    for (std::uint32_t colour = 0; colour < kTexturedColourCount; ++colour) {
        play.butterflyTextures[colour] = data.GetButterflyShaders()[colour];
        play.shadowTextures[colour] = data.GetShadowShaders()[colour];
    }
    const char* bonusNames[] = {"item_destruction", "combination_destruction", "color_destruction"};
    for (std::uint32_t kind = 0; kind < kBonusKindCount; ++kind)
        play.bonusModels[kind] = model(std::string("game_objects\\bonuses\\") + bonusNames[kind]);
    play.butterflyAppear = data.GetParticleSystem(particles + "butterfly_appear.psf");
    play.butterflyDisappear = data.GetParticleSystem(particles + "butterfly_disappear.psf");
    play.butterflySwap = data.GetParticleSystem(particles + "butterfly_swap.psf");
}

CharacterResources MakeCharacterResources(const GameData& data, KeystrelEngine::GUIWindow* menuParent)
{
    CharacterResources resources;
    resources.figure = data.GetModel("ui\\menus\\character\\character.mlf");
    for (std::uint32_t lines = 1; lines <= kBubbleCount; ++lines)
        resources.bubbles[lines - 1] =
            data.GetModel("ui\\menus\\character\\text_size" + std::to_string(lines) + ".mlf");
    resources.levelParent = data.GetChildWindow();
    resources.menuParent = menuParent;
    return resources;
}

} // namespace Wispfold
