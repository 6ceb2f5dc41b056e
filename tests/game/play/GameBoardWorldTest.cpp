// The board over the real objects on the recording device: a swap played with the injected cursor and "MOUSE1"
// from the selection to the refill, and many levels of swaps on a 37-cell hexagon that keep the board's
// invariants. Every frame runs as the level does (the texts, the board with the cell under the GUI cursor, the
// pool, the tokens), then the engine's passes (cameras, particles, sprite groups, GUI, models).
#include "BoardSceneFixture.h"
#include "support/RestingPoints.h"

#include "engine/foundation/Controls.h"
#include "engine/gui/GUIManager.h"
#include "framework/AudioPlayer.h"
#include "game/play/BonusManager.h"
#include "game/play/GUIGameLogicTextManager.h"
#include "game/play/GameBoardWorld.h"
#include "game/play/ItemManager.h"
#include "game/play/LevelManager.h"

#include <map>
#include <optional>
#include <random>
#include <set>

namespace {

using KeystrelEngine::GUIPoint;
using Wispfold::Cell;
using Wispfold::Item;

class GameBoardWorldTest : public TestSupport::BoardSceneFixture
{
protected:
    static constexpr float kFrame = 0.1f;

    void SetUp() override
    {
        BoardSceneFixture::SetUp();
        PlatformTesting::ResetInput();
        render->m_clearFlags = 0;
        controls =
            std::make_unique<KeystrelEngine::Controls>(&services.log, timers.get(), &services.config, window.get());
        gui = std::make_unique<KeystrelEngine::GUIManager>(&services.log, &services.files, window.get(), timers.get(),
                                                           cameras.get(), shaders.get(), models.get(), controls.get(),
                                                           nullptr);
        gui->m_camera->m_width = 800.0f;
        gui->m_camera->m_height = 600.0f;
        audio = std::make_unique<GameFramework::AudioPlayer>(&services.config, nullptr, timers.get(), 1.0f, 1.0f);
        texts = std::make_unique<Wispfold::GUIGameLogicTextManager>(*timers, *gui, nullptr);
        const std::int32_t table[] = {10, 100, 200, 150, 250, 500, 1000};
        for (std::uint32_t event = 0; event < 7; ++event)
            m_keeper.SetPoints(event, table[event]);
        m_record.colourCount = 4;
        m_level.colourCount = 4;
        MakeHexagon();
    }

    void TearDown() override
    {
        EndLevel();
        texts.reset();
        audio.reset();
        gui.reset();
        controls.reset();
        BoardSceneFixture::TearDown();
    }

    // A hexagon of side 4: mana in its middle, a closed cell and a blocked one.
    void MakeHexagon()
    {
        for (int q = -3; q <= 3; ++q) {
            for (int r = -3; r <= 3; ++r) {
                if (std::abs(q + r) > 3)
                    continue;
                const std::uint32_t x = static_cast<std::uint32_t>(q + 3);
                const std::uint32_t y = static_cast<std::uint32_t>(2 * r + q + 6);
                const int ring = std::max({std::abs(q), std::abs(r), std::abs(q + r)});
                AddCell(Record(x, y, ring == 0 ? 2 : ring == 1 ? 1 : 0, false, false));
            }
        }
        m_level.cellRecords[0].closed = 1;
        m_level.cellRecords[5].blocked = 1;
        m_level.levelFactor = 3.0f;
    }

    void StartLevel()
    {
        m_bonuses = std::make_unique<Wispfold::BonusManager>(m_services, m_resources);
        m_items = std::make_unique<Wispfold::ItemManager>(m_services, *m_bonuses, m_resources, m_record);
        m_scene = std::make_unique<Wispfold::BoardScene>(m_services, m_screen, m_cellResources, m_level);
        m_gameWorld = std::make_unique<Wispfold::GameBoardWorld>(*m_scene, *m_items, *m_bonuses, *texts, *audio);
        m_board = std::make_unique<Wispfold::Board>(*m_gameWorld, m_level, m_keeper);
        LookDownAt(m_scene->GetBoundingBox().m_centre.x, m_scene->GetBoundingBox().m_centre.y);
    }

    // In the reverse order of the game logic's making.
    void EndLevel()
    {
        m_board.reset();
        m_gameWorld.reset();
        m_scene.reset();
        m_items.reset();
        m_bonuses.reset();
    }

    // Puts the system cursor on a point of the GUI's screen.
    void MoveMouse(GUIPoint at)
    {
        const float width = static_cast<float>(window->m_width);
        const float height = static_cast<float>(window->m_height);
        POINT point{static_cast<LONG>(at.x / 800.0f * width + 0.5f),
                    static_cast<LONG>(height - 1.0f - at.y / 600.0f * height + 0.5f)};
        ClientToScreen(window->m_handle, &point);
        SetCursorPos(point.x, point.y);
    }

