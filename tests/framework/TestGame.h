// The smallest game the shell can run: a game object derived from the game base whose factories make small
// objects of every base class: windows that report scripted result codes, a cursor, a catalogue, a profile
// manager and data keepers. Everything it makes writes its opening, closing and deletion into a journal that
// outlives the game, and the start-up slots write their turn, so tests read the order in which the shell works.
#pragma once

#include "framework/DataKeeper.h"
#include "framework/GUIContinueGameLogicWindowBase.h"
#include "framework/GUIDeleteProfileWindowBase.h"
#include "framework/GUIExitWindowBase.h"
#include "framework/GUIGameCompleteWindowBase.h"
#include "framework/GUIGameCursorBase.h"
#include "framework/GUIGameLogicGameExitWindowBase.h"
#include "framework/GUIGameLogicMenuExitWindowBase.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicPauseWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/GUIGameOverWindowBase.h"
#include "framework/GUIHelpWindowBase.h"
#include "framework/GUIHighScoresWindowBase.h"
#include "framework/GUILevelCompleteWindowBase.h"
#include "framework/GUILoadingWindowBase.h"
#include "framework/GUILogosWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUINewProfileWindowBase.h"
#include "framework/GUIOptionsWindowBase.h"
#include "framework/GUIProfileNameConflictWindowBase.h"
#include "framework/GUIProfilesWindowBase.h"
#include "framework/GUIRenameProfileWindowBase.h"
#include "framework/GUIStageCompleteWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/GUIWelcomeWindowBase.h"
#include "framework/GameBase.h"
#include "framework/GameLogicBase.h"
#include "framework/LevelManagerBase.h"
#include "framework/ProfileManagerBase.h"
#include "tests/framework/WindowBaseFixture.h"

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace FrameworkTesting {

// What happened, in order.
struct Journal
{
    void Add(const std::string& entry) { entries.push_back(entry); }
    // The entries that start with the prefix, in order.
    std::vector<std::string> Starting(const std::string& prefix) const;

    std::vector<std::string> entries;
};

// Writes "delete " + its name when it goes.
class JournalEntry
{
public:
    JournalEntry(Journal* journal, std::string name) : m_journal(journal), m_name(std::move(name)) {}
    ~JournalEntry() { m_journal->Add("delete " + m_name); }

    JournalEntry(const JournalEntry&) = delete;
    JournalEntry& operator=(const JournalEntry&) = delete;

    void Add(const std::string& what) const { m_journal->Add(what + " " + m_name); }

private:
    Journal* m_journal;
    std::string m_name;
};

// A window of the base class that writes its opening and closing and reports scripted codes: every update runs
// the base's update and then stores the next code of the script, while one is left.
template <class Base, class... OpenArgs> class ScriptedWindow : public Base
{
public:
    template <class... Args>
    ScriptedWindow(Journal* journal, const std::string& name, Args&&... args)
        : Base(std::forward<Args>(args)...), m_entry(journal, name)
    {
    }

    void Update() override
    {
        Base::Update();
        if (script.empty())
            return;
        this->m_result = script.front();
        script.pop_front();
    }

    void Open(OpenArgs... args) override
    {
        Base::Open(args...);
        m_entry.Add("open");
    }

    void Close() override
    {
        Base::Close();
        m_entry.Add("close");
    }

    std::deque<std::uint32_t> script;

private:
    JournalEntry m_entry;
};

using LogosWindow = ScriptedWindow<GameFramework::GUILogosWindowBase>;
using LoadingWindow = ScriptedWindow<GameFramework::GUILoadingWindowBase, GameFramework::DataKeeper*>;
using WelcomeWindow = ScriptedWindow<GameFramework::GUIWelcomeWindowBase>;
using ExitWindow = ScriptedWindow<GameFramework::GUIExitWindowBase, int>;
using MainMenuWindow = ScriptedWindow<GameFramework::GUIMainMenuWindowBase>;
using ProfilesWindow = ScriptedWindow<GameFramework::GUIProfilesWindowBase>;
using NewProfileWindow = ScriptedWindow<GameFramework::GUINewProfileWindowBase, int>;
using RenameProfileWindow = ScriptedWindow<GameFramework::GUIRenameProfileWindowBase, bool, const std::u16string&>;
using DeleteProfileWindow = ScriptedWindow<GameFramework::GUIDeleteProfileWindowBase, const std::u16string&>;
using ProfileNameConflictWindow = ScriptedWindow<GameFramework::GUIProfileNameConflictWindowBase, int>;
using StartGameLogicWindow = ScriptedWindow<GameFramework::GUIStartGameLogicWindowBase, int>;
using ContinueGameLogicWindow = ScriptedWindow<GameFramework::GUIContinueGameLogicWindowBase>;
using HighScoresWindow =
    ScriptedWindow<GameFramework::GUIHighScoresWindowBase, std::int32_t, const GameFramework::HighScoreEntry*>;
using OptionsWindow = ScriptedWindow<GameFramework::GUIOptionsWindowBase>;
using HelpWindow = ScriptedWindow<GameFramework::GUIHelpWindowBase>;
using GameLogicWindow = ScriptedWindow<GameFramework::GUIGameLogicWindowBase, GameFramework::GameLogicBase*>;
using GameLogicPauseWindow = ScriptedWindow<GameFramework::GUIGameLogicPauseWindowBase>;
using GameLogicMenuWindow = ScriptedWindow<GameFramework::GUIGameLogicMenuWindowBase>;
using GameLogicMenuExitWindow = ScriptedWindow<GameFramework::GUIGameLogicMenuExitWindowBase>;
using GameLogicGameExitWindow = ScriptedWindow<GameFramework::GUIGameLogicGameExitWindowBase>;
using LevelCompleteWindow = ScriptedWindow<GameFramework::GUILevelCompleteWindowBase>;
using StageCompleteWindow = ScriptedWindow<GameFramework::GUIStageCompleteWindowBase>;
using GameCompleteWindow = ScriptedWindow<GameFramework::GUIGameCompleteWindowBase>;
using GameOverWindow = ScriptedWindow<GameFramework::GUIGameOverWindowBase>;

// A keeper whose load does nothing.
class TestKeeper : public GameFramework::DataKeeper
{
public:
    TestKeeper(Journal* journal, const std::string& name, KeystrelEngine::Engine* engine)
        : DataKeeper(engine), m_entry(journal, name)
    {
    }

protected:
    void DoLoad() override {}

private:
    JournalEntry m_entry;
};

class TestCursor : public GameFramework::GUIGameCursorBase
{
public:
    TestCursor(Journal* journal, const std::string& name, KeystrelEngine::Engine* engine)
        : GUIGameCursorBase(engine), m_entry(journal, name)
    {
    }

private:
    JournalEntry m_entry;
};

// Stages of three levels each, as many as the game asks for; nothing is read from files.
class TestCatalogue : public GameFramework::LevelManagerBase
{
public:
    TestCatalogue(Journal* journal, const std::string& name, KeystrelEngine::MessageManager* log,
                  KeystrelEngine::FileManager* files)
        : LevelManagerBase(log, files), m_entry(journal, name)
    {
    }

    std::unique_ptr<GameFramework::StageRecord> CreateStage() override;
    std::unique_ptr<GameFramework::LevelRecord> CreateLevel() override;

private:
    JournalEntry m_entry;
};

// The shell's own profiles.
class TestProfileManager : public PlainProfileManager
{
public:
    TestProfileManager(Journal* journal, const std::string& name, KeystrelEngine::MessageManager* log,
                       KeystrelEngine::FileManager* files, GameFramework::AudioPlayer* player,
                       const std::string& baseFolder)
        : PlainProfileManager(log, files, player, baseFolder), m_entry(journal, name)
    {
    }

private:
    JournalEntry m_entry;
};

class TestGameLogic : public GameFramework::GameLogicBase
{
public:
    TestGameLogic(Journal* journal, const std::string& name, KeystrelEngine::Engine* engine,
                  GameFramework::AudioPlayer* player, std::uint32_t carriedValue, GameFramework::StageRecord* stage,
                  GameFramework::LevelRecord* level)
        : GameLogicBase(engine, player, carriedValue, stage, level), m_entry(journal, name)
    {
    }

private:
    JournalEntry m_entry;
};

class TestGame : public GameFramework::GameBase
{
public:
    // The base constructor and then, unless told otherwise, the start-up, as the game's constructor runs them.
    // A factory whose slot name (such as "CreateHelpWindow") is given as failing throws a FatalError instead.
    explicit TestGame(Journal& journal, bool initialize = true, std::string failingFactory = "");

    void FillEngineSettings(KeystrelEngine::EngineSettings& settings) override;
    void RegisterConsoleCommands() override;
    void LoadFonts() override;
    void LoadTexts() override;
    void LoadSounds() override;
    float GetDefaultMusicVolume() override;
    float GetDefaultSoundVolume() override;

    std::unique_ptr<GameFramework::LevelManagerBase> CreateLevelManager() override;
    std::unique_ptr<GameFramework::ProfileManagerBase> CreateProfileManager() override;
    std::unique_ptr<GameFramework::DataKeeper> CreateGameData() override;
    std::unique_ptr<GameFramework::GUIGameCursorBase> CreateGameCursor() override;
    std::unique_ptr<GameFramework::GUILogosWindowBase> CreateLogosWindow() override;
    std::unique_ptr<GameFramework::GUILoadingWindowBase> CreateGameLoadingWindow() override;
    std::unique_ptr<GameFramework::GUILoadingWindowBase> CreateGameLogicLoadingWindow() override;
    std::unique_ptr<GameFramework::GUIWelcomeWindowBase> CreateWelcomeWindow() override;
    std::unique_ptr<GameFramework::GUIExitWindowBase> CreateExitWindow() override;
    std::unique_ptr<GameFramework::GUIMainMenuWindowBase> CreateMainMenuWindow() override;
    std::unique_ptr<GameFramework::GUIProfilesWindowBase> CreateProfilesWindow() override;
    std::unique_ptr<GameFramework::GUINewProfileWindowBase> CreateNewProfileWindow() override;
    std::unique_ptr<GameFramework::GUIRenameProfileWindowBase> CreateRenameProfileWindow() override;
    std::unique_ptr<GameFramework::GUIDeleteProfileWindowBase> CreateDeleteProfileWindow() override;
    std::unique_ptr<GameFramework::GUIProfileNameConflictWindowBase> CreateProfileNameConflictWindow() override;
    std::unique_ptr<GameFramework::GUIStartGameLogicWindowBase> CreateStartGameLogicWindow() override;
    std::unique_ptr<GameFramework::GUIContinueGameLogicWindowBase> CreateContinueGameLogicWindow() override;
    std::unique_ptr<GameFramework::GUIHighScoresWindowBase> CreateHighScoresWindow() override;
    std::unique_ptr<GameFramework::GUIOptionsWindowBase> CreateOptionsWindow() override;
    std::unique_ptr<GameFramework::GUIHelpWindowBase> CreateHelpWindow() override;
    std::unique_ptr<GameFramework::GUIGameLogicWindowBase> CreateGameLogicWindow() override;
    std::unique_ptr<GameFramework::GUIGameLogicPauseWindowBase> CreateGameLogicPauseWindow() override;
    std::unique_ptr<GameFramework::GUIGameLogicMenuWindowBase> CreateGameLogicMenuWindow() override;
    std::unique_ptr<GameFramework::GUIGameLogicMenuExitWindowBase> CreateGameLogicMenuExitWindow() override;
    std::unique_ptr<GameFramework::GUIGameLogicGameExitWindowBase> CreateGameLogicGameExitWindow() override;
    std::unique_ptr<GameFramework::GUILevelCompleteWindowBase> CreateLevelCompleteWindow() override;
    std::unique_ptr<GameFramework::GUIStageCompleteWindowBase> CreateStageCompleteWindow() override;
    std::unique_ptr<GameFramework::GUIGameCompleteWindowBase> CreateGameCompleteWindow() override;
    std::unique_ptr<GameFramework::GUIGameOverWindowBase> CreateGameOverWindow() override;
    std::unique_ptr<GameFramework::DataKeeper> CreateGameLogicData(GameFramework::StageRecord* stage,
                                                                   GameFramework::LevelRecord* level) override;
    std::unique_ptr<GameFramework::GameLogicBase> CreateGameLogic(GameFramework::StageRecord* stage,
                                                                  GameFramework::LevelRecord* level,
                                                                  std::uint32_t carriedValue) override;

    // The window of a slot as the test game made it.
    template <class Window, class Base> static Window& As(const std::unique_ptr<Base>& window)
    {
        return static_cast<Window&>(*window);
    }

    // Every window pointer of the game, in slot order (14 to 38).
    std::vector<const void*> Windows() const;

    using GameBase::m_audioPlayer;
    using GameBase::m_config;
    using GameBase::m_console;
    using GameBase::m_consoleFontId;
    using GameBase::m_cursor;
    using GameBase::m_engine;
    using GameBase::m_fileManager;
    using GameBase::m_fontCount;
    using GameBase::m_fontManager;
    using GameBase::m_gameData;
    using GameBase::m_gameLoadingWindow;
    using GameBase::m_gameLogic;
    using GameBase::m_gameLogicData;
    using GameBase::m_guiManager;
    using GameBase::m_highScoresTable;
    using GameBase::m_languageManager;
    using GameBase::m_levelManager;
    using GameBase::m_log;
    using GameBase::m_logosWindow;
    using GameBase::m_mainMenuWindow;
    using GameBase::m_previousGameLogicData;
    using GameBase::m_profileManager;
    using GameBase::m_showStatistics;
    using GameBase::m_soundManager;
    using GameBase::m_textManager;
    using GameBase::m_textureManager;

private:
    // Writes the slot's turn, or throws when the slot is the failing one.
    void Turn(const std::string& slot);
    template <class Window, class... Args> std::unique_ptr<Window> Make(const std::string& slot, Args&&... args);

    Journal* m_journal;
    std::string m_failingFactory;
};

} // namespace FrameworkTesting
