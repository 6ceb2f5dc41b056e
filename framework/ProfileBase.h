// One player's profile: the name, the progress through stages and levels, the score, the sound and music volumes
// and the results of the levels played, kept in "<user folder>\profiles\<file name>.prf". A new profile gets a
// file name made from the player's name and random digits, never one that is taken. Beside the file lies the
// profile's own folder (the file's path without its last extension: "ida.old.prf" has the folder "ida.old"),
// deleted with it.
//
// The game derives its profile from this class: Write and Read handle the base record and then call WriteExtra
// and ReadExtra, which the game extends with its own fields after the volumes.
#pragma once

#include "LevelManagerBase.h"
#include "VersionedFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {
class FileBinary;
class FileManager;
class FileValues;
class MessageManager;
} // namespace KeystrelEngine

namespace GameFramework {

struct ProfileVolumes
{
    float sound = 1.0f;
    float music = 1.0f;
};

// One level's result: the level's stage and its level within the stage, as a LevelId names them, and the value;
// the base gives the values no meaning beyond their total.
struct LevelResult
{
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    float value = 0.0f;
};

class ProfileBase
{
public:
    static constexpr std::uint32_t kVersion = 102;

    enum Origin
    {
        NewProfile, // made from a name since the program started
        FromFile
    };

    // catalogue: the levels a profile read from its file may name; without one the levels are kept as read.
    ProfileBase(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* files, const std::string& baseFolder,
                Origin origin = NewProfile, const LevelManagerBase* catalogue = nullptr);
    virtual ~ProfileBase();

    ProfileBase(const ProfileBase&) = delete;
    ProfileBase& operator=(const ProfileBase&) = delete;

    // The carried value and the score of a fresh start.
    virtual void Reset();
    // Reads the profile file of that name in the profiles folder. A file that cannot be read is logged as an
    // error and thrown as an Error with an empty text, so that the caller leaves the profile out. Values it holds
    // out of their range, and levels the catalogue does not hold, are mended, with one warning.
    virtual void Load(const std::string& fileName);
    // Makes a new profile of the name (trimmed) with a file of its own, and saves it. Throws FileError.
    virtual void AssignFileName(const std::u16string& name);
    virtual void Write(KeystrelEngine::FileBinary& file);
    virtual void Read(KeystrelEngine::FileBinary& file);
    // The fields after the base record: the music volume, then the sound volume.
    virtual void WriteExtra(KeystrelEngine::FileBinary& file);
    virtual void ReadExtra(KeystrelEngine::FileBinary& file);

    // False when the file could not be saved (the log says why); the previous file then stays.
    bool Save();
    // The name, trimmed, becomes the shown name; the file keeps its name. Saves; when that fails the name stays as
    // it was, and false comes back.
    bool Rename(const std::u16string& name);
    // Deletes the profile file and the profile folder.
    void DeleteFiles();
    void RecordBestLevel(LevelId level, std::uint8_t finished);
    std::string GetFilePath(const std::string& fileName) const;

    const std::u16string& GetName() const { return m_name; }
    const std::string& GetFileName() const { return m_fileName; }
    const std::string& GetProfileFolder() const { return m_profileFolder; }
    float GetResultsTotal() const { return m_resultsTotal; }
    bool IsNew() const { return m_new; }

    ProfileVolumes m_volumes;
    std::uint32_t m_carriedValue = 3; // handed to the level logic when a level starts
    std::uint32_t m_score = 0;
    LevelId m_currentLevel; // played next
    LevelId m_bestLevel;    // the furthest reached
    std::uint8_t m_finished = 0;
    std::vector<LevelResult> m_results;
    std::uint8_t m_continue = 0;

protected:
    KeystrelEngine::MessageManager* m_log;
    KeystrelEngine::FileManager* m_files;

private:
    void MendValues(KeystrelEngine::FileValues& values);
    void MendLevels(KeystrelEngine::FileValues& values);
    void MendLevel(KeystrelEngine::FileValues& values, LevelId& level, const char* what) const;
    std::string ChooseFileName(const std::string& sanitised) const;
    void SetFileName(const std::string& fileName);
    bool IsFree(const std::string& fileName) const;

    VersionedFile m_file;
    const LevelManagerBase* m_catalogue;
    std::string m_baseFolder;
    std::u16string m_name;
    std::string m_fileName;
    std::string m_profileFolder;
    float m_resultsTotal = 0.0f;
    bool m_new;
};

// The player's name as names are compared: lower-cased as the player's language lower-cases it.
std::u16string FoldProfileName(std::u16string name);
// The order of the profile list: the names lower-cased, unit by unit, a prefix first.
bool ProfileNameLess(const ProfileBase& a, const ProfileBase& b);

} // namespace GameFramework
