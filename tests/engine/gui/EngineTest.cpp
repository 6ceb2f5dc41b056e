// The engine object on the recording device, with the sound mixed for a manual output: the managers start in
// their order and stop in the reverse one, the names and the title follow the settings, the configuration file
// is read and written as the settings ask, and the frame's steps (screenshot key, exit request, the log's frame
// list) happen where they belong.
#include "engine/gui/Engine.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/Window.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/RenderSystem.h"
#include "platform/testing.h"
#include "tests/engine/gui/EnginePlatform.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using KeystrelEngine::Engine;
using KeystrelEngine::EngineSettings;
using TestSupport::BaseFolder;

namespace {

class EngineTest : public ::testing::Test
{
protected:
    EngineTest()
    {
        settings.applicationName = "Quellhaven";
        settings.version = 100;
        settings.saveConfigOnExit = true;
        settings.configName = "Quellhaven";
        settings.logEnabled = true;
        settings.dataFolder = "Data";
        settings.videoMode = "640x480x32";
        settings.centerWindow = true;
    }

    Engine& Create()
    {
        engine = std::make_unique<Engine>(settings);
        return *engine;
    }

    // One whole frame, as the game's loop runs it.
    void Frame()
    {
        engine->Update();
        engine->EndFrame();
    }

    // The index of the first history entry that holds the text, or -1.
    long Find(const std::string& text) const
    {
        const auto& history = engine->m_log->m_history;
        for (std::size_t i = 0; i < history.size(); ++i) {
            if (history[i].text.find(text) != std::string::npos)
                return static_cast<long>(i);
        }
        return -1;
    }

    static std::string Text(const std::string& fileName)
    {
        const TestSupport::Bytes bytes = TestSupport::ReadFile(BaseFolder() + "/" + fileName);
        return std::string(bytes.begin(), bytes.end());
    }

    static bool Exists(const std::string& fileName) { return TestSupport::FileExists(BaseFolder() + "/" + fileName); }

