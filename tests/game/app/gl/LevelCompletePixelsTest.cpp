// The level-complete window on the GL back end at 800 x 600, while its mana bar counts up: the frame, the
// stage's two pictures, the bar and its mana line. Saved for people to look at.
#include "engine/foundation/Error.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/RenderSystem.h"
#include "game/app/GUILevelCompleteWindow.h"
#include "tests/engine/render/gl/PixelFixture.h"
#include "tests/game/app/MenuWindowFixture.h"
#include "tests/support/TestEnvironment.h"

namespace {

using namespace AppTesting;

class LevelCompletePixels : public MenuWindowFixture
{
protected:
    LevelCompletePixels() { PlatformTesting::UseRecordingDevice(false); }

    void SetUp() override
    {
        try {
            MenuWindowFixture::SetUp();
        } catch (const KeystrelEngine::Error& error) {
            if (TestSupport::IsNoRenderDevice(error.GetText()))
                GTEST_SKIP() << "no GL device: " << error.GetText();
            FAIL() << error.GetText();
        }
        engine->m_renderSystem->m_clearColor = {0.25f, 0.0f, 0.25f, 1.0f};
        for (const char* table : {"level_complete", "game_logic"})
            engine->m_gui->m_texts->LoadTexts(std::string("ui\\texts\\en\\") + table + ".ini");
    }
};

TEST_F(LevelCompletePixels, TheManaBarCountsUpUnderTheStagesPictures)
{
    Wispfold::LevelManager catalogue(engine->m_log.get(), engine->m_files.get());
    catalogue.Load();
    profiles->m_current = profiles->AddProfile(u"Ann");
    Wispfold::GUILevelCompleteWindow window(engine.get(), player.get(), profiles.get(), &catalogue, data.get(),
                                            manager.get(), data->GetChildWindow());
    window.m_level = {0, 1};
    window.Open();
    OpenFully(window);
    Step(window);
    Step(window);
    KeystrelEngine::Image image;
    engine->m_renderSystem->GrabScreen(image);
    RenderTesting::SaveTestPicture(image, "level_complete_count_up.bmp", *engine->m_files);
    // Somewhere between the stage's start and its end.
    EXPECT_GT(window.GetManaBar().GetValue(), 0.0f);
    EXPECT_LT(window.GetCountedMana(), catalogue.SumStageBoardValuesUpTo(0, 1) * 10);
}

} // namespace
