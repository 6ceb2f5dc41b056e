// Writes the text tables of every language, "ui\texts\<code>\<section>.ini", from the sources in
// tools/content/texts: the same lines, as UTF-8 behind a byte-order mark so that the engine's text reader takes
// them as UTF-8 (without the mark it would read them as ANSI).
#pragma once

#include "tools/content/Generator.h"

#include <string>
#include <string_view>

namespace Content {

class TextTableGenerator : public Generator
{
public:
    // "common", the framework's table, then the game's 26 in the order the game loads them.
    static const std::vector<std::string>& Sections();
    // "ui\texts\" + language + "\" + section + ".ini".
    static std::string Table(std::string_view language, std::string_view section);
    // The source of a table.
    static std::filesystem::path Source(std::string_view language, std::string_view section);

    std::vector<ManifestEntry> Files() const override;
    void Write(DataFolder& folder) const override;
    std::vector<std::filesystem::path> Inputs() const override;
};

} // namespace Content
