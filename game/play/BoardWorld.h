// Everything the board's rules make visible or audible, behind one small interface: the butterflies of the item
// pool and their motions, bonus tokens, the cells' looks and mana bursts, screen positions, sounds, floating
// texts and the speaking character. The board decides; the world shows. The game implements it over its models,
// managers and character; tests use a scripted stand-in whose butterflies land when told.
#pragma once

#include "Bonus.h"
#include "Item.h"

#include <cstdint>

namespace Wispfold {

class Cell;

// A point on the GUI's virtual 800 x 600 screen.
struct ScreenPosition
{
    float x = 0.0f;
    float y = 0.0f;
};

class BoardWorld
{
public:
    // Ids of the game's sound table that the board plays.
    enum Sound : std::uint32_t
    {
        kSoundBadSwap = 15,
        kSoundBonusColorDestruction = 16,
        kSoundBonusCombinationDestruction = 17,
        kSoundBonusItemDestruction = 18,
        kSoundCombination0 = 19, // 3 removed; 20, 21, 22 for 4, 5, 6; 23 for any other count
        kSoundDeselect = 24,
        kSoundLevelBegin = 25,
        kSoundLevelEnd = 26,
        kSoundLevelFailed = 27,
        kSoundSelect = 28,
        kSoundSwap = 29,
    };

    virtual ~BoardWorld() = default;

    // A free butterfly of the colour, never null: the first one in the pool, or a new one when none is free. It
    // comes marked and holds no bonus.
    virtual Item* GetFreeItem(ItemColor colour) = 0;
    // Its arrival flight to the top of the cell; it rests (and loses its mark) once it has landed.
    virtual void Appear(Item& item, const Cell& cell) = 0;
    // It flies away and returns to the pool once gone (at once when it never appeared).
    virtual void Release(Item& item) = 0;
    // The refusal and hint wiggle.
    virtual void Wiggle(Item& item) = 0;
    // Its swap flight to the top of the cell.
    virtual void MoveTo(Item& item, const Cell& cell) = 0;
    // Sitting at its cell, neither arriving, leaving, wiggling nor swapping.
    virtual bool IsResting(const Item& item) const = 0;
    // Arriving, leaving or on a swap: neither its cell nor its look is settled, so it is not picked or wiggled.
    virtual bool IsInFlight(const Item& item) const = 0;
    // A new token of the kind, owned by the bonus manager; the board hangs it on a butterfly.
    virtual Bonus* CreateBonus(BonusKind kind) = 0;

    // The cell's kind or flags changed.
    virtual void SetAppearance(Cell& cell) = 0;
    // One burst of the cell's mana particles, from its start.
    virtual void RestartManaBurst(Cell& cell) = 0;
    // The end of the board's frame: every cell's tint by whether it is the selected or the hovered one, then the
    // selection rings. Either may be null; a cell whose butterfly cannot be picked is not hovered.
    virtual void ShowSelection(const Cell* selected, const Cell* hovered) = 0;
    // The cell's centre as seen by the current camera.
    virtual ScreenPosition GetCellScreenPosition(const Cell& cell) const = 0;

    virtual void PlaySound(Sound sound) = 0;
    // "+" and the points, rising from the position.
    virtual void AddText(std::uint32_t points, ScreenPosition position) = 0;

    // The character's line for a won level.
    virtual void LevelEndPhrase() = 0;
    // The character's reaction to a lost level.
    virtual void LevelFailedReaction() = 0;
    // Praise of level 0 to 3, spoken only while the character accepts praise.
    virtual void Praise(std::uint32_t level) = 0;
};

} // namespace Wispfold
