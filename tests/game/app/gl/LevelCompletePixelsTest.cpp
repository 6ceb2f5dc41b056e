// The level-complete window on the GL back end at 800 x 600, while its mana bar counts up: the frame, the
// stage's two pictures, the bar and its mana line; and the bar's fill fading with the window as its frame unfolds
// and folds. Saved for people to look at.
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/RenderSystem.h"
#include "game/app/GUILevelCompleteWindow.h"
#include "game/play/LevelManager.h"
#include "tests/engine/render/gl/PixelFixture.h"
#include "tests/game/app/MenuWindowFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

namespace {

using namespace AppTesting;

class LevelCompletePixels : public AppPixelFixture<MenuWindowFixture>
{
protected:
    void SetUp() override
    {
        AppPixelFixture::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        for (const char* table : {"level_complete", "game_logic"})
            engine->m_gui->m_texts->LoadTexts(std::string("ui\\texts\\en\\") + table + ".ini");
        catalogue = std::make_unique<Wispfold::LevelManager>(engine->m_log.get(), engine->m_files.get());
        catalogue->Load();
        profiles->m_current = profiles->AddProfile(u"Ann");
        window = std::make_unique<Wispfold::GUILevelCompleteWindow>(engine.get(), player.get(), profiles.get(),
                                                                    catalogue.get(), data.get(), manager.get(),
                                                                    data->GetChildWindow());
        window->m_level = {0, 1};
    }

    void TearDown() override
    {
        window.reset();
        MenuWindowFixture::TearDown();
    }

    std::unique_ptr<Wispfold::LevelManager> catalogue;
    std::unique_ptr<Wispfold::GUILevelCompleteWindow> window; // the second level of the first stage, won
};

TEST_F(LevelCompletePixels, TheManaBarCountsUpUnderTheStagesPictures)
{
    Wispfold::GUILevelCompleteWindow& window = *this->window;
    window.Open();
    OpenFully(window);
    Step(window);
    Step(window);
    KeystrelEngine::Image image;
    engine->m_renderSystem->GrabScreen(image);
    RenderTesting::SaveTestPicture(image, "level_complete_count_up.bmp", *engine->m_files);
    // Somewhere between the stage's start and its end.
    EXPECT_GT(window.GetManaBar().GetValue(), 0.0f);
    EXPECT_LT(window.GetCountedMana(), catalogue->SumStageBoardValuesUpTo(0, 1) * 10);
}

// While the frame unfolds and while it folds the window's alpha is 0, and the bar's fill fades with it: drawing
// the screen again without the fill changes nothing where it stands. Standing open, the same comparison sees it.
TEST_F(LevelCompletePixels, TheManaFillFadesWithTheWindow)
{
    Wispfold::GUILevelCompleteWindow& window = *this->window;
    KeystrelEngine::GUIWindow& fill = *window.GetManaBar().GetFill();
    const auto fillPixels = [&](const std::string& name) {
        const KeystrelEngine::Image drawn = GrabScreen(*engine, name + ".bmp");
        const KeystrelEngine::Image bare = RedrawnScreen(
            *engine, [&] { fill.SetVisible(false); }, name + "_bare.bmp");
        fill.SetVisible(true);
        const KeystrelEngine::GUIPoint origin = fill.GetParent()->GetAbsolutePosition();
        KeystrelEngine::GUIRect box = window.GetManaBar().GetFillRect();
        box.x += origin.x;
        box.y += origin.y;
        return ChangedPixels(drawn, bare, OnScreen(*engine, box));
    };
    window.Open();
    for (int frame = 0; frame < 5 && !window.IsAnyControlAnimating(); ++frame)
        Step(window);
    ASSERT_TRUE(window.IsAnyControlAnimating());
    EXPECT_EQ(fillPixels("level_complete_unfolding"), 0);
    OpenFully(window);
    EXPECT_GT(fillPixels("level_complete_open"), 500);
    window.CloseFrame();
    for (int frame = 0; frame < 10 && !IsFolding(*window.GetFrame()); ++frame)
        Step(window);
    Step(window);
    ASSERT_TRUE(window.IsFrameOnScreen());
    EXPECT_EQ(fillPixels("level_complete_folding"), 0);
}

} // namespace