    GUITesting::EnginePlatform platform;
    EngineSettings settings;
    std::unique_ptr<Engine> engine;
};

TEST_F(EngineTest, ManagersStartInTheirOrderAndStopInTheReverseReleasingEveryPlatformObject)
{
    Create();
    const std::vector<std::string> startLines = {
        "Initialization of File Manager...", "Window creation:", "Initialization of Direct3D subsystem...",
        "Initialization of DirectInput devices...", "Initialization of DirectSound Subsystem:"};
    long previous = -1;
    for (const std::string& line : startLines) {
        const long at = Find(line);
        EXPECT_GT(at, previous) << line;
        previous = at;
    }
    EXPECT_TRUE(engine->m_gui && engine->m_screenCapture && engine->m_soundManager && engine->m_particleSystems);
    EXPECT_EQ(engine->m_console, nullptr);
    EXPECT_NE(PlatformTesting::LiveSoundObjects(), 0);
    const HWND window = engine->m_window->m_handle;
    Frame();

    engine.reset();
    const std::string log = Text("Quellhaven.html");
    const std::size_t sound = log.find("DirectSound system destroying:");
    ASSERT_NE(sound, std::string::npos);
    EXPECT_LT(sound, log.find("Direct3D Subsystem destroying:"));
    EXPECT_LT(log.find("Direct3D Subsystem destroying:"), log.find("Window destroying:"));
    EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0);
    EXPECT_EQ(PlatformTesting::LiveGdiObjects(), 0);
    EXPECT_EQ(PlatformTesting::LiveAviObjects(), 0);
    EXPECT_EQ(PlatformTesting::LiveDeviceState(), nullptr);
    EXPECT_FALSE(PlatformTesting::GetWindowState(window).exists);
    // CoInitialize was balanced: the thread's next call is its first again.
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

TEST_F(EngineTest, AManagerThatFailsToStartLeavesNothingBehind)
{
    PlatformTesting::FailCall(PlatformTesting::DDrawCall::DirectDrawCreateEx, E_FAIL);
    EXPECT_THROW(Create(), KeystrelEngine::Error);
    EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0);
    EXPECT_EQ(PlatformTesting::LiveDeviceState(), nullptr);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

TEST_F(EngineTest, TitleIsTheNameAndTheVersionWithTwoMinorDigits)
{
    const std::vector<std::pair<std::uint32_t, std::string>> cases = {
        {100, "Quellhaven 1.00"},   {105, "Quellhaven 1.05"}, {67, "Quellhaven 0.67"},
        {1234, "Quellhaven 12.34"}, {5, "Quellhaven 0.05"},   {1000, "Quellhaven 10.00"}};
    for (const auto& [version, title] : cases) {
        settings.version = version;
        Create();
        EXPECT_EQ(engine->GetTitle(), title);
        EXPECT_EQ(PlatformTesting::GetWindowState(engine->m_window->m_handle).title, title);
        engine.reset();
    }
}

TEST_F(EngineTest, EmptyNamesTakeTheEnginesOwnName)
{
    settings.applicationName = "";
    settings.configName = "";
    settings.version = 250;
    Create();
    EXPECT_EQ(engine->GetTitle(), "Keystrel Engine 0.67");
    EXPECT_TRUE(Exists("Keystrel Engine.html"));
    engine.reset();
    EXPECT_NE(Text("Keystrel Engine.html").find("Keystrel Engine Log"), std::string::npos);
    EXPECT_TRUE(Exists("Keystrel Engine.ini"));
}

TEST_F(EngineTest, SavedVideoModeWinsUnlessTheSettingsForceTheirOwn)
{
    TestSupport::WriteFile(BaseFolder() + "/Quellhaven.ini", std::string("v_mode 800x600x32\n"));
    for (const bool force : {false, true}) {
        settings.forceVideoMode = force;
        Create();
        EXPECT_EQ(engine->m_config->v_mode, force ? "640x480x32" : "800x600x32");
        EXPECT_EQ(engine->m_window->m_width, force ? 640 : 800);
        engine.reset();
    }
}

TEST_F(EngineTest, ConfigurationIsWrittenAtExitOnlyWhenTheSettingsAskForIt)
{
    settings.saveConfigOnExit = false;
    Create().m_config->v_gamma = 1.5f;
    engine.reset();
    EXPECT_FALSE(Exists("Quellhaven.ini"));

    settings.saveConfigOnExit = true;
    Create().m_config->v_gamma = 1.5f;
    engine.reset();
    EXPECT_NE(Text("Quellhaven.ini").find("v_gamma 1.5"), std::string::npos);
}

TEST_F(EngineTest, OnePrintScreenPressTakesOnePicture)
{
    Create();
    const HWND window = engine->m_window->m_handle;
    PlatformTesting::PresentFrame(window, 640, 480, std::vector<std::uint32_t>(640 * 480, 0x336699));
    PlatformTesting::InjectKey(SDL_SCANCODE_PRINTSCREEN, true);
    Frame();
    Frame(); // still held: no second picture
    PlatformTesting::InjectKey(SDL_SCANCODE_PRINTSCREEN, false);
    Frame();
    const std::string folder = BaseFolder() + "/ScreenCaptures";
    std::vector<std::string> pictures;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        pictures.push_back(entry.path().filename().string());
    EXPECT_EQ(pictures, std::vector<std::string>{"picture000.bmp"});
}

TEST_F(EngineTest, ExitRequestStaysRaisedAndEveryLaterFrameLogsIt)
{
    Create();
    Frame();
    EXPECT_FALSE(engine->IsExitRequested());
    engine->RequestExit();
    EXPECT_TRUE(engine->IsExitRequested());
    engine->Update();
    EXPECT_EQ(Find("Exiting..."), -1);
    engine->EndFrame();
    ASSERT_NE(Find("Exiting..."), -1);
    EXPECT_EQ(engine->m_log->m_history.back().text, "\nExiting...\n\n");
    Frame();
    EXPECT_TRUE(engine->IsExitRequested());
    EXPECT_EQ(engine->m_log->m_history.back().text, "\nExiting...\n\n");
}

TEST_F(EngineTest, LogFrameListIsEmptiedEveryFrameWithoutAConsole)
{
    Create();
    EXPECT_FALSE(engine->m_log->m_history.empty());
    for (int frame = 0; frame < 3; ++frame) {
        engine->m_log->Message("during the frame");
        engine->Update();
        EXPECT_TRUE(engine->m_log->m_history.empty());
        engine->EndFrame();
    }
}

TEST_F(EngineTest, RandomSeedIsTheTickCountAtStart)
{
    PlatformTesting::UseFakeClock(86'400'123'000'000); // a day and 123 ms
    KeystrelEngine::RandomSeed = 7;
    Create();
    EXPECT_EQ(KeystrelEngine::RandomSeed, 86'400'123u);
}

} // namespace
