// The game's own binary files (high scores, profiles, the profile list, boards, the level map) open with one
// 13-byte header: u32 total length of the file, five magic characters, u32 format version. A versioned file
// opens such a file, checks or reserves the header, and hands its owner the engine file object in between. The
// player's files (the high scores, the profiles, the profile list) are all read one way, through LoadPlayerFile.
#pragma once

#include "engine/foundation/FileBinary.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace KeystrelEngine {
class FileManager;
class FileValues;
class MessageManager;
} // namespace KeystrelEngine

namespace GameFramework {

class VersionedFile
{
public:
    // Files are written only through Save.
    enum Mode : std::uint32_t
    {
        ModeRead = 0
    };

    // magic: at least five characters, of which the first five are kept.
    VersionedFile(KeystrelEngine::FileManager* fileManager, std::string_view magic, std::uint32_t version);
    virtual ~VersionedFile();

    VersionedFile(const VersionedFile&) = delete;
    VersionedFile& operator=(const VersionedFile&) = delete;

    // Checks the header and leaves the file right behind it. Throws FileError.
    void Open(const std::string& path, Mode mode);
    // Releases the file read.
    void Close();
    // The header, then writeBody's records, saved in place of path through the file manager's one save road: a
    // failure is logged there and false comes back, with the previous file left as it was. Nothing is thrown.
    bool Save(const std::string& path, const std::function<void(KeystrelEngine::FileBinary&)>& writeBody);

    // The open file; only valid between Open and Close.
    KeystrelEngine::FileBinary& GetFile() { return *m_file; }

    // What a player's file (the high scores, a profile, the profile list) gives LoadPlayerFile: its owner's records.
    struct Records
    {
        // Reads the records that follow the header into the owner. Throws FileError.
        std::function<void(KeystrelEngine::FileBinary&)> read;
        // After a whole read, before anything is kept: puts right what the records hold out of range, noting each
        // mend in values. Empty when nothing needs it.
        std::function<void(KeystrelEngine::FileValues&)> mend = {};
        // The file could not be read: the owner drops what the read left, back to a fresh start.
        std::function<void()> forget;
        // The records as the owner's saves write them.
        std::function<void(KeystrelEngine::FileBinary&)> write;
    };
    // What becomes of a player's file that cannot be read (damaged, another version, missing).
    enum Unreadable
    {
        SetAsideUnreadable, // moved to ".bad" and a fresh file, the forgotten records, saved in its place
        LeaveUnreadable     // left where it is, with an error line naming why
    };
    // How LoadPlayerFile ended, and so what the owner may still save over the file.
    enum Loaded
    {
        LoadedWhole,    // read whole with nothing to mend; nothing was saved
        LoadedReplaced, // mended, or unreadable and set aside: the file on disk was kept as ".bad" (a missing one
                        // has nothing to keep) and the owner's records saved in its place
        LoadedHeld,     // mended or unreadable, but no copy could be kept: the file stays as it is, and the owner
                        // saves nothing over it (the mended records play on)
        LoadedUnread    // unreadable and left where it is (LeaveUnreadable)
    };

    // The one way a player's file is read: the header, the records and their end (bytes after the last record are
    // noted), then the records' mends. A file read with a note is kept as ".bad" as it lies on disk and saved mended
    // at once; an unreadable one is forgotten, then set aside or left as asked. log takes the error line of an
    // unreadable file.
    Loaded LoadPlayerFile(const std::string& path, KeystrelEngine::MessageManager& log, const Records& records,
                          Unreadable unreadable);

private:
    // The file at path, which could not be read, is moved to path + ".bad", replacing an older one, with an error
    // line naming why, so that the fresh file saved next does not lose it. Nothing happens when there is no file on
    // disk (a first start). False when the file is still at path (the line says why it could not be moved).
    bool KeepDamaged(const std::string& path, KeystrelEngine::MessageManager& log, const std::string& why);
    // The file at path was read with a note in values (values mended, or bytes after its last record): the file on
    // disk, still unmended, is copied to path + ".bad", replacing an older one, with one warning line naming what
    // was mended, so that the mended save that follows loses nothing. False when no copy could be made.
    bool KeepUnmended(const std::string& path, const KeystrelEngine::FileValues& values);
    // A file that could not be read: the owner forgets what was read, and the file is left or set aside.
    Loaded LoadUnreadable(const std::string& path, KeystrelEngine::MessageManager& log, const Records& records,
                          Unreadable unreadable, const std::string& why);
    void CheckHeader();
    void WriteHeader(KeystrelEngine::FileBinary& file, std::uint32_t length) const;

    KeystrelEngine::FileManager* m_fileManager;
    std::array<char, 5> m_magic{};
    std::uint32_t m_version;
    std::unique_ptr<KeystrelEngine::FileBinary> m_file;
    std::string m_path; // as given to Open: the error texts name it
};

// The records' plain fields, little-endian as the header.
void WriteU8(KeystrelEngine::FileBinary& file, std::uint8_t value);
void WriteU32(KeystrelEngine::FileBinary& file, std::uint32_t value);
void WriteFloat(KeystrelEngine::FileBinary& file, float value);
std::uint8_t ReadU8(KeystrelEngine::FileBinary& file);
float ReadFloat(KeystrelEngine::FileBinary& file);

// A counted wide string: one byte n, then n UTF-16LE units of which the last is a zero. Texts longer than 254
// units are cut to 254, since n must hold the terminator too.
void WriteWString(KeystrelEngine::FileBinary& file, std::u16string_view text);

} // namespace GameFramework
