#include "GameBoardWorld.h"

#include "BoardScene.h"
#include "BonusManager.h"
#include "Character.h"
#include "GUIGameLogicTextManager.h"
#include "ItemManager.h"

#include "framework/AudioPlayer.h"

namespace Wispfold {

GameBoardWorld::GameBoardWorld(BoardScene& scene, ItemManager& items, BonusManager& bonuses,
                               GUIGameLogicTextManager& texts, GameFramework::AudioPlayer& audio, Character* character)
    : m_scene(&scene), m_items(&items), m_bonuses(&bonuses), m_texts(&texts), m_audio(&audio), m_character(character)
{
    items.GetShadowManager().m_shadowHeight = scene.GetBoundingBox().m_worldMax.z + kShadowClearance;
    items.FillPool(static_cast<std::uint32_t>(scene.GetLooks().size()));
}

Item* GameBoardWorld::GetFreeItem(ItemColor colour)
{
    return m_items->GetFreeItem(colour);
}

void GameBoardWorld::Appear(Item& item, const Cell& cell)
{
    item.m_targetPosition = m_scene->GetLook(cell).GetTopPosition();
    item.Appear();
}

void GameBoardWorld::Release(Item& item)
{
    item.Release();
}

void GameBoardWorld::Wiggle(Item& item)
{
    item.Wiggle();
}

void GameBoardWorld::MoveTo(Item& item, const Cell& cell)
{
    item.MoveTo(m_scene->GetLook(cell).GetTopPosition());
}

bool GameBoardWorld::IsResting(const Item& item) const
{
    return item.IsAtRest();
}

bool GameBoardWorld::IsInFlight(const Item& item) const
{
    return item.IsInFlight();
}

Bonus* GameBoardWorld::CreateBonus(BonusKind kind)
{
    return m_bonuses->Create(kind);
}

void GameBoardWorld::SetAppearance(Cell& cell)
{
    m_scene->GetLook(cell).SetAppearance(cell);
}

void GameBoardWorld::RestartManaBurst(Cell& cell)
{
    m_scene->GetLook(cell).RestartManaBurst();
}

void GameBoardWorld::ShowSelection(const Cell* selected, const Cell* hovered)
{
    m_scene->Update(selected, hovered);
}

ScreenPosition GameBoardWorld::GetCellScreenPosition(const Cell& cell) const
{
    return m_scene->GetScreenPosition(cell);
}

void GameBoardWorld::PlaySound(Sound sound)
{
    m_audio->PlaySound(sound);
}

void GameBoardWorld::AddText(std::uint32_t points, ScreenPosition position)
{
    m_texts->AddText(points, {position.x, position.y});
}

void GameBoardWorld::LevelEndPhrase()
{
    if (m_character)
        m_character->LevelEndPhrase();
}

void GameBoardWorld::LevelFailedReaction()
{
    if (m_character)
        m_character->LevelFailedReaction();
}

void GameBoardWorld::Praise(std::uint32_t level)
{
    if (m_character)
        m_character->Praise(level);
}

} // namespace Wispfold