    void Frame(bool held)
    {
        timers->m_frameTime = m_frameTime;
        controls->SetKeyState("MOUSE1", held);
        gui->Update();
        texts->Update();
        const GUIPoint cursor{gui->m_defaultCursor.m_x, gui->m_defaultCursor.m_y};
        m_board->Update(m_scene->Pick(m_board->GetCells(), cursor), controls->IsKeyPressed("MOUSE1"),
                        controls->IsKeyDown("MOUSE1"));
        m_items->Update();
        m_bonuses->Update();
        cameras->Update();
        particles->UpdateAll();
        spriteGroups->UpdateAll();
        gui->Draw();
        models->RenderAll();
        controls->EndFrame();
    }

    // A press and a release on the cell.
    void Click(const Cell& cell)
    {
        const Wispfold::ScreenPosition at = m_scene->GetScreenPosition(cell);
        MoveMouse({at.x, at.y});
        Frame(true);
        Frame(false);
    }

    bool AllResting() const
    {
        for (const auto& cell : m_board->GetCells()) {
            const Item* item = m_board->GetItem(cell.get());
            if (item && (item->m_markedForDestruction || !item->IsAtRest()))
                return false;
        }
        return m_board->GetDestructionGroups().empty();
    }

    // The first possible move whose cells are neither closed nor blocked.
    std::optional<std::uint32_t> UsableMove() const
    {
        for (std::uint32_t pair = 0; pair < m_board->GetMoveCount(); ++pair) {
            const Cell* first = m_board->GetMoveFirstCell(pair);
            const Cell* second = m_board->GetMoveSecondCell(pair);
            if (!first->m_blocked && !first->m_closed && !second->m_blocked && !second->m_closed)
                return pair;
        }
        return std::nullopt;
    }

    // Frames without input until every butterfly rests; false when they never do.
    bool Settle(int limit = 400)
    {
        for (int frame = 0; frame < limit; ++frame) {
            if (AllResting())
                return true;
            Frame(false);
        }
        return AllResting();
    }

