// Configuration lines: the input is the configuration file, loaded as at start-up (every line executed, lines of
// names not registered yet kept), then variables of every type registered as a game would register them (taking
// their pending lines), a frame's update, and the video mode read back as the window reads it. Every float is then
// within its range and every string free of control characters, and what a save writes loads without a word.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

using KeystrelEngine::Config;

namespace {

constexpr char kConfigFile[] = "Quellhaven.ini";

struct GameVariables
{
    std::int32_t count = 0;
    float speed = 0.0f;
    float volume = 0.0f;
    bool sound = false;
    std::string player;
};

void Register(Config& config, GameVariables& game)
{
    config.RegisterVariable("g_count", "3", Config::TypeInt, true, &game.count, true);
    config.RegisterVariable("g_speed", "1.5", Config::TypeFloat, true, &game.speed, true);
    config.RegisterVariable("g_volume", "0.5", Config::TypeFloat, true, &game.volume, false,
                            KeystrelEngine::FileValues::kUnit);
    config.RegisterVariable("g_sound", "1", Config::TypeBool, true, &game.sound, true);
    config.RegisterVariable("g_player", "Ada", Config::TypeString, true, &game.player, true);
    config.RegisterVariable("g_start", "", Config::TypeCommand, false, nullptr, false);
}

// Every float within its range and every string on one line; then what a save writes loads again without a word.
bool Sound(Config& config, const GameVariables& game, KeystrelEngine::MessageManager& log,
           KeystrelEngine::FileManager& files)
{
    const auto clean = [](const std::string& text) {
        return std::none_of(text.begin(), text.end(), [](char c) { return c >= 0 && c < ' ' && c != '\t'; });
    };
    if (!Fuzzing::AllWithin(std::array{config.v_brightness, config.v_contrast, config.v_gamma}, Config::kColourRange) ||
        !KeystrelEngine::FileValues::kFinite.Holds(game.speed) ||
        !KeystrelEngine::FileValues::kUnit.Holds(game.volume) || !clean(config.v_mode) || !clean(game.player))
        return false;
    config.Save();
    log.m_history.clear();
    Config again("Quellhaven", "", &log, &files, "1024x768x32", false, false, false);
    again.Load();
    GameVariables reloaded;
    Register(again, reloaded);
    return Fuzzing::LoggedNoProblem(log);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    static KeystrelEngine::MessageManager log("", "Quellhaven", "", false, false);
    static KeystrelEngine::FileManager files(&log, folder.GetBase(), "Data");
    folder.Write(kConfigFile, data, size);
    // A configuration of its own for each input, so that no value carries over to the next.
    Config config("Quellhaven", "", &log, &files, "1024x768x32", false, false, false);
    config.Load();
    GameVariables game;
    Register(config, game);
    config.Update();
    config.EndFrame();
    std::uint32_t width = 0, height = 0, bits = 0;
    Config::ParseVideoMode(config.v_mode, &width, &height, &bits);
    if (!Sound(config, game, log, files))
        std::abort();
    log.m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    const auto bytes = [](const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); };
    seeds.Add("engine.ini", bytes("v_mode 1280x1024x32\r\nv_fullscreen 1\r\nv_brightness 1.25\r\n"
                                  "r_texture_anisotropy 4\r\nsc_take_screenshot_format 2\r\n"));
    seeds.Add("game.ini", bytes("g_count -12\r\ng_speed 0.5\r\ng_sound 0\r\ng_player Bea Lee\r\n\\\\g_start\r\n"));
    seeds.Add("odd.ini", bytes("  v_mode   800X600X16  // a comment\nunknown value\n\\reset_config\nv_gamma\n\n"));
    seeds.Add("utf8.ini", bytes("\xEF\xBB\xBFg_player J\xC3\xBCrgen\r\nv_contrast 2e0\r\n"));
}
