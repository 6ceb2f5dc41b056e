// The board's world in the game: the butterflies of the item pool and their motions, the bonus tokens, the board
// scene's cells, rings and screen positions, the game's sounds and the floating scores. Made before the board: it
// sets where the shadows lie and fills the pool for the board's cells. The level's end and the praise go to the
// speaking character (without one they do nothing).
#pragma once

#include "BoardWorld.h"

#include <cstdint>

namespace GameFramework {
class AudioPlayer;
}

namespace Wispfold {

class BoardScene;
class BonusManager;
class Character;
class GUIGameLogicTextManager;
class ItemManager;

class GameBoardWorld : public BoardWorld
{
public:
    // Shadows lie this far above the top of the board's box.
    static constexpr float kShadowClearance = 0.25f;

    // Nothing is owned; everything outlives the world.
    GameBoardWorld(BoardScene& scene, ItemManager& items, BonusManager& bonuses, GUIGameLogicTextManager& texts,
                   GameFramework::AudioPlayer& audio, Character* character = nullptr);

    Item* GetFreeItem(ItemColor colour) override;
    void Appear(Item& item, const Cell& cell) override;
    void Release(Item& item) override;
    void Wiggle(Item& item) override;
    void MoveTo(Item& item, const Cell& cell) override;
    bool IsResting(const Item& item) const override;
    bool IsInFlight(const Item& item) const override;
    Bonus* CreateBonus(BonusKind kind) override;
    void SetAppearance(Cell& cell) override;
    void RestartManaBurst(Cell& cell) override;
    void ShowSelection(const Cell* selected, const Cell* hovered) override;
    ScreenPosition GetCellScreenPosition(const Cell& cell) const override;
    void PlaySound(Sound sound) override;
    void AddText(std::uint32_t points, ScreenPosition position) override;
    void LevelEndPhrase() override;
    void LevelFailedReaction() override;
    void Praise(std::uint32_t level) override;

private:
    BoardScene* m_scene;
    ItemManager* m_items;
    BonusManager* m_bonuses;
    GUIGameLogicTextManager* m_texts;
    GameFramework::AudioPlayer* m_audio;
    Character* m_character;
};

} // namespace Wispfold
