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
class MessageManager;
} // namespace KeystrelEngine

namespace GameFramework {

class VersionedFile
{
public:
    enum Mode : std::uint32_t
    {
        ModeRead = 0,
        ModeWrite = 1
    };

    // magic: at least five characters, of which the first five are kept.
    VersionedFile(KeystrelEngine::FileManager* fileManager, std::string_view magic, std::uint32_t version);
    // A write still open is discarded: the file it was to replace stays as it was.
    virtual ~VersionedFile();

    VersionedFile(const VersionedFile&) = delete;
    VersionedFile& operator=(const VersionedFile&) = delete;

    // Reading checks the header and leaves the file right behind it. Writing goes to path + ".tmp" behind a
    // provisional header; only Close puts it in place of path. Throws FileError.
    void Open(const std::string& path, Mode mode);
    // A read is released. A write gets its header filled in, is flushed and is renamed over the path; when any
    // of that fails the temporary is deleted, the previous file stays and the FileError passes on.
    void Close();
    // Open for writing, writeBody, Close; a body that throws discards the temporary before the error passes on.
    void Save(const std::string& path, const std::function<void(KeystrelEngine::FileBinary&)>& writeBody);

    // The open file; only valid between Open and Close.
    KeystrelEngine::FileBinary& GetFile() { return *m_file; }

    // A file at path that could not be read (damaged, another version) is renamed to path + ".bad", replacing an
    // older one, with an error line naming why, so that writing a fresh file does not lose it. Nothing happens
    // when there is no file on disk (a first start). A file still held is let go first.
    void KeepDamaged(const std::string& path, KeystrelEngine::MessageManager& log, const std::string& why);

private:
    bool IsWriting() const { return m_file && m_mode == ModeWrite; }
    void CheckHeader();
    void WriteHeader(std::uint32_t length);
    void Publish();
    // Lets go of the held file; an unfinished write is discarded.
    void Release();
    void Discard();

    KeystrelEngine::FileManager* m_fileManager;
    std::array<char, 5> m_magic{};
    std::uint32_t m_version;
    std::unique_ptr<KeystrelEngine::FileBinary> m_file;
    Mode m_mode = ModeRead;
    std::string m_path;          // as given to Open: the error texts name it
    std::string m_temporaryPath; // the disk path of the temporary of a write
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
