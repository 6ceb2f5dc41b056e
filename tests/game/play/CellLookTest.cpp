// Cells: the model by kind and flags, the overlay of a blocked cell, placement and pick box, the tint of a hovered
// cell, the mana burst and what the cell gives back.
#include "CellsFixture.h"

#include "engine/render/ParticleSystem.h"
#include "engine/render/ShaderUser.h"
#include "engine/render/SpriteGroup.h"
#include "game/play/Cell.h"
#include "game/play/CellLook.h"
#include "game/play/ModelColour.h"

namespace {

using KeystrelEngine::Model;
using Wispfold::CellLook;

class CellLookTest : public TestSupport::CellsFixture
{
protected:
    std::unique_ptr<CellLook> Make(const Wispfold::BoardCellRecord& record)
    {
        return std::make_unique<CellLook>(m_services, m_cellResources, record);
    }

    // The height of the template a model was cloned from tells which it was.
    static float Height(const Model& model) { return model.m_boundingBox.m_localMax.z; }
};

TEST_F(CellLookTest, TheModelFollowsTheKindAndFlagsClosedBeforeBlocked)
{
    struct Case
    {
        Wispfold::CellKind kind;
        bool closed;
        bool blocked;
        float height;          // of the template
        std::uint32_t texture; // description flags; 0: the template's own
    };
    const Case cases[] = {
        {0, false, false, 2, 0},         {0, true, true, 2, 0},           {0, false, true, 2, 0},
        {1, false, false, 4, 0x1000000}, {1, true, false, 4, 0x2000000},  {1, false, true, 4, 0x4000000},
        {1, true, true, 4, 0x2000000},   {2, false, false, 6, 0x8000000}, {2, true, true, 6, 0x10000000},
        {2, false, true, 6, 0x20000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " closed " << c.closed << " blocked " << c.blocked);
        const auto look = Make(Record(0, 0, c.kind, c.closed, c.blocked));
        ASSERT_NE(look->GetAppearance(), nullptr);
        EXPECT_EQ(Height(*look->GetAppearance()), c.height);
        EXPECT_EQ(look->GetAppearance()->GetShaderUser()->m_flags, c.texture);
        EXPECT_TRUE(look->GetAppearance()->m_flags & Model::kColours);
        EXPECT_TRUE(IsRegistered(look->GetAppearance()));
        const Model* overlay = look->GetOverlay();
        ASSERT_EQ(overlay != nullptr, c.blocked);
        if (overlay) {
            EXPECT_EQ(Height(*overlay), 5.0f) << "cell_block";
            EXPECT_EQ(overlay->m_flags & (Model::kDrawFirst | Model::kDrawLast), Model::kDrawLast);
            EXPECT_FALSE(overlay->m_flags & Model::kZTest);
            EXPECT_EQ(overlay->m_sortBias, -13.0f);
            EXPECT_TRUE(IsRegistered(overlay));
        }
    }
}

TEST_F(CellLookTest, AppearanceChangesKeepTheOverlayOnlyWhileBlockedAndGiveTheOldModelsBack)
{
    Wispfold::BoardCellRecord record = Record(1, 1, 2, false, true);
    Wispfold::Cell cell(record, 0);
    const auto look = Make(record);
    const std::uint32_t registered = RegisteredCount();
    const Model* overlay = look->GetOverlay();

    cell.m_kind = 1;
    look->SetAppearance(cell);
    EXPECT_EQ(look->GetOverlay(), overlay) << "a cell still blocked keeps its overlay";
    EXPECT_EQ(Height(*look->GetAppearance()), 4.0f);
    EXPECT_EQ(RegisteredCount(), registered);

    cell.m_blocked = false;
    look->SetAppearance(cell);
    EXPECT_EQ(look->GetOverlay(), nullptr);
    EXPECT_EQ(look->GetAppearance()->GetShaderUser()->m_flags, 0x1000000u);
    EXPECT_EQ(RegisteredCount(), registered - 1);

    cell.m_kind = 3; // no board file makes it; the cell then shows nothing
    look->SetAppearance(cell);
    EXPECT_EQ(look->GetAppearance(), nullptr);
    look->Update(true, false);
    EXPECT_EQ(RegisteredCount(), registered - 2);
}

TEST_F(CellLookTest, StandsAtPositionPlusOffsetWithThePickBoxOfTheSingleModel)
{
    Wispfold::BoardCellRecord record = Record(2, 4, 0);
    record.offset = {1, 2, 3};
    record.rotation = {0, 0, 1, 0}; // carried, not applied
    const auto look = Make(record);

    const KeystrelEngine::Vector3 at{41, 42, 3};
    EXPECT_EQ(look->GetCentre().x, at.x);
    EXPECT_EQ(look->GetCentre().y, at.y);
    EXPECT_EQ(look->GetCentre().z, at.z);
    const KeystrelEngine::BoundingBox& pick = look->GetPickModel().m_boundingBox;
    EXPECT_EQ(pick.m_worldMin.x, 31.0f);
    EXPECT_EQ(pick.m_worldMin.y, 32.0f);
    EXPECT_EQ(pick.m_worldMin.z, 3.0f);
    EXPECT_EQ(pick.m_worldMax.x, 51.0f);
    EXPECT_EQ(pick.m_worldMax.z, 7.0f) << "the single model's box, not the empty model's";
    EXPECT_FALSE(IsRegistered(&look->GetPickModel()));
    EXPECT_EQ(look->GetAppearance()->GetOwnWorldMatrix().m[3], 41.0f);
    EXPECT_EQ(look->GetAppearance()->m_boundingBox.m_worldMax.z, 5.0f) << "the empty model is 2 high";

    const KeystrelEngine::Vector3 top = look->GetTopPosition();
    EXPECT_EQ(top.x, 41.0f);
    EXPECT_EQ(top.y, 42.0f);
    EXPECT_EQ(top.z, 7.0f);
    const KeystrelEngine::Vector3 centre = look->GetWorldCentre();
    EXPECT_EQ(centre.z, 5.0f);
    const KeystrelEngine::ParticleSystem& burst = *look->GetManaBurst();
    EXPECT_EQ(burst.m_position.z, 7.0f);
    EXPECT_FALSE(burst.m_emitting);
    EXPECT_TRUE(burst.GetSpriteGroup()->GetModel()->m_flags & Model::kShown);
}

TEST_F(CellLookTest, HoveredForAFifthOfASecondTheTintFallsToThreeTenthsAndRisesBack)
{
    const auto look = Make(Record(0, 0, 1));
    SetFrameTime(0.05f);
    for (int frame = 0; frame < 4; ++frame)
        look->Update(frame % 2 == 0, frame % 2 == 1); // hovered or selected, the same
    EXPECT_NEAR(look->GetTint().b, 0.3f, 1e-5f);
    EXPECT_EQ(look->GetTint().r, 1.0f);
    EXPECT_NEAR(Wispfold::GetModelColour(*look->GetAppearance()).b, 0.3f, 0.01f);
    EXPECT_TRUE(look->IsSelected());

    for (int frame = 0; frame < 4; ++frame)
        look->Update(false, false);
    EXPECT_NEAR(look->GetTint().b, 1.0f, 1e-5f);
    EXPECT_EQ(Wispfold::GetModelColour(*look->GetAppearance()).b, 1.0f);

    for (int frame = 0; frame < 20; ++frame)
        look->Update(true, false);
    EXPECT_EQ(look->GetTint().b, 0.0f) << "never below zero";
    look->Update(false, false);
    look->SetAppearance(1, true, false);
    EXPECT_NEAR(Wispfold::GetModelColour(*look->GetAppearance()).b, 0.175f, 0.01f) << "a new model takes the tint";
}

TEST_F(CellLookTest, TheManaBurstRestartsFromTimeZeroAndEmitsOneCycle)
{
    const auto look = Make(Record(0, 0, 1));
    KeystrelEngine::ParticleSystem& burst = *look->GetManaBurst();
    Frame(0.5f);
    EXPECT_EQ(burst.GetLiveCount(), 0u) << "not emitting before a charge";

    look->RestartManaBurst();
    EXPECT_EQ(burst.m_time, 0.0f);
    EXPECT_TRUE(burst.m_emitting);
    EXPECT_FALSE(burst.m_looping);
    Frame(0.05f);
    EXPECT_EQ(burst.GetLiveCount(), 1u);
    Frame(0.4f);
    burst.m_time = 0.7f;
    look->RestartManaBurst();
    EXPECT_EQ(burst.m_time, 0.0f) << "a charge mid-cycle starts it again";
    Frame(0.6f);
    Frame(0.6f);
    EXPECT_FALSE(burst.m_emitting) << "one cycle only";
}

TEST_F(CellLookTest, DestroyedCellsLeaveTheRegistriesAsTheyFoundThem)
{
    auto live = [](const auto& slots) { return std::count_if(slots.begin(), slots.end(), [](auto* p) { return p; }); };
    const std::uint32_t models = RegisteredCount();
    const auto systems = live(particles->GetRegistry().GetSlots());
    {
        std::vector<std::unique_ptr<CellLook>> looks;
        for (std::uint32_t kind = 0; kind < 3; ++kind) {
            looks.push_back(Make(Record(kind, 0, kind, false, true)));
            looks.push_back(Make(Record(kind, 2, kind, true, false)));
        }
        EXPECT_EQ(RegisteredCount(), models + 15) << "six models, three overlays and six particle sprite models";
        EXPECT_EQ(live(particles->GetRegistry().GetSlots()), systems + 6);
    }
    EXPECT_EQ(RegisteredCount(), models);
    EXPECT_EQ(live(particles->GetRegistry().GetSlots()), systems);
}

} // namespace
