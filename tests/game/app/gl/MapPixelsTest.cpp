// The level map on the GL back end at 800 x 600, one GUI unit a pixel: the start_game frame with its buttons,
// the markers up to the best level with the selected one, and the way ahead half faded in by the preview. Each
// shown marker is drawn where its button lies; the markers fade with the map while its frame unfolds and folds.
// Saved for people to look at.
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "tests/game/app/MapWindowFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

using KeystrelEngine::Image;

namespace {

using namespace AppTesting;

using MapPixels = AppPixelFixture<MapWindowFixture>;

TEST_F(MapPixels, TheMapShowsItsMarkersOverTheFrameWithTheWayAheadFadingIn)
{
    MakeMap();
    SetLevels({0, 2}, {1, 1});
    OpenFully(0);
    // The preview restarts every 2.1 s; stop where the first marker ahead is whole and the next ones fade in.
    while (map->GetPreviewClock() < 0.35f || map->GetPreviewClock() > 0.45f)
        Step();
    const Image picture = Grab("map.bmp");
    int drawn = 0;
    for (const auto& element : map->GetElements()) {
        if (!element->IsVisible() || element->GetMarker()->GetColour().a < 0.5f)
            continue;
        const KeystrelEngine::GUIWindow& button = *element->GetButton();
        const KeystrelEngine::GUIPoint corner = button.GetAbsolutePosition();
        const auto pixel =
            RenderTesting::PixelFromBottom(picture, static_cast<std::uint32_t>(corner.x + button.m_size.width / 2.0f),
                                           static_cast<std::uint32_t>(corner.y + button.m_size.height / 2.0f));
        EXPECT_FALSE(pixel[0] == 64 && pixel[1] == 0 && pixel[2] == 64);
        ++drawn;
    }
    EXPECT_GE(drawn, 7);
}

// While the frame unfolds and while it folds the window's alpha is 0: its markers and their shadows are not
// drawn, so that drawing the screen again without them changes nothing where they stand. Standing open, the same
// comparison sees them.
TEST_F(MapPixels, TheMarkersAndTheirShadowsFadeWithTheMap)
{
    MakeMap();
    SetLevels({0, 2}, {1, 1});
    const auto hideMarkers = [&] {
        for (const auto& element : map->GetElements())
            element->SetVisible(false);
    };
    // The pixels that change around the markers (their shadows lie a shift away) when they are taken away.
    const auto markerPixels = [&](const std::string& name) {
        const Image drawn = Grab(name + ".bmp");
        const Image bare = RedrawnScreen(*engine, hideMarkers, name + "_bare.bmp");
        const float shift = Wispfold::GUIMapElement::kShadowShift;
        int changed = 0;
        for (const auto& element : map->GetElements()) {
            const KeystrelEngine::GUIWindow& button = *element->GetButton();
            const KeystrelEngine::GUIPoint at = button.GetAbsolutePosition();
            const KeystrelEngine::GUIRect around{at.x - shift, at.y - shift, button.m_size.width + 2 * shift,
                                                 button.m_size.height + 2 * shift};
            changed += ChangedPixels(drawn, bare, OnScreen(*engine, around));
        }
        map->Select(profile->m_currentLevel);
        return changed;
    };
    map->Open(0);
    for (int frame = 0; frame < 5 && !map->IsAnyControlAnimating(); ++frame)
        Step();
    ASSERT_TRUE(map->IsAnyControlAnimating());
    EXPECT_EQ(markerPixels("map_unfolding"), 0);
    for (int frame = 0; frame < 20 && map->m_colour.a < 1.0f; ++frame)
        Step();
    EXPECT_GT(markerPixels("map_open"), 1000);
    map->Close();
    for (int frame = 0; frame < 10 && !IsFolding(*map->GetFrame()); ++frame)
        Step();
    Step();
    ASSERT_TRUE(map->IsFrameOnScreen());
    EXPECT_EQ(markerPixels("map_folding"), 0);
}

} // namespace
