// The sources of the game's text tables, as the content tool copies them into the data set: one folder per
// language, one file per section, each entry a "[KEY]" line with its text on the next non-empty line (the layout
// the engine's text manager reads). The game shows whatever these files hold, and a missing key shows "UNKNOWN",
// so these checks hold every language to the keys the windows, the head-up display and Wendle ask for, to what
// the reader keeps of a line, to the code page of the language's fonts and to the room each text has on screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::filesystem::path kTextFolder = QUELLHAVEN_TEXT_SOURCE_DIR;
const std::vector<std::string> kLanguages = {"en", "ru", "ge", "fr", "it", "sp"};
constexpr int kStageCount = 3; // the level catalogue's stages: Wendle announces the end of each one

struct Family
{
    std::string prefix; // lines prefix + 0 to prefix + (count - 1)
    int count;
};

struct SizedFamily
{
    std::string prefix; // prefix + "SIZE" holds the line count n, then lines prefix + 0 to prefix + (n - 1)
    int least;
    int most;
};

struct SectionKeys
{
    std::string name;
    std::vector<std::string> keys;
    std::vector<Family> families = {};
    std::vector<SizedFamily> sized = {};
};

std::vector<SizedFamily> CharacterPhrases()
{
    std::vector<std::string> phrases = {"CHARACTER_LEVEL_BEGIN", "CHARACTER_LEVEL_END"};
    const auto numbered = [&phrases](const std::string& stem, int count) {
        for (int i = 0; i < count; ++i)
            phrases.push_back(stem + std::to_string(i));
    };
    numbered("CHARACTER_UPGRADE_", kStageCount);
    numbered("CHARACTER_PRAISE_", 4);
    numbered("CHARACTER_TUTORIAL_MAKE_SWAP_", 8);
    numbered("CHARACTER_TUTORIAL_CAMERA_", 3);
    for (const char* topic : {"DOUBLE_MANNA", "CLOSED_CELL", "WEB_ITEM", "BONUS0", "BONUS1", "BONUS2"})
        phrases.push_back(std::string("CHARACTER_TUTORIAL_") + topic + "_0");
    std::vector<SizedFamily> families;
    for (const std::string& phrase : phrases)
        families.push_back({phrase + "_", 1, 4});
    return families;
}

const std::vector<SectionKeys>& ExpectedSections()
{
    static const std::vector<SectionKeys> sections = {
        {"common", {"OK", "YES", "NO", "BACK", "CANCEL", "CONTINUE", "EXIT", "ENTER", "SAVES_OFF"}},
        {"character", {}, {}, CharacterPhrases()},
        {"continue_game_logic",
         {"CONTINUE_GAME_LOGIC_TITLE", "CONTINUE_GAME_LOGIC_CONTINUE_GAME", "CONTINUE_GAME_LOGIC_NEW_GAME",
          "CONTINUE_GAME_LOGIC_LEVEL", "CONTINUE_GAME_LOGIC_SCORE"},
         {{"CONTINUE_GAME_LOGIC_TEXT_", 3}}},
        {"delete_profile", {"DELETE_PROFILE_TITLE"}, {{"DELETE_PROFILE_TEXT_", 3}}},
        {"exit", {"EXIT_TITLE"}, {{"EXIT_TEXT_", 2}}},
        {"game_complete", {"GAME_COMPLETE_TITLE"}, {}, {{"GAME_COMPLETE_TEXT_", 13, 24}}},
        {"game_logic",
         {"GAME_LOGIC_MENU", "GAME_LOGIC_2D", "GAME_LOGIC_3D", "GAME_LOGIC_LEVEL", "GAME_LOGIC_SCORE",
          "GAME_LOGIC_MANNA", "GAME_LOGIC_ENERGY", "HIT_MOUSE_BUTTON_TO_CONTINUE"}},
        {"game_logic_exit", {"GAME_LOGIC_EXIT_TITLE", "GAME_LOGIC_EXIT_OK"}, {{"GAME_LOGIC_EXIT_TEXT_", 3}}},
        {"game_logic_menu", {"GAME_LOGIC_MENU_TITLE", "GAME_LOGIC_MENU_EXIT", "GAME_LOGIC_MENU_RETURN"}},
        {"game_logic_pause", {"GAME_LOGIC_PAUSED_TITLE", "GAME_LOGIC_PAUSED_TEXT", "GAME_LOGIC_PAUSED_RESUME"}},
        {"game_over", {"GAME_OVER_TITLE"}, {{"GAME_OVER_TEXT_", 2}}},
        {"help", {"HELP_TITLE"}, {{"HELP_TEXT_", 12}}},
        {"high_scores", {"HIGH_SCORES_TITLE", "HIGH_SCORES_NO_RECORDS"}},
        {"introduction", {"INTRODUCTION_TITLE"}, {}, {{"INTRODUCTION_TEXT_", 13, 24}}},
        {"level_complete", {"LEVEL_COMPLETE_TITLE", "LEVEL_COMPLETE_ENERGY_BONUS", "LEVEL_COMPLETE_UPGRADE"}},
        {"loading", {"LOADING"}},
        {"main_menu",
         {"MAIN_MENU_WELCOME", "MAIN_MENU_START", "MAIN_MENU_HIGH_SCORES", "MAIN_MENU_OPTIONS",
          "MAIN_MENU_CHANGE_PROFILE", "MAIN_MENU_SHOW_PLACE", "MAIN_MENU_CREDITS", "MAIN_MENU_EXIT"}},
        {"new_profile", {"NEW_PROFILE_TITLE"}},
        {"options",
         {"OPTIONS_TITLE", "OPTIONS_MUSIC_VOLUME", "OPTIONS_SOUND_VOLUME", "OPTIONS_RESOLUTION", "OPTIONS_FULLSCREEN",
          "OPTIONS_RELAX_MODE", "OPTIONS_APPLY", "OPTIONS_DEFAULTS"}},
        {"profile_name_conflict", {"PROFILE_NAME_CONFLICT_TITLE"}, {{"PROFILE_NAME_CONFLICT_TEXT_", 2}}},
        {"profiles", {"PROFILES_TITLE", "PROFILES_NEW", "PROFILES_RENAME", "PROFILES_DELETE", "PROFILES_DONE"}},
        {"relax", {"RELAX_TITLE"}, {}, {{"RELAX_TEXT_", 1, 13}}},
        {"rename_profile", {"RENAME_PROFILE_TITLE"}},
        {"stage_complete", {}},
        {"start_game", {"START_GAME_TITLE", "START_GAME_START", "START_GAME_CONTINUE"}},
        {"statistics", {"FPS", "MODELS_COUNT", "TRIANGLES_COUNT"}},
        {"welcome", {"WELCOME_TITLE", "ENTER_YOUR_NAME"}},
    };
    return sections;
}

