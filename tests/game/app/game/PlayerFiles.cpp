#include "tests/game/app/game/PlayerFiles.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "framework/HighScoresTable.h"
#include "framework/ProfileBase.h"
#include "framework/VersionedFile.h"
#include "game/app/Profile.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace GameTesting {
namespace {

using KeystrelEngine::FileBinary;
using KeystrelEngine::FileValues;

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

// The header checked as every loader checks it, the records read by read, then the whole file held against what
// build writes for them and their values put to check (which names what is wrong, or nothing).
template <class Records, class Read, class Build, class Check>
FileOnDisk<Records> ReadOnDisk(KeystrelEngine::FileManager& files, const std::string& path, std::string_view magic,
                               std::uint32_t version, Read read, Build build, Check check)
{
    FileOnDisk<Records> onDisk;
    try {
        const std::unique_ptr<FileBinary> disk = files.OpenBinary(files.MakeDiskPath(path), false, true);
        Formats::Bytes bytes(disk->GetSize());
        disk->Read(disk->GetSize(), bytes.data());
        FileBinary file(path, disk->GetSize(), bytes.data());
        file.CheckHeader(magic, version, Quoted(path) + " is not a " + std::string(magic) + " file of its own length",
                         Quoted(path) + " is of another version");
        onDisk.records = read(file);
        if (file.GetRemaining() > 0)
            onDisk.fault =
                Quoted(path) + " holds " + std::to_string(file.GetRemaining()) + " bytes after its last record";
        else if (build(onDisk.records) != bytes)
            onDisk.fault = Quoted(path) + " is not as the game writes its records";
        else if (const std::string wrong = check(onDisk.records); !wrong.empty())
            onDisk.fault = Quoted(path) + ": " + wrong;
    } catch (const KeystrelEngine::FileError& error) {
        onDisk.fault = error.GetText();
    }
    return onDisk;
}

// What the game writes for a yes or a no.
bool IsFlag(std::uint8_t value)
{
    return value <= 1;
}

Formats::ProfileFile ReadProfile(FileBinary& file)
{
    Formats::ProfileFile profile;
    profile.name = file.ReadWString();
    for (std::uint32_t* value : {&profile.carriedValue, &profile.score, &profile.currentStage, &profile.currentLevel,
                                 &profile.bestStage, &profile.bestLevel})
        *value = file.ReadU32();
    profile.finished = GameFramework::ReadU8(file);
    for (std::uint32_t count = file.ReadU32(); count > 0; --count) {
        Formats::ProfileResult& result = profile.results.emplace_back();
        result.first = file.ReadU32();
        result.second = file.ReadU32();
        result.value = GameFramework::ReadFloat(file);
    }
    profile.continueFlag = GameFramework::ReadU8(file);
    profile.musicVolume = GameFramework::ReadFloat(file);
    profile.soundVolume = GameFramework::ReadFloat(file);
    profile.extra.resize(Wispfold::Profile::FlagCount);
    file.Read(Wispfold::Profile::FlagCount, profile.extra.data());
    return profile;
}

// The ranges the profile's loader mends its values into, and flags of one byte each.
std::string CheckProfile(const Formats::ProfileFile& profile)
{
    if (!FileValues::kUnit.Holds(profile.musicVolume) || !FileValues::kUnit.Holds(profile.soundVolume))
        return "a volume outside 0 to 1";
    if (!std::ranges::all_of(profile.results,
                             [](const auto& result) { return FileValues::kBounded.Holds(result.value); }))
        return "a level result out of reach";
    if (!IsFlag(profile.finished) || !IsFlag(profile.continueFlag) || !std::ranges::all_of(profile.extra, IsFlag))
        return "a flag neither 0 nor 1";
    return {};
}

Formats::ProfileListFile ReadProfileList(FileBinary& file)
{
    Formats::ProfileListFile list;
    list.current = file.ReadWString();
    for (std::uint32_t count = file.ReadU32(); count > 0; --count) {
        Formats::ProfileListEntry& entry = list.entries.emplace_back();
        entry.first = file.ReadU32();
        entry.second = file.ReadU32();
        entry.text = file.ReadWString();
        entry.third = file.ReadU32();
    }
    return list;
}

Formats::HighScoresFile ReadHighScores(FileBinary& file)
{
    Formats::HighScoresFile table;
    table.resultCounter = file.ReadU32();
    for (std::uint32_t count = file.ReadU32(); count > 0; --count) {
        Formats::HighScoresEntry& entry = table.entries.emplace_back();
        entry.name = file.ReadWString();
        entry.score = file.ReadU32();
        entry.sequence = file.ReadU32();
    }
    return table;
}

// At most the table's capacity, best first (of equal scores the older result), every result numbered before the
// counter.
std::string CheckHighScores(const Formats::HighScoresFile& table)
{
    if (table.entries.size() > GameFramework::HighScoresTable::kCapacity)
        return std::to_string(table.entries.size()) + " entries, more than the table keeps";
    const auto better = [](const auto& a, const auto& b) {
        return a.score != b.score ? a.score > b.score : a.sequence < b.sequence;
    };
    if (!std::ranges::is_sorted(table.entries, better))
        return "entries not best first";
    if (!std::ranges::all_of(table.entries, [&](const auto& entry) { return entry.sequence < table.resultCounter; }))
        return "an entry numbered after the result counter";
    return {};
}

} // namespace

FileOnDisk<Formats::ProfileFile> ReadProfileFile(KeystrelEngine::FileManager& files, const std::string& path)
{
    return ReadOnDisk<Formats::ProfileFile>(files, path, "WSPRF", GameFramework::ProfileBase::kVersion, ReadProfile,
                                            Formats::BuildProfileFile, CheckProfile);
}

FileOnDisk<Formats::ProfileListFile> ReadProfileListFile(KeystrelEngine::FileManager& files, const std::string& path)
{
    return ReadOnDisk<Formats::ProfileListFile>(files, path, "ZRPMF", 100, ReadProfileList,
                                                Formats::BuildProfileListFile,
                                                [](const Formats::ProfileListFile&) { return std::string(); });
}

FileOnDisk<Formats::HighScoresFile> ReadHighScoresFile(KeystrelEngine::FileManager& files, const std::string& path)
{
    return ReadOnDisk<Formats::HighScoresFile>(files, path, "GFHSF", 100, ReadHighScores, Formats::BuildHighScoresFile,
                                               CheckHighScores);
}

} // namespace GameTesting
