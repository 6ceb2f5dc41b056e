// The shell from the program's loader to its exit. A loader derived from the shell's loader starts the test
// game with the installer's registry values from hives the environment names and the data the test writes
// (fonts list, font and texture, the common text table, the level catalogue, a sound and a model): the logos
// report, the game-loading window loads the shared data on the worker, the welcome window shows a greeting for 60
// frames and asks for the exit window, which asks for the exit. What the program leaves on disk is read after
// the loader returned, and every platform object must have been released.
#include "engine/foundation/FileManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Image.h"
#include "engine/render/ModelManager.h"
#include "engine/render/RenderSystem.h"
#include "engine/sound/SoundManager.h"
#include "framework/GameLoaderBase.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "tests/engine/gui/gl/GUIPixelFixture.h"
#include "tests/framework/TestGame.h"
#include "tests/support/TestEnvironment.h"
#include "tools/formats/SoundWriters.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <thread>

#ifdef KEYSTREL_END_TO_END_GL
#define SHELL_SUITE ShellEndToEndOnGL
constexpr bool kOnGL = true;
#else
#define SHELL_SUITE ShellEndToEnd
constexpr bool kOnGL = false;
#endif

using namespace FrameworkTesting;
using GameFramework::DataKeeper;
using Entries = std::vector<std::string>;

namespace {

constexpr int kWelcomeFrames = 60;
constexpr int kFrameLimit = 1000;

std::string InstallFolder()
{
    return TestSupport::BaseFolder() + "/install";
}

void WriteGameFile(const std::string& name, const TestSupport::Bytes& bytes)
{
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    TestSupport::WriteFile(InstallFolder() + "/Data/" + path, bytes);
}

std::string UserFolder()
{
    std::string folder = KeystrelEngine::FileManager::GetUserFolder() + "/Tarrowby Games/Quellhaven/";
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return folder;
}

// The shared data: a model and a sound, made on the loading worker.
class SharedData : public DataKeeper
{
public:
    explicit SharedData(KeystrelEngine::Engine* engine) : DataKeeper(engine) {}

    std::thread::id worker;

protected:
    void DoLoad() override
    {
        worker = std::this_thread::get_id();
        m_models.push_back(m_modelManager->LoadModelUnmanaged("models\\quad.mlf", 0));
        m_engine->m_soundManager->CreateSound("audio\\click.wav");
        m_progress = 1.0f;
    }
};

// Loads its keeper when it is open and then reports that it is done.
class LoadingRunner : public LoadingWindow
{
public:
    using LoadingWindow::LoadingWindow;

    void Open(DataKeeper* keeper) override
    {
        LoadingWindow::Open(keeper);
        m_open = true;
    }
    void Close() override
    {
        LoadingWindow::Close();
        m_open = false;
    }
    void Update() override
    {
        LoadingWindow::Update();
        if (!m_open || IsDone())
            return;
        RunLoading();
        m_result = GameFramework::RequestDone;
    }

private:
    bool m_open = false;
};

// Shows the greeting of the common text table in a blue box, then asks for the exit window.
class GreetingWindow : public WelcomeWindow
{
public:
    GreetingWindow(Journal* journal, KeystrelEngine::Engine* engine)
        : WelcomeWindow(journal, "WelcomeWindow", engine), m_gui(engine->m_gui.get())
    {
    }

    void Open() override
    {
        WelcomeWindow::Open();
        using KeystrelEngine::GUIWindow;
        m_box = m_gui->CreateWindow(GUIWindow::kShown | GUIWindow::kColouredQuad, {200, 250}, {400, 100},
                                    KeystrelEngine::ShaderDescriptor(), nullptr, 1.0f, 1.0f);
        m_box->SetColour({0, 0, 1, 1});
        script.assign(kWelcomeFrames, 0);
        script.push_back(GameFramework::RequestQuit);
    }

    void Update() override
    {
        WelcomeWindow::Update();
        if (m_box)
            m_box->AddTextKey(0x01 | 0x02, 0, "GREETING", -1, 0.0f, 0.0f, {0, 0}, {1, 1, 1, 1});
    }

private:
    KeystrelEngine::GUIManager* m_gui;
    KeystrelEngine::GUIWindow* m_box = nullptr; // the GUI manager's
};

class LeavingExitWindow : public ExitWindow
{
public:
    using ExitWindow::ExitWindow;

