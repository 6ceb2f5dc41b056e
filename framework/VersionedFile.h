// The game's own binary files (high scores, profiles, the profile list, boards, the level map) open with one
// 13-byte header: u32 total length of the file, five magic characters, u32 format version. A versioned file
// opens such a file, checks or reserves the header, and hands its owner the engine file object in between.
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

    // A file at path that could not be read (damaged, another version) is renamed to path + ".bad", replacing an
    // older one, with an error line naming why, so that writing a fresh file does not lose it. Nothing happens
    // when there is no file on disk (a first start). A file still held is let go first. False when the file is
    // still at path (the line says why it could not be kept): the owner then writes no fresh file over it.
    bool KeepDamaged(const std::string& path, KeystrelEngine::MessageManager& log, const std::string& why);
    // A file at path that was read with values mended, or with bytes after its last record (values holds a note):
    // the file on disk, still unmended, is copied to path + ".bad", replacing an older one, with one warning line
    // naming what was mended, so that the mended save that follows loses nothing. False when no copy could be made: the owner then saves nothing
    // mended over the file and plays on with the mended values.
    bool KeepUnmended(const std::string& path, const KeystrelEngine::FileValues& values);

private:
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
