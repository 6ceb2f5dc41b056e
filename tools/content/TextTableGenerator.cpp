#include "tools/content/TextTableGenerator.h"

#include "tools/content/DataFolder.h"
#include "tools/content/Languages.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace Content {
namespace {

const std::vector<std::uint8_t> kByteOrderMark = {0xEF, 0xBB, 0xBF};

std::vector<std::uint8_t> ReadSource(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read the text source \"" + path.string() + "\"");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

const std::vector<std::string>& TextTableGenerator::Sections()
{
    static const std::vector<std::string> sections = {
        "common",        "character",  "continue_game_logic", "delete_profile",  "exit",
        "game_complete", "game_logic", "game_logic_exit",     "game_logic_menu", "game_logic_pause",
        "game_over",     "help",       "high_scores",         "introduction",    "level_complete",
        "loading",       "main_menu",  "new_profile",         "options",         "profile_name_conflict",
        "profiles",      "relax",      "rename_profile",      "stage_complete",  "start_game",
        "statistics",    "welcome"};
    return sections;
}

std::string TextTableGenerator::Table(std::string_view language, std::string_view section)
{
    return "ui\\texts\\" + std::string(language) + "\\" + std::string(section) + ".ini";
}

std::filesystem::path TextTableGenerator::Source(std::string_view language, std::string_view section)
{
    return std::filesystem::path(CONTENT_TEXT_SOURCES) / language / (std::string(section) + ".ini");
}

std::vector<ManifestEntry> TextTableGenerator::Files() const
{
    std::vector<ManifestEntry> files;
    for (const std::string_view language : kLanguages)
        for (const std::string& section : Sections())
            files.push_back({Table(language, section), "GUITextManager"});
    return files;
}

std::vector<std::filesystem::path> TextTableGenerator::Inputs() const
{
    std::vector<std::filesystem::path> sources;
    for (const std::string_view language : kLanguages)
        for (const std::string& section : Sections())
            sources.push_back(Source(language, section));
    return sources;
}

void TextTableGenerator::Write(DataFolder& folder) const
{
    for (const std::string_view language : kLanguages)
        for (const std::string& section : Sections()) {
            std::vector<std::uint8_t> bytes = kByteOrderMark;
            const std::vector<std::uint8_t> source = ReadSource(Source(language, section));
            const bool marked = source.size() >= kByteOrderMark.size() &&
                                std::equal(kByteOrderMark.begin(), kByteOrderMark.end(), source.begin());
            bytes.insert(bytes.end(), source.begin() + (marked ? 3 : 0), source.end());
            folder.Write(Table(language, section), bytes);
        }
}

} // namespace Content