struct Entry
{
    std::string text; // UTF-8, as the line stands in the file
    int line;
};

struct TextTable
{
    std::string file;
    std::map<std::string, Entry> entries;
    std::vector<std::string> faults;
};

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsHeader(const std::string& trimmed)
{
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

bool IsKey(const std::string& key)
{
    return !key.empty() && key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") == std::string::npos;
}

// Reads a table the way the engine does and notes whatever the engine would read differently from what the
// file seems to say: a BOM (the tool writes its own), lines the reader skips, a header without a text, a key
// in lower case or given twice.
TextTable ReadTable(const std::filesystem::path& path)
{
    TextTable table{path.lexically_relative(kTextFolder).string(), {}, {}};
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        table.faults.push_back(table.file + " is missing");
        return table;
    }
    std::stringstream content;
    content << file.rdbuf();
    std::vector<std::string> lines;
    for (std::string line; std::getline(content, line);)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    const auto fault = [&table](int line, const std::string& what) {
        table.faults.push_back(table.file + ":" + std::to_string(line + 1) + ": " + what);
    };
    if (!lines.empty() && lines.front().starts_with("\xEF\xBB\xBF")) {
        fault(0, "starts with a byte-order mark");
        lines.front().erase(0, 3);
    }
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::string trimmed = Trim(lines[i]);
        if (trimmed.empty())
            continue;
        if (!IsHeader(trimmed)) {
            fault(i, "line outside an entry: " + lines[i]);
            continue;
        }
        const std::string key = trimmed.substr(1, trimmed.size() - 2);
        int textLine = i + 1;
        while (textLine < static_cast<int>(lines.size()) && lines[textLine].empty())
            ++textLine;
        if (textLine == static_cast<int>(lines.size())) {
            fault(i, "[" + key + "] has no text");
            break;
        }
        if (!IsKey(key))
            fault(i, "key not in upper case letters, digits and underscores: " + key);
        if (!table.entries.emplace(key, Entry{lines[textLine], textLine + 1}).second)
            fault(i, "key given twice: " + key);
        i = textLine;
    }
    return table;
}

using Language = std::map<std::string, TextTable>; // by section

const std::map<std::string, Language>& Tables()
{
    static const std::map<std::string, Language> tables = [] {
        std::map<std::string, Language> all;
        for (const std::string& language : kLanguages)
            for (const SectionKeys& section : ExpectedSections())
                all[language][section.name] = ReadTable(kTextFolder / language / (section.name + ".ini"));
        return all;
    }();
    return tables;
}

template <typename Visit> void ForEachText(Visit visit)
{
    for (const auto& [language, sections] : Tables())
        for (const auto& [section, table] : sections)
            for (const auto& [key, entry] : table.entries)
                visit(language, table, key, entry);
}

