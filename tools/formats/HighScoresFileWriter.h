// The high-score table "high_scores_table.hsf" ("GFHSF" 100).
#pragma once

#include "tools/formats/GameFileWriter.h"

#include <string>
#include <vector>

namespace Formats {

struct HighScoresEntry
{
    std::u16string name;
    std::uint32_t score = 0;
    std::uint32_t sequence = 0;
};

struct HighScoresFile
{
    std::uint32_t resultCounter = 0;
    std::vector<HighScoresEntry> entries; // best first
};

inline Bytes BuildHighScoresFile(const HighScoresFile& file)
{
    Bytes body;
    PutLE32(body, file.resultCounter);
    PutLE32(body, static_cast<std::uint32_t>(file.entries.size()));
    for (const HighScoresEntry& entry : file.entries) {
        PutWString(body, entry.name);
        PutLE32(body, entry.score);
        PutLE32(body, entry.sequence);
    }
    return GameFile("GFHSF", 100, body);
}

} // namespace Formats