    std::unique_ptr<KeystrelEngine::Controls> controls;
    std::unique_ptr<KeystrelEngine::GUIManager> gui;
    std::unique_ptr<GameFramework::AudioPlayer> audio;
    std::unique_ptr<Wispfold::GUIGameLogicTextManager> texts;
    Wispfold::LevelRecord m_record;
    float m_frameTime = kFrame;
    std::uint32_t m_accepted = 0;
    std::unique_ptr<Wispfold::BonusManager> m_bonuses;
    std::unique_ptr<Wispfold::ItemManager> m_items;
    std::unique_ptr<Wispfold::GameBoardWorld> m_gameWorld;
};

TEST_F(GameBoardWorldTest, ASwapByCursorAndButtonRunsFromSelectionToRefill)
{
    StartLevel();
    EXPECT_EQ(m_items->GetShadowManager().m_shadowHeight, 4.25f) << "the board's top and a quarter";
    EXPECT_GE(m_items->GetItems().size(), 72u) << "the pool was filled for 37 cells";
    ASSERT_TRUE(Settle());
    ASSERT_GT(m_board->GetMoveCount(), 0u);
    Cell* first = m_board->GetMoveFirstCell(0);
    Cell* second = m_board->GetMoveSecondCell(0);
    Item* moving = m_board->GetItem(first);
    const std::uint32_t energy = m_board->GetEnergyLeft();

    Click(*first);
    EXPECT_EQ(m_board->GetSelectedCell(), first);
    EXPECT_TRUE(m_scene->GetLook(*first).IsSelected());
    ASSERT_EQ(m_scene->GetMarkers().GetMarkers().size(), 1u);
    EXPECT_EQ(m_scene->GetMarkers().GetMarkers()[0]->GetCell(), &m_scene->GetLook(*first));

    Click(*second);
    EXPECT_EQ(m_board->GetSelectedCell(), nullptr);
    EXPECT_EQ(m_board->GetItem(second), moving) << "swapped";
    EXPECT_EQ(m_board->GetEnergyLeft(), energy - 1);
    EXPECT_FALSE(m_board->GetDestructionGroups().empty());
    EXPECT_NE(moving->GetState(), Wispfold::kItemResting) << "on its swap flight";
    EXPECT_EQ(m_board->GetMoveCount(), 0u) << "no hint from the board before the swap";
    EXPECT_FALSE(m_scene->GetMarkers().GetMarkers()[0]->m_active) << "the ring fades";

    std::uint32_t removed = 0;
    bool textsShown = false;
    for (int frame = 0; frame < 400 && !(removed > 0 && AllResting()); ++frame) {
        Frame(false);
        removed += m_board->GetRemovedCount();
        textsShown = textsShown || !texts->GetTexts().empty();
    }
    EXPECT_GE(removed, 3u);
    EXPECT_TRUE(textsShown) << "the removed butterflies' points floated up";
    EXPECT_GT(m_keeper.m_total, 0u);
    EXPECT_TRUE(AllResting()) << "the refill landed";
    EXPECT_GT(m_board->GetMoveCount(), 0u) << "listed anew";
    for (const auto& cell : m_board->GetCells())
        EXPECT_EQ(m_board->GetItem(cell.get()) != nullptr, !cell->m_closed) << "cell " << cell->m_cellIndex;
}

TEST_F(GameBoardWorldTest, ManySwapsOverManyLevelsKeepTheBoardsInvariants)
{
    std::uint32_t swaps = 0;
    std::uint32_t levels = 0;
    StartLevel();
    const std::uint32_t baseModels = RegisteredCount();
    while (swaps < 300 && levels < 40) {
        if (m_board->IsLevelWon() || m_board->IsOutOfEnergy()) {
            for (int frame = 0; frame < 200 && m_items->AnyItemBusy(); ++frame)
                Frame(false);
            ASSERT_FALSE(m_items->AnyItemBusy()) << "every butterfly flew away";
            EndLevel();
            ++levels;
            StartLevel();
        }
        ASSERT_TRUE(Settle()) << "after " << swaps << " swaps";
        const std::optional<std::uint32_t> move = UsableMove();
        if (!move) {
            ASSERT_EQ(m_board->GetMoveCount(), 0u) << "only moves that can be played are listed";
            Frame(false); // a dead board is filled anew
            continue;
        }
        const std::uint32_t score = m_keeper.m_total;
        const std::uint32_t mana = m_board->GetManaProgress();
        const std::uint32_t energy = m_board->GetEnergyLeft();
        Click(*m_board->GetMoveFirstCell(*move));
        Click(*m_board->GetMoveSecondCell(*move));
        ++swaps;
        m_accepted += m_board->GetDestructionGroups().empty() ? 0 : 1;
        for (int frame = 0; frame < 3; ++frame) {
            Frame(false);
            std::set<const Item*> seen;
            for (const auto& cell : m_board->GetCells()) {
                const Item* item = m_board->GetItem(cell.get());
                if (item) {
                    ASSERT_TRUE(seen.insert(item).second) << "a butterfly on two cells";
                    ASSERT_TRUE(item->IsInUse() && item->IsBusy());
                }
            }
            std::uint32_t active = 0;
            for (const auto& marker : m_scene->GetMarkers().GetMarkers())
                active += marker->m_active ? 1 : 0;
            ASSERT_LE(active, m_board->GetSelectedCell() ? 1u : 0u);
        }
        ASSERT_GE(m_keeper.m_total, score);
        ASSERT_GE(m_board->GetManaProgress(), mana);
        ASSERT_LE(m_board->GetEnergyLeft(), energy);
        ASSERT_LT(m_items->GetItems().size(), 200u) << "the pool recycles";
    }
    EXPECT_EQ(swaps, 300u);
    EXPECT_EQ(m_accepted, swaps) << "every swap made a match";
    EXPECT_GT(levels, 0u) << "levels were won or lost and made anew";
    EndLevel();
    StartLevel();
    EXPECT_EQ(RegisteredCount(), baseModels) << "a level leaves no model behind";
}

// A restless player at uneven frame times: presses on random cells and their neighbours (refused swaps wiggle,
// accepted ones fly and refill) and hints whenever there are moves, level after level. However often a butterfly
// wiggles, swaps or arrives, once at rest it stands on its cell's resting point.
TEST_F(GameBoardWorldTest, ButterfliesComeToRestOnTheirCellsWhateverTheFrameTimes)
{
    m_level.relaxMode = true;
    StartLevel();
    std::mt19937 random(7);
    std::uniform_real_distribution<float> frameTimes(0.004f, 0.1f);
    std::map<const Item*, std::uint32_t> states;
    std::uint32_t wiggles = 0;
    std::uint32_t swaps = 0;
    float offset = 0.0f;
    const Cell* pressed = nullptr;
    for (int frame = 0; frame < 4000; ++frame) {
        if (m_board->IsLevelWon() && !m_items->AnyItemBusy()) {
            EndLevel();
            StartLevel();
            states.clear();
            pressed = nullptr;
        }
        m_frameTime = frameTimes(random);
        const std::uint32_t action = random() % 8;
        bool held = false;
        if (action == 0 && m_board->GetMoveCount() > 0) {
            m_board->ShowHint(random() % m_board->GetMoveCount());
        } else if (action == 1) {
            const Cell* next = pressed ? m_board->GetNeighbour(pressed, random() % 6) : nullptr;
            pressed = next ? next : m_board->GetCells()[random() % m_board->GetCells().size()].get();
            const Wispfold::ScreenPosition at = m_scene->GetScreenPosition(*pressed);
            MoveMouse({at.x, at.y});
            held = true;
        }
        Frame(held);
        for (const auto& cell : m_board->GetCells()) {
            const Item* item = m_board->GetItem(cell.get());
            if (!item)
                continue;
            const std::uint32_t state = item->GetState();
            wiggles += state == Wispfold::kItemWiggling && states[item] != state ? 1 : 0;
            swaps += state == Wispfold::kItemLifting && states[item] != state ? 1 : 0;
            states[item] = state;
        }
        offset = std::max(offset, TestSupport::LargestRestingOffset(*m_board, *m_scene));
    }
    EXPECT_EQ(offset, 0.0f);
    EXPECT_GT(wiggles, 100u);
    EXPECT_GT(swaps, 50u);
}

} // namespace
