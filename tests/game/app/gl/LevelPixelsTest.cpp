// The generated catalogue's first level as one game logic on the GL back end: its board in the oblique view once
// the intro flight has ended, its environment around it, and the guide in its corner saying a two-line greeting.
// Saved for people to look at.
#include "engine/render/Image.h"
#include "framework/GUITextPrinter.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/CameraControl.h"
#include "tests/game/app/LevelFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

namespace {

using LevelPixels = AppTesting::AppPixelFixture<AppTesting::LevelFixture>;

TEST_F(LevelPixels, TheFirstLevelInTheObliqueViewWithTheGuideSpeaking)
{
    const std::u16string last = u"Swap two butterflies to make a row.";
    SetPhrase("CHARACTER_LEVEL_BEGIN", {u"Welcome to the glade!", last}, "2");
    Start();
    int frames = 0;
    for (; frames < 300 && character->GetPrinter(1, 1).GetShownText() != last; ++frames)
        Play(nullptr, false);
    EXPECT_LT(frames, 300);
    // The intro flight has ended: the board rests in the oblique view.
    while (logic->GetCameraControl().GetTransitionTimer() <= 1.0f && frames++ < 300)
        Play(nullptr, false);
    EXPECT_FLOAT_EQ(logic->GetCameraControl().GetValue(), 1.0f);

    const KeystrelEngine::Image image = Grab("level_first_oblique.bmp");
    // Every cell lies on the screen, clear of the head-up display's bands.
    for (const auto& cell : logic->GetBoard().GetCells()) {
        const Wispfold::ScreenPosition at = logic->GetScene().GetScreenPosition(*cell);
        EXPECT_GT(at.x, 20.0f);
        EXPECT_LT(at.x, 780.0f);
        EXPECT_GT(at.y, 60.0f);
        EXPECT_LT(at.y, 540.0f);
    }
}

} // namespace
