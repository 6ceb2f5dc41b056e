// The high-score table: the input is "high_scores_table.hsf" of the user folder, loaded as at start-up (an
// unreadable file is set aside and an empty table saved), then a result is added, which sorts and saves the table.
// A table loaded from what was saved must hold the same entries, the names cut to what a file can hold, and load
// without a word: a save never writes what a load mends.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "framework/HighScoresTable.h"
#include "tools/formats/HighScoresFileWriter.h"

#include <cstdlib>
#include <string>

using GameFramework::HighScoresTable;

namespace {

constexpr char kUserFolder[] = "user";
constexpr char kTableFile[] = "user/high_scores_table.hsf";

bool SameEntries(const HighScoresTable& saved, const HighScoresTable& loaded)
{
    const auto& a = saved.GetEntries();
    const auto& b = loaded.GetEntries();
    if (a.size() != b.size() || saved.GetResultCounter() != loaded.GetResultCounter())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i]->name.substr(0, 254) != b[i]->name || a[i]->score != b[i]->score || a[i]->sequence != b[i]->sequence)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    static KeystrelEngine::MessageManager log("", "Quellhaven", "", false, false);
    static KeystrelEngine::FileManager files(&log, folder.GetBase(), "Data");
    const std::string userFolder = folder.GetBase() + "/" + kUserFolder;
    folder.Write(kTableFile, data, size);
    HighScoresTable table(&log, &files, userFolder);
    table.Add(u"Fuzz", 500);
    log.m_history.clear();
    if (!SameEntries(table, HighScoresTable(&log, &files, userFolder)) || !Fuzzing::LoggedNoProblem(log))
        std::abort();
    log.m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    using Formats::BuildHighScoresFile;
    seeds.Add("empty.hsf", BuildHighScoresFile({}));
    seeds.Add("three.hsf", BuildHighScoresFile({7, {{u"Ada", 9000, 3}, {u"Zoë", 700, 1}, {u"", 700, 6}}}));
    Formats::HighScoresFile full{12, {}};
    for (std::uint32_t i = 0; i < 12; ++i)
        full.entries.push_back({std::u16string(i * 20, u'a' + static_cast<char16_t>(i)), 1000 - 50 * i, i});
    seeds.Add("twelve.hsf", BuildHighScoresFile(full));
    seeds.Add("long-name.hsf", BuildHighScoresFile({1, {{std::u16string(254, u'\u0416'), 1, 0}}}));
}
