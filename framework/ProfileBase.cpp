#include "ProfileBase.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/StringUtils.h"
#include "platform/win32/Win32.h"

#include <algorithm>
#include <utility>

namespace GameFramework {
namespace {

using KeystrelEngine::FileBinary;

// A sanitised name shorter than this gets "_" and random digits up to it.
constexpr std::size_t kSuffixedLength = 16;
constexpr int kTries = 1024;
constexpr std::size_t kExtraDigits = 8;

// The name in narrow text, lower-cased, with only the letters "a" to "z" left.
std::string Sanitise(const std::u16string& name)
{
    std::string sanitised = KeystrelEngine::ToLower(KeystrelEngine::ToNarrow(name));
    std::erase_if(sanitised, [](char c) { return c < 'a' || c > 'z'; });
    return sanitised;
}

// stem + "_" + that many random digits + ".prf".
std::string WithDigits(std::string stem, std::size_t count)
{
    stem += '_';
    for (std::size_t i = 0; i < count; ++i)
        stem += static_cast<char>('0' + KeystrelEngine::RandomNext() % 10);
    return stem + ".prf";
}

std::string ProfilesFolder(const std::string& baseFolder)
{
    return baseFolder + "\\profiles\\";
}

} // namespace

ProfileBase::ProfileBase(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* files,
                         const std::string& baseFolder, Origin origin, const LevelManagerBase* catalogue)
    : m_log(log), m_files(files), m_file(files, "WSPRF", kVersion), m_catalogue(catalogue), m_baseFolder(baseFolder),
      m_new(origin == NewProfile)
{
}

ProfileBase::~ProfileBase() = default;

void ProfileBase::Reset()
{
    m_carriedValue = 3;
    m_score = 0;
}

// A file read whole whose values had to be mended, or that holds more than its records, is kept as ".bad" and
// saved mended at once; when no copy can be kept it stays as it is, and the profile plays on mended. A file that
// cannot be read is left where it is.
void ProfileBase::Load(const std::string& fileName)
{
    SetFileName(fileName);
    const VersionedFile::Records records{.read = [this](FileBinary& file) { Read(file); },
                                         .mend = [this](KeystrelEngine::FileValues& values) { MendValues(values); },
                                         .forget = [this] { m_results.clear(); },
                                         .write = [this](FileBinary& file) { Write(file); }};
    if (m_file.LoadPlayerFile(GetFilePath(fileName), *m_log, records, VersionedFile::LeaveUnreadable) ==
        VersionedFile::LoadedUnread)
        throw KeystrelEngine::Error("");
}

// A volume outside 0 to 1 is the file's damage, not the player's choice (which the slider keeps within it): the
// volume of a new profile takes its place, so that the sound is heard. A result out of reach (or no number) counts 0.
void ProfileBase::MendValues(KeystrelEngine::FileValues& values)
{
    using KeystrelEngine::FileValues;
    const ProfileVolumes fresh;
    m_volumes.music = values.Mend(m_volumes.music, FileValues::kUnit, fresh.music, "the music volume");
    m_volumes.sound = values.Mend(m_volumes.sound, FileValues::kUnit, fresh.sound, "the sound volume");
    m_resultsTotal = 0.0f;
    for (LevelResult& result : m_results) {
        result.value = values.Mend(result.value, FileValues::kBounded, 0.0f, "a level result");
        m_resultsTotal += result.value;
    }
    MendLevels(values);
}

// A level the catalogue does not hold (a damaged file, or a catalogue that now holds fewer levels) would send the
// game past the catalogue's lists: the current level, the best level and the level of each result go back to the
// first level.
void ProfileBase::MendLevels(KeystrelEngine::FileValues& values)
{
    if (!m_catalogue)
        return;
    MendLevel(values, m_currentLevel, "the current level");
    MendLevel(values, m_bestLevel, "the best level");
    for (LevelResult& result : m_results) {
        LevelId level{result.first, result.second};
        MendLevel(values, level, "the level of a result");
        result.first = level.stage;
        result.second = level.level;
    }
}

void ProfileBase::MendLevel(KeystrelEngine::FileValues& values, LevelId& level, const char* what) const
{
    if (m_catalogue->Holds(level))
        return;
    values.Note(std::string(what) + " is " + DescribeLevel(level) + ", not in the catalogue; the first level is used");
    level = LevelId{};
}

void ProfileBase::AssignFileName(const std::u16string& name)
{
    m_name = KeystrelEngine::TrimW(name);
    m_volumes = ProfileVolumes{};
    m_results.clear();
    m_resultsTotal = 0.0f;
    m_currentLevel = LevelId{};
    m_bestLevel = LevelId{};
    m_finished = 0;
    m_new = true;
    m_continue = 0;
    Reset();
    SetFileName(ChooseFileName(Sanitise(m_name)));
    Save();
}

// The sanitised name with "_" and random digits up to sixteen characters, tried until a free one comes up. A
// long name has no digits and so one try; when every try is taken, "_" and eight more random digits follow the
// sanitised name until the file is free, so that a new profile never replaces another one's file.
std::string ProfileBase::ChooseFileName(const std::string& sanitised) const
{
    const bool suffixed = sanitised.size() < kSuffixedLength - 1;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const std::string fileName =
            suffixed ? WithDigits(sanitised, kSuffixedLength - 1 - sanitised.size()) : sanitised + ".prf";
        if (IsFree(fileName))
            return fileName;
        if (!suffixed)
            break;
    }
    for (;;) {
        const std::string fileName = WithDigits(sanitised, kExtraDigits);
        if (IsFree(fileName))
            return fileName;
    }
}

