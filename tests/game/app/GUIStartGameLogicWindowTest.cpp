// The level map: markers placed by their records in virtual-screen units with their states as material frames,
// the selection limited to the best level, hover, clicks and double clicks, the open modes, the preview of the
// way ahead, and maps that the catalogue or the reader refuse.
#include "engine/foundation/Controls.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/render/Model.h"
#include "engine/render/ShaderUser.h"
#include "framework/ProfileBase.h"
#include "framework/WindowRequest.h"
#include "tests/game/app/MapWindowFixture.h"
#include "tools/formats/MapFileWriter.h"

#include <algorithm>

using GameFramework::LevelId;
using KeystrelEngine::GUIWindow;
using KeystrelEngine::Matrix4;
using Wispfold::GUIMapElement;
using Wispfold::MapElementKind;

namespace {

using namespace AppTesting;

float ShownFrame(const GUIWindow& window)
{
    return window.GetQuad()->GetShaderUser()->GetPosition(0);
}

bool Same(LevelId a, LevelId b)
{
    return a.stage == b.stage && a.level == b.level;
}

class MapWindowTest : public MapWindowFixture
{
protected:
    GUIMapElement& Element(LevelId level) const
    {
        const auto& elements = map->GetElements();
        const auto found = std::find_if(elements.begin(), elements.end(),
                                        [&](const auto& element) { return Same(element->GetLevel(), level); });
        EXPECT_NE(found, elements.end());
        return **found;
    }

    std::vector<LevelId> Shown() const
    {
        std::vector<LevelId> shown;
        for (const auto& element : map->GetElements())
            if (element->IsVisible())
                shown.push_back(element->GetLevel());
        return shown;
    }

