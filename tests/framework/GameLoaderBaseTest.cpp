// The game loader on the test game: the two catch clauses and their boxes, the one deletion of the game on every
// road, and the message loop's turns (a burst of messages drained before a frame, nothing read after the exit).
#include "framework/GameLoaderBase.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "framework/UserFolderLock.h"
#include "tests/framework/EnginePlatform.h"
#include "tests/framework/TestGame.h"
#include "tests/support/TestEnvironment.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using FrameworkTesting::Journal;
using FrameworkTesting::TestGame;

namespace {

// The test game whose frames run a script instead of the game's frame, one step per frame.
class ScriptedGame : public TestGame
{
public:
    using Step = std::function<void(ScriptedGame&)>;

    ScriptedGame(Journal& journal, std::vector<Step> steps) : TestGame(journal), m_steps(std::move(steps)) {}

    void Frame() override
    {
        frames += 1;
        m_steps.at(frames - 1)(*this);
    }

    KeystrelEngine::Window& GetWindow() const { return *m_window; }

    int frames = 0;

private:
    std::vector<Step> m_steps;
};

// Makes the game with the factory given and plays it from its constructor, as the game's loader does.
class TestLoader : public GameFramework::GameLoaderBase
{
public:
    using Factory = std::function<std::unique_ptr<GameFramework::GameBase>()>;

    explicit TestLoader(Factory factory, std::function<void(GameFramework::GameBase*)> beforeDestroy = {})
        : GameLoaderBase(nullptr, nullptr, "-windowed", 1), m_factory(std::move(factory)),
          m_beforeDestroy(std::move(beforeDestroy))
    {
        Run();
    }

    void CreateGame() override { m_game = m_factory(); }

    void DestroyGame() override
    {
        if (m_beforeDestroy && m_game)
            m_beforeDestroy(m_game.get());
        destroyCalls += 1;
        if (m_game)
            gamesDeleted += 1;
        GameLoaderBase::DestroyGame();
    }

    int destroyCalls = 0;
    int gamesDeleted = 0;

private:
    Factory m_factory;
    std::function<void(GameFramework::GameBase*)> m_beforeDestroy;
};

void PostCharacter(HWND window, char character)
{
    PostMessageA(window, WM_CHAR, static_cast<WPARAM>(character), 0);
}

class GameLoaderBaseTest : public ::testing::Test
{
protected:
    GameLoaderBaseTest()
    {
        TestSupport::WriteFile(TestSupport::BaseFolder() + "/Data/ui/fonts/en.ini", "0 0\n");
        TestSupport::WriteFile(TestSupport::BaseFolder() + "/Data/ui/texts/en/common.ini", "");
        PlatformTesting::RecordMessageBoxes(true);
    }
    ~GameLoaderBaseTest() override { PlatformTesting::RecordMessageBoxes(false); }

    const std::vector<PlatformTesting::MessageBoxRecord>& Boxes() const
    {
        return PlatformTesting::RecordedMessageBoxes();
    }

    FrameworkTesting::EnginePlatform platform;
    Journal journal;
};

TEST_F(GameLoaderBaseTest, ErrorsEndInOneBoxAndOneDeletionOfTheGame)
{
    // A fatal error of the game's constructor shows its own text; there is no game to delete.
    const TestLoader failedStart([&] { return std::make_unique<TestGame>(journal, true, "CreateLevelManager"); });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].owner, nullptr);
    EXPECT_EQ(Boxes()[0].text, "CreateLevelManager failed");
    EXPECT_EQ(Boxes()[0].caption, "Fatal Error");
    EXPECT_EQ(Boxes()[0].type, 0x10u);
    EXPECT_EQ(failedStart.destroyCalls, 1);
    EXPECT_EQ(failedStart.gamesDeleted, 0);
    EXPECT_TRUE(journal.Starting("delete").empty());
    EXPECT_EQ(failedStart.GetGame(), nullptr);

    // A file error escaping a frame is no fatal error: the box does not show its text.
    PlatformTesting::RecordMessageBoxes(true);
    journal.entries.clear();
    const TestLoader failedFrame([&] {
        return std::make_unique<ScriptedGame>(
            journal, std::vector<ScriptedGame::Step>{[](ScriptedGame&) {},
                                                     [](ScriptedGame&) { throw KeystrelEngine::FileError("lost"); }});
    });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Unhandled exception!");
    EXPECT_EQ(Boxes()[0].caption, "Fatal Error");
    EXPECT_EQ(Boxes()[0].type, 0x10u);
    EXPECT_EQ(failedFrame.destroyCalls, 1) << "the normal road's DestroyGame does not run";
    EXPECT_EQ(failedFrame.gamesDeleted, 1);
    const auto deleted = journal.Starting("delete LogosWindow");
    EXPECT_EQ(deleted.size(), 1u);
    EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0);

    // A plain error is no fatal error either.
    PlatformTesting::RecordMessageBoxes(true);
    const TestLoader plainError([&] {
        return std::make_unique<ScriptedGame>(
            journal, std::vector<ScriptedGame::Step>{[](ScriptedGame&) { throw KeystrelEngine::Error("x"); }});
    });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Unhandled exception!");
}

