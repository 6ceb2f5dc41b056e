// A stand-in for everything the board shows: butterflies that move only when stepped, and logs of every sound,
// text, look refresh, bonus and character request. Each motion (arrival, wiggle, swap flight, departure) lasts
// a number of steps, zero unless random delays are asked for (drawn from the stand-in's own generator, never the
// engine's). Released butterflies return to the pool once their departure ends.
#pragma once

#include "game/play/BoardWorld.h"

#include <cstdint>
#include <memory>
#include <random>
#include <unordered_map>
#include <vector>

namespace TestSupport {

class ScriptedBoardWorld : public Wispfold::BoardWorld
{
public:
    enum class Motion
    {
        Free,  // in the pool
        Taken, // handed out, not yet shown
        Arriving,
        Resting,
        Wiggling,
        Swapping,
        Leaving,
        Gone, // released or departed; back in the pool at the next step
    };

    struct Text
    {
        std::uint32_t points;
        Wispfold::ScreenPosition position;
    };

    // Motions last 0 .. maxDelay steps; with a max of 0 every motion ends at the next step.
    explicit ScriptedBoardWorld(std::uint32_t seed = 1, std::uint32_t maxDelay = 0);

    Wispfold::Item* GetFreeItem(Wispfold::ItemColor colour) override;
    void Appear(Wispfold::Item& item, const Wispfold::Cell& cell) override;
    void Release(Wispfold::Item& item) override;
    void Wiggle(Wispfold::Item& item) override;
    void MoveTo(Wispfold::Item& item, const Wispfold::Cell& cell) override;
    bool IsResting(const Wispfold::Item& item) const override;
    bool IsInFlight(const Wispfold::Item& item) const override;
    Wispfold::Bonus* CreateBonus(Wispfold::BonusKind kind) override;
    void SetAppearance(Wispfold::Cell& cell) override;
    void RestartManaBurst(Wispfold::Cell& cell) override;
    void ShowSelection(const Wispfold::Cell* selected, const Wispfold::Cell* hovered) override;
    // Ten units per grid step.
    Wispfold::ScreenPosition GetCellScreenPosition(const Wispfold::Cell& cell) const override;
    void PlaySound(Sound sound) override;
    void AddText(std::uint32_t points, Wispfold::ScreenPosition position) override;
    void LevelEndPhrase() override { ++m_levelEndPhrases; }
    void LevelFailedReaction() override { ++m_failedReactions; }
    void Praise(std::uint32_t level) override { m_praises.push_back(level); }

    // One frame of the pool: every motion whose time is up ends (an arrival clears the mark), finished
    // departures return to the pool.
    void Step();
    // Ends every motion now, as a step would with all times up.
    void LandAll();
    // Ends the motion of one butterfly now.
    void Land(Wispfold::Item& item);
    // A free butterfly of the colour, sitting unmarked at rest (for boards painted by hand).
    Wispfold::Item* MakeRestingItem(Wispfold::ItemColor colour);
    Motion GetMotion(const Wispfold::Item& item) const;
    // Some butterfly is still out of the pool.
    bool AnyBusy() const;

    std::vector<std::uint32_t> m_sounds;
    std::vector<Text> m_texts;
    std::vector<std::uint32_t> m_praises;
    std::uint32_t m_levelEndPhrases = 0;
    std::uint32_t m_failedReactions = 0;
    std::vector<const Wispfold::Cell*> m_appearanceRefreshes;
    std::vector<const Wispfold::Cell*> m_manaBursts;
    // The last frame's selected and hovered cells.
    const Wispfold::Cell* m_shownSelected = nullptr;
    const Wispfold::Cell* m_shownHovered = nullptr;
    std::uint32_t m_selectionShows = 0;
    std::vector<Wispfold::BonusKind> m_bonusesCreated;
    std::vector<const Wispfold::Item*> m_appeared;
    std::vector<const Wispfold::Item*> m_released;
    std::vector<const Wispfold::Item*> m_wiggled;

private:
    struct Butterfly
    {
        std::unique_ptr<Wispfold::Item> item;
        Motion motion = Motion::Free;
        std::uint32_t stepsLeft = 0;
    };

    Butterfly& Find(const Wispfold::Item& item);
    const Butterfly& Find(const Wispfold::Item& item) const;
    void Start(Wispfold::Item& item, Motion motion);
    void Finish(Butterfly& butterfly);

    // Empty: the stand-in's butterflies and tokens are never seen.
    Wispfold::PlayServices m_services;
    Wispfold::PlayResources m_resources;
    std::vector<Butterfly> m_butterflies;
    std::unordered_map<const Wispfold::Item*, std::size_t> m_index;
    // Per colour, the butterflies in the pool.
    std::vector<std::vector<std::size_t>> m_free;
    std::vector<std::unique_ptr<Wispfold::Bonus>> m_bonuses;
    std::mt19937 m_random;
    std::uint32_t m_maxDelay;
};

} // namespace TestSupport