bool ProfileBase::IsFree(const std::string& fileName) const
{
    return !m_files->FileExists(GetFilePath(fileName));
}

void ProfileBase::SetFileName(const std::string& fileName)
{
    m_fileName = fileName;
    m_profileFolder = GetFilePath(fileName.substr(0, fileName.rfind('.')));
}

void ProfileBase::Write(FileBinary& file)
{
    WriteWString(file, m_name);
    for (const std::uint32_t value :
         {m_carriedValue, m_score, m_currentLevel.stage, m_currentLevel.level, m_bestLevel.stage, m_bestLevel.level})
        WriteU32(file, value);
    WriteU8(file, m_finished);
    WriteU32(file, static_cast<std::uint32_t>(m_results.size()));
    for (const LevelResult& result : m_results) {
        WriteU32(file, result.first);
        WriteU32(file, result.second);
        WriteFloat(file, result.value);
    }
    WriteU8(file, m_continue);
    WriteExtra(file);
}

// The results are appended as they are read: a count read from the file reserves nothing. Load totals them.
void ProfileBase::Read(FileBinary& file)
{
    m_name = file.ReadWString();
    for (std::uint32_t* value : {&m_carriedValue, &m_score, &m_currentLevel.stage, &m_currentLevel.level,
                                 &m_bestLevel.stage, &m_bestLevel.level})
        *value = file.ReadU32();
    m_finished = ReadU8(file);
    const std::uint32_t count = file.ReadU32();
    m_results.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        LevelResult result;
        result.first = file.ReadU32();
        result.second = file.ReadU32();
        result.value = ReadFloat(file);
        m_results.push_back(result);
    }
    m_continue = ReadU8(file);
    ReadExtra(file);
}

void ProfileBase::WriteExtra(FileBinary& file)
{
    WriteFloat(file, m_volumes.music);
    WriteFloat(file, m_volumes.sound);
}

void ProfileBase::ReadExtra(FileBinary& file)
{
    m_volumes.music = ReadFloat(file);
    m_volumes.sound = ReadFloat(file);
}

bool ProfileBase::Save()
{
    return m_file.Save(GetFilePath(m_fileName), [this](FileBinary& file) { Write(file); });
}

bool ProfileBase::Rename(const std::u16string& name)
{
    std::u16string previous = std::exchange(m_name, KeystrelEngine::TrimW(name));
    if (Save())
        return true;
    m_name = std::move(previous);
    return false;
}

// The folder goes only when it lies strictly below the profiles folder: the file ".prf" has no name before its
// extension, and its folder would be the profiles folder itself.
void ProfileBase::DeleteFiles()
{
    KeystrelEngine::FileManager::DeleteFolder(m_files->MakeDiskPath(GetFilePath(m_fileName)));
    const std::string profiles = ProfilesFolder(m_baseFolder);
    const bool below =
        m_profileFolder.size() > profiles.size() && m_profileFolder.starts_with(profiles) &&
        m_profileFolder.find_first_of(KeystrelEngine::kPathSeparators, profiles.size()) == std::string::npos;
    if (below)
        KeystrelEngine::FileManager::DeleteFolder(m_files->MakeDiskPath(m_profileFolder));
}

void ProfileBase::RecordBestLevel(LevelId level, std::uint8_t finished)
{
    m_bestLevel = level;
    m_finished = finished;
    Save();
}

std::string ProfileBase::GetFilePath(const std::string& fileName) const
{
    return ProfilesFolder(m_baseFolder) + fileName;
}

std::u16string FoldProfileName(std::u16string name)
{
    CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

bool ProfileNameLess(const ProfileBase& a, const ProfileBase& b)
{
    return FoldProfileName(a.GetName()) < FoldProfileName(b.GetName());
}

} // namespace GameFramework
