// The level map on the GL back end at 800 x 600, one GUI unit a pixel: the start_game frame with its buttons,
// the markers up to the best level with the selected one, and the way ahead half faded in by the preview. Each
// shown marker is drawn where its button lies. Saved for people to look at.
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

} // namespace