    void Open(int caller) override
    {
        ExitWindow::Open(caller);
        script = {GameFramework::RequestExitProgram};
    }
};

class ShellGame : public TestGame
{
public:
    // The start-up runs here, where this class's factories are in place.
    explicit ShellGame(Journal& journal) : TestGame(journal, false), m_journal(&journal)
    {
        Initialize();
        GetLogosScript() = {GameFramework::RequestDone};
        // The offscreen window gets no focus by itself.
        PlatformTesting::InjectWindowEvent(m_window->m_handle, PlatformTesting::WindowEvent::FocusGained);
    }

    std::unique_ptr<GameFramework::LevelManagerBase> CreateLevelManager() override
    {
        auto catalogue = TestGame::CreateLevelManager();
        catalogue->Load();
        return catalogue;
    }
    std::unique_ptr<GameFramework::ProfileManagerBase> CreateProfileManager() override
    {
        auto profiles = TestGame::CreateProfileManager();
        profiles->LoadAll();
        return profiles;
    }
    std::unique_ptr<DataKeeper> CreateGameData() override
    {
        auto data = std::make_unique<SharedData>(m_engine.get());
        sharedData = data.get();
        return data;
    }
    std::unique_ptr<GameFramework::GUILoadingWindowBase> CreateGameLoadingWindow() override
    {
        return std::make_unique<LoadingRunner>(m_journal, "GameLoadingWindow", m_engine.get());
    }
    std::unique_ptr<GameFramework::GUIWelcomeWindowBase> CreateWelcomeWindow() override
    {
        return std::make_unique<GreetingWindow>(m_journal, m_engine.get());
    }
    std::unique_ptr<GameFramework::GUIExitWindowBase> CreateExitWindow() override
    {
        return std::make_unique<LeavingExitWindow>(m_journal, "ExitWindow", m_engine.get());
    }

    // A run that loses its way ends after a while instead of hanging the test.
    void Frame() override
    {
        frames += 1;
        TestGame::Frame();
        if (frames == kFrameLimit)
            m_engine->RequestExit();
    }

    HWND GetWindowHandle() const { return m_window->m_handle; }

    SharedData* sharedData = nullptr;
    int frames = 0;

private:
    std::deque<std::uint32_t>& GetLogosScript() { return As<LogosWindow>(m_logosWindow).script; }

    Journal* m_journal;
};

class Loader : public GameFramework::GameLoaderBase
{
public:
    explicit Loader(Journal& journal) : GameLoaderBase(nullptr, nullptr, "", 1), m_journal(&journal) { Run(); }

    void CreateGame() override { m_game = std::make_unique<ShellGame>(*m_journal); }

    // What the game is at its end, read before it goes.
    void DestroyGame() override
    {
        if (auto* game = static_cast<ShellGame*>(m_game.get())) {
            frames = game->frames;
            window = game->GetWindowHandle();
            loadedOnWorker =
                game->sharedData->worker != std::thread::id() && game->sharedData->worker != std::this_thread::get_id();
            if (kOnGL) {
                game->GetEngine()->m_renderSystem->GrabScreen(lastFrame);
                RenderTesting::SaveTestPicture(lastFrame, "last_frame.bmp", *game->GetEngine()->m_files);
            }
        }
        GameLoaderBase::DestroyGame();
    }

    int frames = 0;
    HWND window = nullptr;
    bool loadedOnWorker = false;
    KeystrelEngine::Image lastFrame;

private:
    Journal* m_journal;
};

class SHELL_SUITE : public ::testing::Test
{
protected:
    SHELL_SUITE()
    {
        PlatformTesting::UseRecordingDevice(!kOnGL);
        PlatformTesting::SetDisplayDrivers({});
        PlatformTesting::ClearFailures();
        PlatformTesting::SetDesktopSize(1920, 1080);
        PlatformTesting::ResetInput();
        PlatformTesting::UseManualSoundOutput(22050);
        PlatformTesting::RecordMessageBoxes(true);
    }

    ~SHELL_SUITE() override
    {
        PlatformTesting::RecordMessageBoxes(false);
        PlatformTesting::UseManualSoundOutput(0);
        PlatformTesting::SetDesktopSize(0, 0);
        PlatformTesting::UseRecordingDevice(false);
        unsetenv("KEYSTREL_REGISTRY_MACHINE");
        unsetenv("KEYSTREL_REGISTRY_USER");
    }

