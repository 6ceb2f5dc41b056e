// The shared models, texture sets and particle system that the board's cells, its selection markers and its
// border pieces copy. The game fills the record from its shared resource lists; nothing in it is owned, and the
// resources outlive every cell.
#pragma once

#include <array>
#include <cstdint>

namespace KeystrelEngine {
class Model;
class ParticleSystem;
class ShaderDescriptor;
} // namespace KeystrelEngine

namespace Wispfold {

// The texture sets of a mana cell, by its flags: closed wins over blocked.
enum CellTexture : std::uint32_t
{
    kCellTexturePlain = 0,
    kCellTextureClosed = 1,
    kCellTextureBlocked = 2,
};

constexpr std::uint32_t kBorderCount = 6; // one per hexagonal direction

struct CellResources
{
    const KeystrelEngine::Model* empty = nullptr;  // "cell_empty": a plain cell
    const KeystrelEngine::Model* single = nullptr; // "cell_single": one mana layer; its box is every pick box
    const KeystrelEngine::Model* twin = nullptr;   // "cell_double": two mana layers
    const KeystrelEngine::Model* block = nullptr;  // "cell_block": the overlay of a blocked cell
    const KeystrelEngine::Model* select = nullptr; // "cell_select": the selection marker
    // "cell_1", "cell_1_closed", "cell_1_blocked" and the same for "cell_2", by CellTexture.
    std::array<const KeystrelEngine::ShaderDescriptor*, 3> singleTextures{};
    std::array<const KeystrelEngine::ShaderDescriptor*, 3> twinTextures{};
    const KeystrelEngine::ParticleSystem* manaBurst = nullptr; // "mana_cell"
    // "border_0" to "border_5": each carries its direction's offset in its geometry.
    std::array<const KeystrelEngine::Model*, kBorderCount> borders{};
};

} // namespace Wispfold