    LevelId SavedCurrentLevel() const
    {
        return profiles->CreateProfileFromFile(profile->GetFileName())->m_currentLevel;
    }
};

TEST_F(MapWindowTest, MarkersStandWhereTheirRecordsPutThemAndShowTheirStatesAsMaterialFrames)
{
    MakeMap();
    const std::vector<Wispfold::MapElementRecord> records =
        Wispfold::MapFile::Read(engine->m_files.get(), engine->m_log.get());
    ASSERT_EQ(map->GetElements().size(), records.size());
    SetLevels({0, 2}, {1, 1});
    OpenFully(0);

    for (std::size_t i = 0; i < records.size(); ++i) {
        const GUIMapElement& element = *map->GetElements()[i];
        EXPECT_TRUE(Matrix4::Equals(element.GetMarker()->GetQuad()->GetOwnWorldMatrix(), records[i].matrix)) << i;
        Matrix4 shift;
        shift.MakeTranslation({2.0f, -2.0f, 0.0f});
        EXPECT_TRUE(Matrix4::Equals(element.GetShadow()->GetQuad()->GetOwnWorldMatrix(), shift * records[i].matrix))
            << i;
        // The button covers the marker's placed box: the box's centre lies at the middle of the button.
        const KeystrelEngine::BoundingBox& box = element.GetMarker()->GetQuad()->m_boundingBox;
        const KeystrelEngine::GUIPoint corner = element.GetButton()->GetAbsolutePosition();
        EXPECT_NEAR(corner.x + element.GetButton()->m_size.width / 2.0f, box.m_centre.x, 0.01f) << i;
        EXPECT_NEAR(corner.y + element.GetButton()->m_size.height / 2.0f, box.m_centre.y, 0.01f) << i;
    }
    // Passed before the selected level, reachable up to the best, hidden beyond it but for the way ahead; the
    // selected path marker is drawn from the path model with a check point.
    const std::vector<std::pair<LevelId, GUIMapElement::State>> states{
        {{0, 0}, GUIMapElement::Passed},    {{0, 1}, GUIMapElement::Passed},    {{0, 2}, GUIMapElement::Selected},
        {{0, 3}, GUIMapElement::Reachable}, {{1, 0}, GUIMapElement::Reachable}, {{1, 1}, GUIMapElement::Reachable}};
    for (const auto& [level, state] : states) {
        const GUIMapElement& element = Element(level);
        EXPECT_TRUE(element.IsVisible() && element.GetMarker()->IsVisible());
        EXPECT_EQ(element.GetState(), state);
        EXPECT_EQ(ShownFrame(*element.GetMarker()), static_cast<float>(state));
        EXPECT_EQ(ShownFrame(*element.GetShadow()), 5.0f);
    }
    EXPECT_TRUE(Element({0, 2}).HasAlternateModel());
    EXPECT_NE(Element({0, 2}).GetMarker()->GetQuad()->GetName().find("path_check_point"), std::string::npos);
    EXPECT_NE(Element({0, 3}).GetMarker()->GetQuad()->GetName().find("path.mlf"), std::string::npos);
    EXPECT_EQ(Element({2, 1}).GetState(), GUIMapElement::Reachable);
    EXPECT_FALSE(Element({2, 1}).IsVisible());

    // The markers show only with the frame.
    map->Close();
    for (int frame = 0; frame < 30 && map->GetFrameWidget()->IsVisible(); ++frame)
        Step();
    EXPECT_FALSE(Element({0, 0}).GetMarker()->IsVisible() || Element({0, 0}).GetButton()->IsVisible());
}

TEST_F(MapWindowTest, SelectionStaysWithinTheBestLevelIsSavedAndFollowsClicksAndHover)
{
    MakeMap();
    SetLevels({2, 1}, {1, 1}); // the current level lies beyond the best
    OpenFully(0);
    EXPECT_EQ(Element({1, 1}).GetState(), GUIMapElement::Selected);
    EXPECT_TRUE(Same(profile->m_currentLevel, {1, 1}));
    EXPECT_TRUE(Same(SavedCurrentLevel(), {1, 1}));
    EXPECT_EQ(background->stageThemeUpdates, 1);
    // The walk ends at the best level; beyond it only the preview's markers show.
    const std::vector<LevelId> shown = Shown();
    EXPECT_TRUE(std::none_of(shown.begin(), shown.end(), [](LevelId id) { return id.stage == 2 && id.level > 0; }));
    EXPECT_EQ(Element({1, 2}).GetState(), GUIMapElement::Ahead);

    // A hovered marker shows the highlighted frame and goes back to its state's frame after.
    Step([&] { Point(*Element({0, 1}).GetButton(), false, false); });
    EXPECT_TRUE(Element({0, 1}).IsHovered());
    EXPECT_EQ(ShownFrame(*Element({0, 1}).GetMarker()), 2.0f);
    Step();
    EXPECT_EQ(ShownFrame(*Element({0, 1}).GetMarker()), 1.0f);

    // A click selects: the markers before it become passed, and the profile is saved with it.
    Click(*Element({0, 2}).GetButton());
    EXPECT_EQ(Element({0, 2}).GetState(), GUIMapElement::Selected);
    EXPECT_EQ(Element({0, 1}).GetState(), GUIMapElement::Passed);
    EXPECT_EQ(Element({1, 1}).GetState(), GUIMapElement::Reachable);
    EXPECT_FALSE(Element({1, 1}).HasAlternateModel());
    EXPECT_TRUE(Same(SavedCurrentLevel(), {0, 2}));
    EXPECT_EQ(background->stageThemeUpdates, 2);
    EXPECT_EQ(map->m_result, GameFramework::RequestNone);
}

TEST_F(MapWindowTest, ButtonsDoubleClicksAndOpenModesGiveTheirResults)
{
    MakeMap();
    SetLevels({0, 1}, {0, 3});
    OpenFully(0);
    Click(*map->GetStartControl()->GetButton());
    EXPECT_EQ(map->m_result, GameFramework::RequestStart);
    Click(*map->GetBackControl()->GetButton());
    EXPECT_EQ(map->m_result, GameFramework::RequestBack);
    Step();
    EXPECT_EQ(map->m_result, GameFramework::RequestNone);

    // A double click on a reachable marker starts; on a marker of the way ahead it does nothing.
    EXPECT_EQ(DoubleClick(*Element({0, 2}).GetButton()), GameFramework::RequestStart);
    GUIMapElement& ahead = Element({1, 0});
    ASSERT_TRUE(ahead.IsVisible());
    ASSERT_EQ(ahead.GetState(), GUIMapElement::Ahead);
    EXPECT_EQ(DoubleClick(*ahead.GetButton()), GameFramework::RequestNone);
    EXPECT_EQ(Element({0, 2}).GetState(), GUIMapElement::Selected);

    // Start at once with the continue flag: the next update starts, with nothing shown.
    map->Close();
    for (int frame = 0; frame < 30 && !manager->m_frameFree; ++frame)
        Step();
    profile->m_continue = 1;
    map->Open(Wispfold::GUIStartGameLogicWindow::kStartAtOnce);
    Step();
    EXPECT_EQ(map->m_result, GameFramework::RequestStart);
    EXPECT_FALSE(map->IsShown() || map->IsOpenRequested());
    Step();
    EXPECT_EQ(map->m_result, GameFramework::RequestNone);
    // Without the flag the map opens as usual.
    profile->m_continue = 0;
    OpenFully(Wispfold::GUIStartGameLogicWindow::kStartAtOnce);
    EXPECT_EQ(map->m_mode, 0);
    EXPECT_EQ(map->m_result, GameFramework::RequestNone);

    // After a level or a stage every marker is disabled and the start button continues.
    for (const std::int32_t mode :
         {Wispfold::GUIStartGameLogicWindow::kAfterLevel, Wispfold::GUIStartGameLogicWindow::kAfterStage}) {
        map->Close();
        for (int frame = 0; frame < 30 && !manager->m_frameFree; ++frame)
            Step();
        OpenFully(mode);
        for (const auto& element : map->GetElements())
            EXPECT_TRUE(!element->IsVisible() || element->IsDisabled() || element->GetState() == 4);
        EXPECT_FALSE(Element({0, 0}).GetButton()->IsEnabled());
        Step([&] { Point(*Element({0, 0}).GetButton(), false, false); });
        EXPECT_FALSE(Element({0, 0}).IsHovered());
        const GUIWindow& start = *map->GetStartControl()->GetWidget();
        ASSERT_EQ(start.GetTextCount(), 0u); // drawn and forgotten; the next update adds it anew
        PlatformTesting::AdvanceFakeClock(kFrameTime);
        engine->Update();
        map->Update();
        ASSERT_EQ(start.GetTextCount(), 1u);
        EXPECT_EQ(start.GetTextRecord(0).key, "START_GAME_CONTINUE");
        EXPECT_EQ(start.GetTextRecord(0).flags, 3u);
        EXPECT_EQ(start.GetTextRecord(0).fontId, 1u);
        engine->EndFrame();
    }
}

// Once closed, the map folding away takes no more clicks: a BACK after START opened the menus over the level's
// loading, which then waited for the menu frame as long as they went on, and a marker's click changed the level
// being loaded.
TEST_F(MapWindowTest, AClosedMapTakesNoClicksWhileItFoldsAway)
{
    MakeMap();
    SetLevels({0, 1}, {0, 3});
    OpenFully(0);
    Click(*map->GetStartControl()->GetButton());
    ASSERT_EQ(map->m_result, GameFramework::RequestStart);
    map->Close();
    int frames = 0;
    for (; map->GetFrameWidget()->IsVisible() && frames < 60; ++frames) {
        for (GUIWindow* button :
             {map->GetBackControl()->GetButton(), map->GetStartControl()->GetButton(), Element({0, 2}).GetButton()}) {
            Click(*button);
            EXPECT_EQ(map->m_result, GameFramework::RequestNone) << "fold frame " << frames;
        }
    }
    EXPECT_GE(frames, 2);
    EXPECT_TRUE(Same(profile->m_currentLevel, {0, 1}));
}

// A double click that ends in the last frame in which the closing map's frame is on screen starts nothing, as
// the closed map takes no clicks (after BACK it started the level under the main menu): nor may the detector's
// flag, not updated after it, start the level in any later frame.
TEST_F(MapWindowTest, ADoubleClickEndingAsTheFrameGoesStartsOnlyOnce)
{
    MakeMap();
    SetLevels({0, 1}, {0, 3});
    const auto openAndClose = [&] {
        for (int frame = 0; frame < 30 && !manager->m_frameFree; ++frame)
            Step();
        OpenFully(0);
        map->Close();
    };
    openAndClose();
    int fold = 0; // frames until the frame has gone
    while (map->GetFrameWidget()->IsVisible() && fold < 60) {
        Step();
        ++fold;
    }
    ASSERT_GE(fold, 5);

    // Press, release, press, hold, and the last release in the frame's last visible frame.
    openAndClose();
    GUIWindow& marker = *Element({0, 2}).GetButton();
    for (int frame = 1; frame < fold; ++frame) {
        const bool down = frame != 2 && frame != fold - 1;
        const bool wentDown = frame == 1 || frame == 3;
        Step([&] {
            engine->m_controls->SetKeyState("MOUSE1", down);
            Point(marker, down, wentDown);
        });
    }
    ASSERT_TRUE(map->GetFrameWidget()->IsVisible());
    EXPECT_EQ(map->m_result, GameFramework::RequestNone);
    for (int frame = 0; frame < 3; ++frame) {
        Step();
        EXPECT_FALSE(map->GetFrameWidget()->IsVisible());
        EXPECT_EQ(map->m_result, GameFramework::RequestNone) << "frame " << frame;
    }
}

TEST_F(MapWindowTest, TheWayAheadFadesInMarkerAfterMarkerFadesOutFromSixTenthsAndRepeats)
{
    MakeMap();
    SetLevels({0, 0}, {0, 1});
    map->Open(0);
    // After the best level (0, 1): the paths (0, 2), (0, 3) and the check point (1, 0), which ends the run.
    const std::vector<GUIMapElement*> way{&Element({0, 2}), &Element({0, 3}), &Element({1, 0})};
    const auto alpha = [](float t, bool showing) {
        const float fade = t <= 0.3f ? 3.3333f * t : 1.0f;
        return showing ? fade : 1.0f - fade;
    };
    bool restarted = false;
    for (int frame = 0; frame < 30 && !restarted; ++frame) {
        const float before = map->GetPreviewClock();
        Step();
        const float clock = map->GetPreviewClock();
        if (clock < before) {
            // Restarted once the fade out has run 1.0 s past its last marker.
            EXPECT_GT(before + kFrameTime - 0.6f - 3 * 0.15f, 1.0f);
            EXPECT_EQ(clock, 0.0f);
            restarted = true;
            break;
        }
        for (std::size_t i = 0; i < way.size(); ++i) {
            const float t = clock - 0.15f * static_cast<float>(i);
            if (t < 0.0001f) {
                EXPECT_FALSE(way[i]->IsVisible()) << frame << " " << i;
                continue;
            }
            ASSERT_TRUE(way[i]->IsVisible());
            EXPECT_EQ(way[i]->GetState(), GUIMapElement::Ahead);
            EXPECT_EQ(ShownFrame(*way[i]->GetMarker()), 4.0f);
            EXPECT_FALSE(way[i]->GetButton()->IsEnabled());
            const float expected = clock - 0.6f - 0.15f * static_cast<float>(i) >= 0.0001f
                                       ? alpha(clock - 0.6f - 0.15f * static_cast<float>(i), false)
                                       : alpha(t, true);
            // Drawn with the map's own fade, which rises once the frame has unfolded.
            EXPECT_NEAR(way[i]->GetMarker()->GetColour().a, expected * map->m_colour.a, 0.01f) << frame << " " << i;
        }
    }
    EXPECT_TRUE(restarted);
    EXPECT_FALSE(Element({1, 1}).IsVisible());
    Step();
    EXPECT_NEAR(way[0]->GetMarker()->GetColour().a, 0.3333f, 0.01f);
}

TEST_F(MapWindowTest, MarkersOfLevelsTheCatalogueLacksStayHiddenAndUnselectable)
{
    // A first check point starts group 1; group 3 is not in the catalogue.
    std::vector<Formats::MapFileRecord> records(6);
    const std::uint32_t kinds[] = {2, 3, 2, 3, 2, 1};
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].kind = kinds[i];
        records[i].matrix[3] = 100.0f + 50.0f * static_cast<float>(i);
        records[i].matrix[7] = 300.0f;
    }
    ReplaceDataFile(Wispfold::MapFile::kPath, Formats::BuildMapFile(records));
    engine->m_log->m_history.clear();
    MakeMap();
    EXPECT_EQ(map->GetElements().front()->GetLevel().stage, 1u);
    const auto warnings =
        std::count_if(engine->m_log->m_history.begin(), engine->m_log->m_history.end(),
                      [](const auto& record) { return record.text.find("map.gmf") != std::string::npos; });
    EXPECT_EQ(warnings, 1);

    SetLevels({1, 0}, {3, 1});
    OpenFully(0);
    const std::vector<LevelId> shown = Shown();
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_FALSE(Element({3, 0}).IsVisible() || Element({3, 1}).IsVisible());
    map->Select({3, 1});
    EXPECT_TRUE(Same(profile->m_currentLevel, {1, 0}));
    EXPECT_EQ(Element({2, 1}).GetState(), GUIMapElement::Passed);
    EXPECT_FALSE(std::any_of(map->GetElements().begin(), map->GetElements().end(),
                             [](const auto& element) { return element->GetState() == GUIMapElement::Selected; }));

    // A damaged map makes no window at all.
    records[2].kind = 9;
    ReplaceDataFile(Wispfold::MapFile::kPath, Formats::BuildMapFile(records));
    map.reset();
    EXPECT_THROW(MakeMap(), KeystrelEngine::FileError);
}

} // namespace