    // The installer's hives, and the game's data below the install folder they name.
    static void Install()
    {
        const std::string machine = TestSupport::BaseFolder() + "/hives/machine.ini";
        const std::string user = TestSupport::BaseFolder() + "/hives/user.ini";
        TestSupport::WriteFile(machine,
                               "[SOFTWARE\\Tarrowby Games\\Quellhaven]\nInstallPath=" + InstallFolder() + "\n");
        TestSupport::WriteFile(user, "[SOFTWARE\\Tarrowby Games\\Quellhaven]\nVersion=105\n");
        setenv("KEYSTREL_REGISTRY_MACHINE", machine.c_str(), 1);
        setenv("KEYSTREL_REGISTRY_USER", user.c_str(), 1);

        const auto text = [](const std::string& s) { return TestSupport::ToBytes(s); };
        const auto font = GUITesting::WriteColourFont(); // below the tests' own data folder
        const std::string fonts = TestSupport::BaseFolder() + "/Data/ui/fonts/";
        WriteGameFile("ui\\fonts\\colours.fnt", TestSupport::ReadFile(fonts + "colours.fnt"));
        WriteGameFile("ui\\fonts\\colours.tga", TestSupport::ReadFile(fonts + "colours.tga"));
        WriteGameFile("ui\\fonts\\en.ini", text("1\n0\nui\\fonts\\colours.fnt\nui\\fonts\\colours.tga\n32bit\n"
                                                "16 1 1\n0 0\n"));
        WriteGameFile("ui\\texts\\en\\common.ini", text("[GREETING]\nABBA\n"));
        WriteGameFile("levels\\stages_info.ini", text("1\n"));
        WriteGameFile("levels\\stage0\\levels_info.ini", text("2\n"));
        WriteGameFile("audio\\click.wav", Formats::MakeWav(1, 16, 22050, Formats::SoundBytes(4000, 1)));
        WriteGameFile("models\\quad.mlf", Formats::BuildModelFile(RenderTesting::StaticQuad()));
        WriteGameFile("models\\quad.srf", Formats::BuildShaderFile({}));
    }

    Journal journal;
};

// A first start: the user folder does not exist yet, and the run leaves its log, settings and lists in it.
TEST_F(SHELL_SUITE, RunsFromTheLoaderThroughTheWelcomeToTheExit)
{
    Install();
    ASSERT_FALSE(std::filesystem::exists(UserFolder()));
    const Loader loader(journal);
    const auto& boxes = PlatformTesting::RecordedMessageBoxes();
    if (kOnGL && loader.frames == 0 && boxes.size() == 1 && TestSupport::IsNoRenderDevice(boxes[0].text))
        GTEST_SKIP() << "no GL device: " << boxes[0].text;
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;

    const Entries opened = journal.Starting("open");
    EXPECT_EQ(opened, (Entries{"open LogosWindow", "open GameLoadingWindow", "open WelcomeWindow", "open ExitWindow"}));
    EXPECT_TRUE(loader.loadedOnWorker);
    EXPECT_GE(loader.frames, 3 + kWelcomeFrames);
    EXPECT_LE(loader.frames, 3 + kWelcomeFrames + 3);
    EXPECT_EQ(loader.GetGame(), nullptr);

    const TestSupport::Bytes logBytes = TestSupport::ReadFile(UserFolder() + "Quellhaven.html");
    const std::string log(logBytes.begin(), logBytes.end());
    EXPECT_NE(log.find("Exiting..."), std::string::npos);
    const TestSupport::Bytes config = TestSupport::ReadFile(UserFolder() + "Quellhaven.ini");
    EXPECT_NE(std::string(config.begin(), config.end()).find("g_music_volume "), std::string::npos);
    EXPECT_EQ(TestSupport::ReadFile(UserFolder() + "high_scores_table.hsf").size(), 21u);
    EXPECT_TRUE(TestSupport::FileExists(UserFolder() + "profiles.pmf"));

    EXPECT_FALSE(PlatformTesting::GetWindowState(loader.window).exists);
    EXPECT_EQ(PlatformTesting::LiveDeviceState(), nullptr);
    EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0);
    EXPECT_EQ(PlatformTesting::LiveGdiObjects(), 0);
    EXPECT_EQ(PlatformTesting::LiveAviObjects(), 0);
    if (kOnGL) {
        // The blue box with the greeting "ABBA" (40 x 16) centred in it, over the black background.
        ASSERT_EQ(loader.lastFrame.GetWidth(), 800u);
        EXPECT_EQ(RenderTesting::PixelFromBottom(loader.lastFrame, 210, 260), GUITesting::kBlue);
        EXPECT_EQ(RenderTesting::PixelFromBottom(loader.lastFrame, 10, 10), GUITesting::kBlack);
        EXPECT_EQ(RenderTesting::PixelFromBottom(loader.lastFrame, 384, 304), GUITesting::kRed);
        EXPECT_EQ(RenderTesting::PixelFromBottom(loader.lastFrame, 400, 296), GUITesting::kCyan);
    }
}

} // namespace