std::string Where(const TextTable& table, const Entry& entry)
{
    return table.file + ":" + std::to_string(entry.line) + ": ";
}

std::set<std::string> KeysOf(const TextTable& table)
{
    std::set<std::string> keys;
    for (const auto& [key, entry] : table.entries)
        keys.insert(key);
    return keys;
}

// Decodes UTF-8 into code points; false for a malformed or overlong sequence.
bool DecodeUtf8(const std::string& text, std::u32string& decoded)
{
    decoded.clear();
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        char32_t point = length == 1 ? lead : lead & (length == 2 ? 0x1F : 0x0F);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            point = (point << 6) | (next & 0x3F);
        }
        if ((length == 2 && point < 0x80) || (length == 3 && point < 0x800))
            return false;
        decoded.push_back(point);
        i += length;
    }
    return true;
}

// The characters of the two code pages the fonts are made for: 1251 for Russian, 1252 for the other languages.
// The tables give bytes 0x80 up of each (0 where the code page has no character); above them 1252 runs on as
// U+00A0 to U+00FF and 1251 as the Cyrillic letters U+0410 to U+044F.
bool InCodePage(char32_t point, bool cyrillic)
{
    static constexpr std::array<char32_t, 32> kWestern80 = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    static constexpr std::array<char32_t, 64> kCyrillic80 = {
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
        0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122,
        0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
        0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
        0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};
    if (point >= 0x20 && point < 0x7F)
        return true;
    if (point == 0)
        return false;
    if (cyrillic)
        return (point >= 0x0410 && point <= 0x044F) ||
               std::find(kCyrillic80.begin(), kCyrillic80.end(), point) != kCyrillic80.end();
    return (point >= 0xA0 && point <= 0xFF) ||
           std::find(kWestern80.begin(), kWestern80.end(), point) != kWestern80.end();
}

std::set<std::string> Words(const std::string& text)
{
    std::istringstream stream(text);
    return {std::istream_iterator<std::string>(stream), std::istream_iterator<std::string>()};
}

// The most characters a text may have to stay inside its place at its font's size: titles in the title area,
// captions on their buttons, labels on the head-up display's panels, Wendle's lines in his bubble, every other
// line in its window's text area. A message box wraps its text: a few lines' worth.
std::size_t LengthLimit(const std::string& key)
{
    if (key == "SAVES_OFF")
        return 160;
    static const std::set<std::string> captions =
        Words("OK YES NO BACK CANCEL CONTINUE EXIT ENTER MAIN_MENU_START MAIN_MENU_HIGH_SCORES MAIN_MENU_OPTIONS "
              "MAIN_MENU_CHANGE_PROFILE MAIN_MENU_SHOW_PLACE MAIN_MENU_CREDITS MAIN_MENU_EXIT PROFILES_NEW "
              "PROFILES_RENAME PROFILES_DELETE PROFILES_DONE OPTIONS_APPLY OPTIONS_DEFAULTS START_GAME_START "
              "START_GAME_CONTINUE CONTINUE_GAME_LOGIC_CONTINUE_GAME CONTINUE_GAME_LOGIC_NEW_GAME GAME_LOGIC_MENU "
              "GAME_LOGIC_2D GAME_LOGIC_3D GAME_LOGIC_PAUSED_RESUME GAME_LOGIC_MENU_EXIT GAME_LOGIC_MENU_RETURN "
              "GAME_LOGIC_EXIT_OK LEVEL_COMPLETE_UPGRADE");
    static const std::set<std::string> labels =
        Words("GAME_LOGIC_LEVEL GAME_LOGIC_SCORE GAME_LOGIC_MANNA GAME_LOGIC_ENERGY CONTINUE_GAME_LOGIC_LEVEL "
              "CONTINUE_GAME_LOGIC_SCORE FPS MODELS_COUNT TRIANGLES_COUNT");
    if (key.ends_with("_TITLE") || key == "LOADING" || key == "MAIN_MENU_WELCOME")
        return 22;
    if (captions.contains(key))
        return 14;
    if (labels.contains(key))
        return 10;
    return key.starts_with("CHARACTER_") ? 34 : 48;
}

TEST(ContentTextSource, EveryTableKeepsTheLayoutTheReaderExpects)
{
    for (const std::string& language : kLanguages) {
        std::set<std::string> files;
        for (const auto& item : std::filesystem::directory_iterator(kTextFolder / language))
            files.insert(item.path().filename().string());
        std::set<std::string> expected;
        for (const SectionKeys& section : ExpectedSections())
            expected.insert(section.name + ".ini");
        EXPECT_EQ(files, expected) << language;
    }
    for (const auto& [language, sections] : Tables())
        for (const auto& [section, table] : sections)
            for (const std::string& fault : table.faults)
                ADD_FAILURE() << fault;
}