TEST_F(GameLoaderBaseTest, LoopDrainsMessagesBeforeEachFrameAndStopsAfterTheExitRequest)
{
    std::vector<std::u16string> keysSeenByFrames;
    bool messageLeft = false;
    std::u16string lastKeysRead;
    const auto keys = [](ScriptedGame& game) {
        std::u16string codes;
        for (const KeystrelEngine::Window::KeyEvent& event : game.GetWindow().GetKeyEvents())
            codes += static_cast<char16_t>(event.code);
        return codes;
    };
    const auto see = [&](ScriptedGame& game) { keysSeenByFrames.push_back(keys(game)); };
    const TestLoader loader(
        [&] {
            return std::make_unique<ScriptedGame>(journal, std::vector<ScriptedGame::Step>{
                                                               [&](ScriptedGame& game) {
                                                                   see(game);
                                                                   for (const char c : {'a', 'b', 'c'})
                                                                       PostCharacter(game.GetWindow().m_handle, c);
                                                               },
                                                               [&](ScriptedGame& game) {
                                                                   see(game);
                                                                   PostCharacter(game.GetWindow().m_handle, 'd');
                                                                   game.GetEngine()->RequestExit();
                                                               },
                                                           });
        },
        [&](GameFramework::GameBase* game) {
            auto& scripted = static_cast<ScriptedGame&>(*game);
            lastKeysRead = keys(scripted);
            MSG message;
            messageLeft = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) && message.wParam == 'd';
            EXPECT_EQ(scripted.frames, 2);
        });
    EXPECT_TRUE(PlatformTesting::RecordedMessageBoxes().empty());
    EXPECT_EQ(loader.gamesDeleted, 1);
    ASSERT_EQ(keysSeenByFrames.size(), 2u);
    EXPECT_EQ(keysSeenByFrames[1], u"abc") << "the whole burst before the second frame";
    EXPECT_EQ(lastKeysRead.find(u'd'), std::u16string::npos) << "nothing read after the exiting frame";
    EXPECT_TRUE(messageLeft);
}

using Entries = std::map<std::string, std::pair<TestSupport::Bytes, std::filesystem::file_time_type>>;

// Every entry below the test's folders, files with their bytes and time: a start that must touch nothing shows any
// change.
Entries Snapshot()
{
    Entries entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TestSupport::BaseFolder() + "/.."))
        entries[entry.path()] = entry.is_regular_file() && !entry.is_symlink()
                                    ? Entries::mapped_type{TestSupport::ReadFile(entry.path()), entry.last_write_time()}
                                    : Entries::mapped_type{};
    return entries;
}

TEST_F(GameLoaderBaseTest, OneGamePerUserFolderAndACrashedHolderLocksNobodyOut)
{
    auto first = std::make_unique<TestGame>(journal);
    const auto before = Snapshot();
    Journal second;
    const TestLoader refused([&] { return std::make_unique<TestGame>(second); });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Quellhaven is already running.");
    EXPECT_EQ(Boxes()[0].type, 0x40u);
    EXPECT_EQ(refused.GetExitCode(), 0);
    EXPECT_EQ(Snapshot(), before);

    const std::string lock = first->GetUserFolder() + "\\Quellhaven.lock";
    first.reset();
    const pid_t holder = ::fork(); // holds the lock until killed
    if (holder == 0) {
        const GameFramework::UserFolderLock held(lock, "Quellhaven");
        ::raise(SIGSTOP);
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(holder, nullptr, WUNTRACED), holder);
    EXPECT_THROW(GameFramework::UserFolderLock(lock, "Quellhaven"), GameFramework::GameAlreadyRunning);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(GameFramework::UserFolderLock(lock, "Quellhaven").GetFailure(), "");
}

// A user folder that cannot be made or written starts a game that tells the player in a box that saves are off and
// logs why, naming the folder or the file that failed; without any folder named the start says so and writes
// nothing.
TEST_F(GameLoaderBaseTest, AFirstStartPlaysWithoutAWritableFolderAndSaysSoWithoutAnyFolder)
{
    namespace fs = std::filesystem;
    const std::string data = std::getenv("XDG_DATA_HOME"), user = data + "/Tarrowby Games/Quellhaven";
    const auto saysWhy = [&](const std::string& expected) {
        PlatformTesting::RecordMessageBoxes(true);
        const TestGame game(journal);
        const auto& history = game.m_log->m_history;
        const bool playerTold = Boxes().size() == 1 && Boxes()[0].type == MB_ICONWARNING;
        return playerTold && std::any_of(history.begin(), history.end(), [&](const auto& record) {
                   return record.text.find(expected) != std::string::npos;
               });
    };
    fs::create_directories(data + "/Tarrowby Games");
    fs::create_symlink(data + "/gone", user);
    const std::string folder = "Saves are off: Failed to create \"" + data + "/Tarrowby Games/Quellhaven";
    EXPECT_TRUE(saysWhy(folder + "\" folder: No such file or directory"));
    fs::remove(user);
    PlatformTesting::SetFileFault(PlatformTesting::FileFault::Create, "/Quellhaven.lock", EROFS);
    EXPECT_TRUE(saysWhy(folder + "/Quellhaven.lock\" file: Read-only file system"));
    PlatformTesting::SetFileFault(PlatformTesting::FileFault::Create, "", 0);

    // Neither XDG_DATA_HOME nor HOME names a folder: no guess below the root or the current folder, nothing written.
    const std::string home = std::getenv("HOME");
    ::setenv("XDG_DATA_HOME", "data", 1);
    ::setenv("HOME", "home", 1);
    const auto before = Snapshot();
    PlatformTesting::RecordMessageBoxes(true);
    const TestLoader noFolder([&] { return std::make_unique<TestGame>(journal); });
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    ::setenv("HOME", home.c_str(), 1);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text,
              "No folder can hold the player's data: neither XDG_DATA_HOME nor HOME names a usable folder.");
    EXPECT_EQ(noFolder.GetExitCode(), 1);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(fs::exists("/Tarrowby Games") || fs::exists("home") || fs::exists("data"));
}

} // namespace
