// The game's text tables as the content tool wrote them, read back through the engine's text manager, and
// measured with the engine's pen advance in the fonts the windows show them in against the room the layout table
// gives them.
#include "game/play/Character.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/tools/content/ContentData.h"
#include "tools/content/Languages.h"
#include "tools/content/Layout.h"
#include "tools/content/TextTableGenerator.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

using Content::Layout;
using Content::LayoutRect;
using Content::TextTableGenerator;

namespace {

constexpr std::uint32_t kTitleFont = 1;
constexpr std::uint32_t kBodyFont = 2;
constexpr std::uint32_t kHeadingFont = 3;
// The name the delete question is measured with: a long one, and the window sets it in quotes.
const std::string kProfileName = "\"Maximiliane\"";
// The edit box must leave a name at least this much room beside the main-menu greeting.
constexpr float kNameRoom = 150.0f;
// The bubbles' corner radius: lines keep this far from their right end, a quarter of it from top and bottom.
constexpr float kBubbleCorner = 20.0f;

// A table's entries in file order, read from the data file: the key of each "[KEY]" line and the next
// non-empty line.
struct Table
{
    std::vector<std::pair<std::string, std::string>> entries;
    std::map<std::string, std::string> texts;
};

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool IsHeader(const std::string& line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

Table ReadTable(std::string_view language, const std::string& section)
{
    std::ifstream file(ContentTesting::TestDataPath(TextTableGenerator::Table(language, section)), std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    std::string all = content.str();
    Table table;
    std::istringstream lines(all.starts_with("\xEF\xBB\xBF") ? all.substr(3) : all);
    std::string key;
    for (std::string line; std::getline(lines, line);) {
        if (!key.empty() && !line.empty()) {
            table.entries.emplace_back(key, line);
            table.texts[key] = line;
            key.clear();
        } else if (IsHeader(Trim(line))) {
            key = Trim(line).substr(1, Trim(line).size() - 2);
        }
    }
    return table;
}

// Every table of every language.
const std::map<std::string_view, std::map<std::string, Table>>& Tables()
{
    static std::map<std::string_view, std::map<std::string, Table>> tables;
    if (tables.empty())
        for (const std::string_view language : Content::kLanguages)
            for (const std::string& section : TextTableGenerator::Sections())
                tables[language][section] = ReadTable(language, section);
    return tables;
}

// "HELP_TEXT_3" -> ("HELP_TEXT_", 3); -1 for a key that does not end in "_" and a number.
std::pair<std::string, int> SplitNumber(const std::string& key)
{
    const std::size_t digits = key.find_last_not_of("0123456789");
    if (digits == std::string::npos || digits + 1 == key.size() || key[digits] != '_')
        return {key, -1};
    return {key.substr(0, digits + 1), std::stoi(key.substr(digits + 1))};
}

class GameTexts : public GUITesting::GUIFixture
{
protected:
    void SetUp() override
    {
        GUIFixture::SetUp();
        ContentTesting::CopyBuildData("ui\\fonts");
        ContentTesting::CopyBuildData("ui\\texts");
        // Every language lists the same fonts (the font tests check that).
        ContentTesting::LoadFonts(*fonts, ContentTesting::ReadFontList(services.files, "en"), false);
    }

    std::unique_ptr<KeystrelEngine::GUITextManager> LoadLanguage(std::string_view language)
    {
        auto manager = std::make_unique<KeystrelEngine::GUITextManager>(&services.log, &services.files);
        for (const std::string& section : TextTableGenerator::Sections())
            manager->LoadTexts(TextTableGenerator::Table(language, section));
        return manager;
    }

    float Width(std::uint32_t font, const std::u16string& text) const
    {
        const KeystrelEngine::TextBounds bounds = fonts->FindFont(font)->MeasureText(text, 0.0f, -1.0f);
        return text.empty() ? 0.0f : bounds.maxX - bounds.minX;
    }

    // Measures the text in the font and fails when it is wider than the area less the inset.
    void ExpectFits(std::uint32_t font, const std::u16string& text, const std::string& area, const std::string& what,
                    float inset = 0.0f)
    {
        const float width = Width(font, text);
        EXPECT_LE(width, Layout::Area(area).width - inset)
            << what << " in font " << font << " is too wide for " << area;
    }

    // A bubble's line as the character types it (Wispfold::Character's places, font 2) stays inside the bubble's
    // widest frame, clear of its rounded corners.
    void ExpectInBubble(const std::string& line, int index, const std::string& bubble, const std::string& what)
    {
        const float bottom = Wispfold::Character::kFirstLine - Wispfold::Character::kLineStep * index;
        const LayoutRect& area = Layout::Area(bubble);
        EXPECT_LE(Wispfold::Character::kTextLeft + Width(kBodyFont, ContentTesting::Widen(line)),
                  area.Right() - kBubbleCorner)
            << what;
        EXPECT_GE(bottom, area.bottom + 0.25f * kBubbleCorner) << what;
        EXPECT_LE(bottom + fonts->FindFont(kBodyFont)->m_size, area.Top() - 0.25f * kBubbleCorner) << what;
    }
};

// The body lines of the windows: the font they are shown in and the window area they are measured against.
struct BodyLine
{
    std::string key; // a key, or a family prefix ending in "_" whose numbered lines are meant
    std::uint32_t font;
    std::string area;
};

const std::vector<BodyLine>& BodyLines()
{
    static const std::vector<BodyLine> lines = {
        {"EXIT_TEXT_", kBodyFont, "small_window"},
        {"ENTER_YOUR_NAME", kBodyFont, "small_window"},
        {"DELETE_PROFILE_TEXT_", kBodyFont, "small_window"},
        {"PROFILE_NAME_CONFLICT_TEXT_", kBodyFont, "small_window"},
        {"GAME_LOGIC_PAUSED_TEXT", kBodyFont, "small_window"},
        {"GAME_LOGIC_EXIT_TEXT_", kBodyFont, "small_window"},
        {"GAME_OVER_TEXT_", kBodyFont, "small_window"},
        {"HELP_TEXT_", kBodyFont, "big_window"},
        {"HIGH_SCORES_NO_RECORDS", kHeadingFont, "big_window"},
        {"OPTIONS_MUSIC_VOLUME", kBodyFont, "big_window"},
        {"OPTIONS_SOUND_VOLUME", kBodyFont, "big_window"},
        {"OPTIONS_RESOLUTION", kBodyFont, "big_window"},
        {"OPTIONS_FULLSCREEN", kBodyFont, "big_window"},
        {"OPTIONS_RELAX_MODE", kBodyFont, "big_window"},
        {"CONTINUE_GAME_LOGIC_TEXT_", kBodyFont, "big_window"},
        {"LEVEL_COMPLETE_ENERGY_BONUS", kBodyFont, "big_window"},
        {"GAME_COMPLETE_TEXT_", kBodyFont, "big_window"},
        {"INTRODUCTION_TEXT_", kBodyFont, "big_window"},
        {"RELAX_TEXT_", kBodyFont, "big_window"},
    };
    return lines;
}

const BodyLine* FindBodyLine(const std::string& key)
{
    const auto [prefix, number] = SplitNumber(key);
    for (const BodyLine& line : BodyLines())
        if (line.key == (number >= 0 ? prefix : key))
            return &line;
    return nullptr;
}

// The captions of buttons and check boxes: the fonts they are shown in (a main-menu caption changes font with
// its button's state) and the text area they are centred in; a check box's caption starts `inset` units into
// its area, to the right of the box.
struct Caption
{
    std::vector<std::string> keys;
    std::vector<std::uint32_t> fonts;
    std::string area;
    float inset = 0.0f;
};

const std::vector<Caption>& Captions()
{
    static const std::vector<Caption> captions = {
        {{"OK", "YES", "NO", "BACK", "CANCEL", "CONTINUE", "EXIT", "CONTINUE_GAME_LOGIC_CONTINUE_GAME",
          "CONTINUE_GAME_LOGIC_NEW_GAME", "GAME_LOGIC_EXIT_OK", "GAME_LOGIC_MENU_EXIT", "GAME_LOGIC_MENU_RETURN",
          "GAME_LOGIC_PAUSED_RESUME", "LEVEL_COMPLETE_UPGRADE", "OPTIONS_APPLY", "OPTIONS_DEFAULTS"},
         {kTitleFont},
         "controls\\button_big_text_area"},
        {{"PROFILES_NEW", "PROFILES_RENAME", "PROFILES_DELETE", "PROFILES_DONE", "BACK", "START_GAME_START",
          "START_GAME_CONTINUE", "GAME_LOGIC_MENU"},
         {kTitleFont},
         "controls\\button_small_text_area"},
        {{"MAIN_MENU_START", "MAIN_MENU_SHOW_PLACE", "MAIN_MENU_CHANGE_PROFILE", "MAIN_MENU_OPTIONS",
          "MAIN_MENU_HIGH_SCORES", "MAIN_MENU_CREDITS", "MAIN_MENU_EXIT"},
         {7, 8, 9},
         "controls\\button_main_menu_text_area"},
        {{"GAME_LOGIC_2D", "GAME_LOGIC_3D"}, {kTitleFont}, "controls\\button_game_logic_mode_text_area"},
        {{"GAME_LOGIC_LEVEL"}, {kTitleFont}, "game_logic\\level_name_title_text_area"},
        {{"GAME_LOGIC_SCORE"}, {kTitleFont}, "game_logic\\score_title_text_area"},
        {{"GAME_LOGIC_MANNA"}, {kBodyFont}, "game_logic\\mana_text_area"},
        {{"GAME_LOGIC_ENERGY"}, {kBodyFont}, "game_logic\\energy_text_area"},
        {{"OPTIONS_FULLSCREEN", "OPTIONS_RELAX_MODE"}, {kBodyFont}, "big_window", 89.0f},
    };
    return captions;
}

std::string ReplaceProfileName(std::string text)
{
    const std::string placeholder = "%PROFILE_NAME%";
    for (std::size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder))
        text.replace(at, placeholder.size(), kProfileName);
    return text;
}

// Each table is its source behind a byte-order mark (so the checks of the sources hold for the data), and the
// text manager reads every key to the text the file shows.
TEST_F(GameTexts, EveryTableIsItsSourceAndLoadsThroughTheTextManagerAsItStandsInTheFile)
{
    for (const std::string_view language : Content::kLanguages) {
        const auto manager = LoadLanguage(language);
        std::size_t keys = 0;
        for (const auto& [section, table] : Tables().at(language)) {
            const TestSupport::Bytes source =
                TestSupport::ReadFile(TextTableGenerator::Source(language, section).string());
            TestSupport::Bytes expected = {0xEF, 0xBB, 0xBF};
            expected.insert(expected.end(), source.begin(), source.end());
            EXPECT_EQ(TestSupport::ReadFile(
                          ContentTesting::TestDataPath(TextTableGenerator::Table(language, section)).string()),
                      expected)
                << language << " " << section;
            for (const auto& [key, text] : table.entries)
                EXPECT_EQ(manager->GetText(key, -1), ContentTesting::Widen(text)) << language << " " << key;
            keys += table.entries.size();
        }
        EXPECT_GE(keys, 220u) << language;
        EXPECT_LE(keys, 260u) << language;
    }
}

TEST_F(GameTexts, TextsFitTheirPlacesInTheFontsTheyAreShownIn)
{
    for (const std::string_view language : Content::kLanguages) {
        std::set<std::string> captionsMet;
        for (const auto& [section, table] : Tables().at(language))
            for (const auto& [key, text] : table.entries) {
                const std::string what = std::string(language) + " " + key + " \"" + text + "\"";
                if (key.ends_with("_TITLE"))
                    ExpectFits(kTitleFont, ContentTesting::Widen(text), "title", what);
                if (const BodyLine* line = FindBodyLine(key)) {
                    const bool heading = key.starts_with("HELP_TEXT_") &&
                                         std::set<int>{0, 4, 6, 8, 10}.contains(SplitNumber(key).second);
                    ExpectFits(heading ? kHeadingFont : line->font, ContentTesting::Widen(ReplaceProfileName(text)),
                               line->area, what);
                }
                for (const Caption& caption : Captions()) {
                    if (std::find(caption.keys.begin(), caption.keys.end(), key) == caption.keys.end())
                        continue;
                    captionsMet.insert(key);
                    for (const std::uint32_t font : caption.fonts)
                        ExpectFits(font, ContentTesting::Widen(text), caption.area, what, caption.inset);
                }
                if (section == "character" && key.ends_with("_SIZE")) {
                    const int count = std::atoi(text.c_str());
                    const std::string bubble = "bubble_" + std::to_string(count);
                    const std::string prefix = key.substr(0, key.size() - 4);
                    for (int i = 0; i < count; ++i)
                        ExpectInBubble(table.texts.at(prefix + std::to_string(i)), i, bubble,
                                       what + " line " + std::to_string(i));
                }
            }
        for (const Caption& caption : Captions())
            for (const std::string& key : caption.keys)
                EXPECT_TRUE(captionsMet.contains(key)) << language << " has no caption " << key;
        // The name field beside the greeting is the title area less the greeting's text, plus 25 units.
        const std::string welcome = Tables().at(language).at("main_menu").texts.at("MAIN_MENU_WELCOME") + ", !";
        EXPECT_GE(Layout::Area("title").width - Width(kTitleFont, ContentTesting::Widen(welcome)) + 25.0f, kNameRoom)
            << language << " \"" << welcome << "\"";
    }
}

} // namespace