TEST(ContentTextSource, EnglishHoldsExactlyTheKeysTheGameAsksFor)
{
    const Language& english = Tables().at("en");
    for (const SectionKeys& section : ExpectedSections()) {
        const TextTable& table = english.at(section.name);
        std::set<std::string> expected(section.keys.begin(), section.keys.end());
        for (const Family& family : section.families)
            for (int i = 0; i < family.count; ++i)
                expected.insert(family.prefix + std::to_string(i));
        for (const SizedFamily& family : section.sized) {
            expected.insert(family.prefix + "SIZE");
            const auto size = table.entries.find(family.prefix + "SIZE");
            const int count = size == table.entries.end() ? 0 : std::atoi(size->second.text.c_str());
            for (int i = 0; i < count; ++i)
                expected.insert(family.prefix + std::to_string(i));
        }
        EXPECT_EQ(KeysOf(table), expected) << section.name;
    }
}

TEST(ContentTextSource, EveryLanguageHasTheEnglishKeySet)
{
    for (const std::string& language : kLanguages)
        for (const SectionKeys& section : ExpectedSections())
            EXPECT_EQ(KeysOf(Tables().at(language).at(section.name)), KeysOf(Tables().at("en").at(section.name)))
                << language << " " << section.name;
}

TEST(ContentTextSource, SizedFamiliesCountTheirLinesWithinTheirRange)
{
    for (const std::string& language : kLanguages)
        for (const SectionKeys& section : ExpectedSections())
            for (const SizedFamily& family : section.sized) {
                const TextTable& table = Tables().at(language).at(section.name);
                const auto size = table.entries.find(family.prefix + "SIZE");
                ASSERT_NE(size, table.entries.end()) << table.file << " " << family.prefix;
                const std::string& text = size->second.text;
                const int count = std::atoi(text.c_str());
                EXPECT_EQ(text, std::to_string(count)) << Where(table, size->second) << "not a plain number";
                EXPECT_GE(count, family.least) << Where(table, size->second);
                EXPECT_LE(count, family.most) << Where(table, size->second);
                for (int i = 0; i < count; ++i)
                    EXPECT_TRUE(table.entries.contains(family.prefix + std::to_string(i)))
                        << table.file << " lacks " << family.prefix << i;
                EXPECT_FALSE(table.entries.contains(family.prefix + std::to_string(count)))
                    << table.file << " holds " << family.prefix << count << " beyond its size";
            }
}

TEST(ContentTextSource, TextsReadBackAsWritten)
{
    ForEachText([](const std::string&, const TextTable& table, const std::string&, const Entry& entry) {
        // The reader keeps the line as it stands, would cut it at a comment, and a text shaped like a header
        // would be taken for one by anyone editing the file.
        EXPECT_EQ(Trim(entry.text), entry.text) << Where(table, entry) << "blanks around the text";
        EXPECT_FALSE(IsHeader(Trim(entry.text))) << Where(table, entry) << "text shaped like a header";
        EXPECT_EQ(entry.text.find("//"), std::string::npos) << Where(table, entry) << "text holds a comment mark";
    });
}

TEST(ContentTextSource, TextsUseOnlyTheirLanguagesCodePage)
{
    ForEachText([](const std::string& language, const TextTable& table, const std::string&, const Entry& entry) {
        std::u32string decoded;
        ASSERT_TRUE(DecodeUtf8(entry.text, decoded)) << Where(table, entry) << "not UTF-8";
        for (const char32_t point : decoded)
            EXPECT_TRUE(InCodePage(point, language == "ru"))
                << Where(table, entry) << "U+" << std::hex << static_cast<std::uint32_t>(point);
    });
}

TEST(ContentTextSource, TextsFitTheirPlaces)
{
    ForEachText([](const std::string&, const TextTable& table, const std::string& key, const Entry& entry) {
        if (key.ends_with("_SIZE"))
            return;
        std::u32string decoded;
        DecodeUtf8(entry.text, decoded);
        EXPECT_LE(decoded.size(), LengthLimit(key)) << Where(table, entry) << entry.text;
    });
}

TEST(ContentTextSource, TheDeleteQuestionNamesTheProfileOnce)
{
    const std::string placeholder = "%PROFILE_NAME%";
    for (const std::string& language : kLanguages) {
        int count = 0;
        for (const auto& [section, table] : Tables().at(language))
            for (const auto& [key, entry] : table.entries)
                for (std::size_t at = entry.text.find(placeholder); at != std::string::npos;
                     at = entry.text.find(placeholder, at + 1)) {
                    EXPECT_TRUE(key.starts_with("DELETE_PROFILE_TEXT_")) << Where(table, entry) << entry.text;
                    ++count;
                }
        EXPECT_EQ(count, 1) << language;
    }
}

} // namespace
