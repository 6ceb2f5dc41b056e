// A board of the rules over the scripted world beside the scene that shows it, both from one level that tests
// build cell by cell, with the default camera looking straight down (along -z) from 300 units above a point.
#pragma once

#include "CellsFixture.h"
#include "support/ScriptedBoardWorld.h"

#include "engine/render/Camera.h"
#include "framework/ScoreKeeper.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"

#include <memory>

namespace TestSupport {

class BoardSceneFixture : public CellsFixture
{
protected:
    void SetUp() override
    {
        CellsFixture::SetUp();
        m_level.colourCount = 3;
        m_screen = {cameras.get(), window.get(), 800.0f, 600.0f};
    }

    void TearDown() override
    {
        m_board.reset();
        m_scene.reset();
        CellsFixture::TearDown();
    }

    void AddCell(const Wispfold::BoardCellRecord& record)
    {
        m_level.cellRecords.push_back(record);
        m_level.gridWidth = std::max(m_level.gridWidth, record.x + 1);
        m_level.gridHeight = std::max(m_level.gridHeight, record.y + 1);
    }

    void Build()
    {
        m_scene = std::make_unique<Wispfold::BoardScene>(m_services, m_screen, m_cellResources, m_level);
        m_board = std::make_unique<Wispfold::Board>(m_world, m_level, m_keeper);
    }

    void LookDownAt(float x, float y)
    {
        KeystrelEngine::Camera& camera = *cameras->GetDefaultCamera();
        camera.m_position = {x, y, 300.0f};
        camera.m_near = 1.0f;
        camera.m_far = 1000.0f;
        cameras->Update();
    }

    Wispfold::Cell& CellAt(std::uint32_t index) const { return *m_board->GetCells()[index]; }

    Wispfold::LevelData m_level;
    Wispfold::ScreenServices m_screen;
    ScriptedBoardWorld m_world;
    GameFramework::ScoreKeeper m_keeper;
    std::unique_ptr<Wispfold::BoardScene> m_scene;
    std::unique_ptr<Wispfold::Board> m_board;
};

} // namespace TestSupport
