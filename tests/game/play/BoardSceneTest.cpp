// The board's scene: a look per cell and the board's box, picking (the nearest hit, a tie to the earlier cell,
// through a turned camera), the screen position of a cell, and the frame's tints and rings.
#include "BoardSceneFixture.h"

#include "engine/foundation/Window.h"
#include "engine/render/Quaternion.h"

namespace {

using KeystrelEngine::GUIPoint;
using Wispfold::Cell;

class BoardSceneTest : public TestSupport::BoardSceneFixture
{
protected:
    // Three cells in a row at x 0, 20 and 40 (columns 0 to 2), the middle one at the board's centre.
    void BuildRow()
    {
        AddCell(Record(0, 1, 1));
        AddCell(Record(1, 0, 2));
        AddCell(Record(2, 1, 0));
        m_level.cellRecords[0].position = {0, 0, 0};
        m_level.cellRecords[1].position = {20, 0, 0};
        m_level.cellRecords[2].position = {40, 0, 0};
        Build();
    }

    GUIPoint At(const Cell& cell) const
    {
        const Wispfold::ScreenPosition position = m_scene->GetScreenPosition(cell);
        return {position.x, position.y};
    }
};

TEST_F(BoardSceneTest, EveryCellHasALookAndTheBoxHoldsEveryPickBox)
{
    BuildRow();
    ASSERT_EQ(m_scene->GetLooks().size(), 3u);
    EXPECT_EQ(m_scene->GetLook(CellAt(1)).GetCentre().x, 20.0f);
    const KeystrelEngine::BoundingBox& box = m_scene->GetBoundingBox();
    EXPECT_EQ(box.m_worldMin.x, -10.0f);
    EXPECT_EQ(box.m_worldMax.x, 50.0f);
    EXPECT_EQ(box.m_worldMax.z, 4.0f);
    EXPECT_EQ(box.m_centre.x, 20.0f);
}

TEST_F(BoardSceneTest, TheBoardsCentreLandsAtTheGUICentreForACameraAimedAtIt)
{
    BuildRow();
    LookDownAt(20, 0);
    const GUIPoint centre = At(CellAt(1));
    EXPECT_NEAR(centre.x, 400.0f, 0.01f);
    EXPECT_NEAR(centre.y, 300.0f, 0.01f);
    const GUIPoint left = At(CellAt(0));
    EXPECT_LT(left.x, 400.0f);
    EXPECT_NEAR(left.y, 300.0f, 0.01f);

    // Window pixels scale to the virtual screen: a cell above the centre is above it in GUI units too.
    m_level.cellRecords.clear();
    AddCell(Record(0, 0));
    m_level.cellRecords[0].position = {20, 50, 0};
    Build();
    EXPECT_GT(At(CellAt(0)).y, 300.0f) << "y counts up, as the GUI's does";
    EXPECT_NEAR(At(CellAt(0)).x, 400.0f, 0.01f);
}

TEST_F(BoardSceneTest, PickingFindsTheCellUnderTheCursorAndNothingBesideTheBoard)
{
    BuildRow();
    LookDownAt(20, 0);
    for (std::uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(m_scene->Pick(m_board->GetCells(), At(CellAt(i))), &CellAt(i)) << "cell " << i;
    EXPECT_EQ(m_scene->Pick(m_board->GetCells(), {5, 5}), nullptr);
    EXPECT_EQ(m_scene->Pick(m_board->GetCells(), {400, 595}), nullptr);
}

TEST_F(BoardSceneTest, TheNearestHitWinsAndATieGoesToTheEarlierCell)
{
    // Cell 1 lies above cell 0, nearer the camera; cell 2 is cell 1's twin in place.
    AddCell(Record(0, 0, 1));
    AddCell(Record(0, 2, 1));
    AddCell(Record(0, 4, 1));
    m_level.cellRecords[0].position = {0, 0, 0};
    m_level.cellRecords[1].position = {0, 0, 20};
    m_level.cellRecords[2].position = {0, 0, 20};
    Build();
    LookDownAt(0, 0);
    EXPECT_EQ(m_scene->Pick(m_board->GetCells(), {400, 300}), &CellAt(1));

    // Seen from below, the lower cell is the nearer one.
    KeystrelEngine::Camera& camera = *cameras->GetDefaultCamera();
    camera.m_position = {0, 0, -300};
    camera.m_orientation = KeystrelEngine::Quaternion::FromAxisAngle({1, 0, 0}, 3.14159265f);
    cameras->Update();
    EXPECT_EQ(m_scene->Pick(m_board->GetCells(), {400, 300}), &CellAt(0));
}

TEST_F(BoardSceneTest, PickingFollowsATurnedCamera)
{
    BuildRow();
    KeystrelEngine::Camera& camera = *cameras->GetDefaultCamera();
    // Turned half a turn about the view axis: what lay left now lies right.
    camera.m_position = {20, 0, 300};
    camera.m_orientation = KeystrelEngine::Quaternion::FromAxisAngle({0, 0, 1}, 3.14159265f);
    cameras->Update();
    EXPECT_GT(At(CellAt(0)).x, 400.0f);
    EXPECT_LT(At(CellAt(2)).x, 400.0f);
    for (std::uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(m_scene->Pick(m_board->GetCells(), At(CellAt(i))), &CellAt(i)) << "cell " << i;

    // Tilted and moved aside, the cells still come back under their own screen positions.
    camera.m_position = {-100, -150, 250};
    camera.m_orientation = KeystrelEngine::Quaternion::FromAxisAngle({1, -0.5f, 0}, 0.5f);
    cameras->Update();
    for (std::uint32_t i = 0; i < 3; ++i) {
        const GUIPoint at = At(CellAt(i));
        EXPECT_EQ(m_scene->Pick(m_board->GetCells(), at), &CellAt(i)) << "cell " << i << " at " << at.x << ", " << at.y;
    }

    // The level camera carries the board half a turn about its middle cell: the cells trade places on the screen
    // and each is still picked under its own position.
    camera.m_position = {20, 0, 300};
    camera.m_orientation = KeystrelEngine::Quaternion();
    KeystrelEngine::Matrix4 toMiddle;
    toMiddle.MakeTranslation({-20, 0, 0});
    KeystrelEngine::Matrix4 back;
    back.MakeTranslation({20, 0, 0});
    camera.m_thirdMatrix = back * KeystrelEngine::Matrix4::RotationZ(3.14159265f) * toMiddle;
    camera.m_attached = true;
    cameras->Update();
    EXPECT_GT(At(CellAt(0)).x, At(CellAt(2)).x);
    for (std::uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(m_scene->Pick(m_board->GetCells(), At(CellAt(i))), &CellAt(i)) << "cell " << i;
    camera.m_thirdMatrix = KeystrelEngine::Matrix4();
    camera.m_attached = false;
}

TEST_F(BoardSceneTest, TheFramesTintsAndRingsFollowTheSelectedAndHoveredCells)
{
    BuildRow();
    SetFrameTime(0.1f);
    m_scene->Update(&CellAt(0), &CellAt(2));
    EXPECT_TRUE(m_scene->GetLook(CellAt(0)).IsSelected());
    EXPECT_FALSE(m_scene->GetLook(CellAt(0)).IsHovered());
    EXPECT_TRUE(m_scene->GetLook(CellAt(2)).IsHovered());
    EXPECT_FALSE(m_scene->GetLook(CellAt(1)).IsHovered() || m_scene->GetLook(CellAt(1)).IsSelected());
    EXPECT_NEAR(m_scene->GetLook(CellAt(2)).GetTint().b, 0.65f, 1e-5f);
    ASSERT_EQ(m_scene->GetMarkers().GetMarkers().size(), 1u);
    EXPECT_EQ(m_scene->GetMarkers().GetMarkers()[0]->GetCell(), &m_scene->GetLook(CellAt(0)));

    m_scene->Update(nullptr, nullptr);
    EXPECT_FALSE(m_scene->GetMarkers().GetMarkers()[0]->m_active);
    EXPECT_NEAR(m_scene->GetLook(CellAt(2)).GetTint().b, 1.0f, 1e-5f);
}

} // namespace
