// The menu background on the GL back end at 800 x 600, one GUI unit a pixel: the scene run through its start-up
// to step 8 (the panel unfolded), with a small-window menu frame and its controls unfolded over it and the menu's
// title typed in the text area. The sky covers the screen, the title's letters print inside the text area, and
// the picture is saved for people to look at.
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/RenderSystem.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/GUIMenuWindowManager.h"
#include "tests/game/app/MenuFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"
#include "tests/tools/content/ContentData.h"

using KeystrelEngine::Image;

namespace {

using namespace AppTesting;

class BackgroundPixels : public AppPixelFixture<AppFixture>
{
protected:
    void SetUp() override
    {
        AppPixelFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        engine->m_renderSystem->m_clearColor = {1.0f, 0.0f, 1.0f, 1.0f};
        engine->m_gui->m_camera->m_width = 800.0f;
        engine->m_gui->m_camera->m_height = 600.0f;
        ContentTesting::LoadFonts(*engine->m_gui->m_fonts, ContentTesting::ReadFontList(*engine->m_files, "en"), true);
        for (const char* table : {"common", "new_profile"})
            engine->m_gui->m_texts->LoadTexts(std::string("ui\\texts\\en\\") + table + ".ini");
    }

    void TearDown() override
    {
        window.reset();
        manager.reset();
        background.reset();
        data.reset();
        AppFixture::TearDown();
    }

    // The small-window set's frame and controls under the scene's top root, as the new-profile window has them.
    void OpenSmallWindow()
    {
        manager = std::make_unique<Wispfold::GUIMenuWindowManager>(background.get());
        manager->m_frameFree = true;
        window = std::make_unique<Wispfold::GUIMenuWindow>(engine.get(), player.get(), data.get(), manager.get(),
                                                           Wispfold::FrameKind::SmallWindow, background->GetTopRoot());
        for (const MenuSet& set : MenuSets()) {
            if (set.name != "small_window")
                continue;
            for (const ControlSpec& control : set.controls)
                window->AddControl(control.kind, control.model, control.base, control.selectionArea, control.textArea);
        }
        window->SetTitle("NEW_PROFILE_TITLE");
        window->RequestOpen();
    }

    // The scene through its start-up until the panel has unfolded (step 8).
    void RunToStepEight()
    {
        MakeBackground();
        data = MakeSharedData();
        LoadSharedData(*data);
        background->Start();
        ASSERT_TRUE(FramesUntil([&] {
            switch (background->GetStartUpStep()) {
            case 3:
                background->SetSharedData(data.get());
                break;
            case 4:
                background->SetMenusReady();
                break;
            case 6:
                background->RequestPanel();
                break;
            default:
                break;
            }
            return background->GetStartUpStep() == 8;
        }));
    }

    void WindowFrame()
    {
        Frame(kFrameTime, [&] { window->Update(); });
    }

    std::unique_ptr<Wispfold::GameData> data;
    std::unique_ptr<Wispfold::GUIMenuWindowManager> manager;
    std::unique_ptr<Wispfold::GUIMenuWindow> window;
};

TEST_F(BackgroundPixels, TheSceneAtStepEightWithTheMenusTitleTyped)
{
    RunToStepEight();
    OpenSmallWindow();
    for (int i = 0; i < 80 && !(window->m_colour.a == 1.0f && background->GetTextPrinter().IsFinished()); ++i)
        WindowFrame();
    // A second more: the themes and the name have faded in whole.
    for (int i = 0; i < 20; ++i)
        WindowFrame();
    EXPECT_EQ(background->GetTextPrinter().GetShownText(), window->GetTitle());
    EXPECT_EQ(background->GetStartUpStep(), 8u);
    EXPECT_TRUE(background->IsPanelPresent());
    const Image image = Grab("background.bmp");
    ASSERT_EQ(image.GetWidth(), 800u);

    // No hole in the sky (the clear colour is magenta).
    std::uint32_t holes = 0;
    for (std::uint32_t y = 0; y < image.GetHeight(); ++y) {
        for (std::uint32_t x = 0; x < image.GetWidth(); ++x)
            holes += RenderTesting::PixelFromBottom(image, x, y) == std::array<int, 3>{255, 0, 255} ? 1 : 0;
    }
    EXPECT_EQ(holes, 0u);

    // The title prints inside the text area: the area differs from the same scene without the text.
    const KeystrelEngine::GUIWindow& area = *background->GetTextAreaWindow();
    background->GetTextPrinter().Clear();
    WindowFrame();
    const Image bare = Grab("background_bare.bmp");
    int changed = 0;
    int outside = 0;
    for (std::uint32_t y = 0; y < image.GetHeight(); ++y) {
        for (std::uint32_t x = 0; x < image.GetWidth(); ++x) {
            if (PixelDifference(image, bare, x, y) <= 30)
                continue;
            const bool inside = x >= area.m_position.x && x < area.m_position.x + area.m_size.width &&
                                y >= area.m_position.y && y < area.m_position.y + area.m_size.height;
            (inside ? changed : outside) += 1;
        }
    }
    EXPECT_GT(changed, 100);
    EXPECT_LT(outside, changed / 4) << "the swaying themes move a little between two frames";
}

// Over a level the title plate comes with a dialog and goes with it: given back, it fades out with its title
// instead of standing empty until it vanishes (half a second before the next dialog, such as Level Complete, can
// bring it in again). Half-way through the fade the plate's pixels lie half-way back to the level behind (here the
// clear colour).
TEST_F(BackgroundPixels, TheTitlePlateFadesWithItsTitleWhenADialogGivesItBack)
{
    RunToStepEight();
    background->LeaveForLevel();
    ASSERT_TRUE(FramesUntil([&] { return !background->IsPanelWindowVisible(); }));
    background->RequestPanel();
    background->GetTextPrinter().SetText(u"Paused");
    ASSERT_TRUE(FramesUntil([&] { return background->IsPanelPresent() && background->GetTextPrinter().IsFinished(); }));
    const Image up = Grab("title_plate_up.bmp");
    background->ReleasePanel();
    ASSERT_TRUE(FramesUntil([&] { return background->GetTextAlpha() < 0.45f; }));
    ASSERT_TRUE(background->IsPanelWindowVisible());
    const Image fading = Grab("title_plate_fading.bmp");
    ASSERT_TRUE(FramesUntil([&] { return !background->IsPanelWindowVisible(); }));
    const Image gone = Grab("title_plate_gone.bmp");
    long plateUp = 0, plateFading = 0;
    ForEachPixel(up, Whole(up), [&](std::uint32_t x, std::uint32_t y) {
        plateUp += PixelDifference(up, gone, x, y);
        plateFading += PixelDifference(fading, gone, x, y);
    });
    EXPECT_GT(plateUp, 100000);
    EXPECT_LT(plateFading, plateUp * 6 / 10);
}

} // namespace
