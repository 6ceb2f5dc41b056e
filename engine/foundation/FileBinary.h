// One open file: a disk file read or written through a buffered stream, or an in-memory copy of a pack entry.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace KeystrelEngine {

class FileBinary
{
public:
    // Disk files above this size stay open and are read on demand unless a whole load is asked for.
    static constexpr std::uint32_t kWholeLoadLimit = 8u * 1024u * 1024u;
    // The common engine file header: u32 total length, five magic characters, u32 version.
    static constexpr std::uint32_t kHeaderSize = 13;

    enum SeekOrigin
    {
        SeekFromStart = 0,
        SeekBackFromEnd = 1,
        SeekRelative = 2
    };

    // A disk file: an absolute path is used as it is, a relative one below the program's folder.
    FileBinary(const std::string& path, bool writing, bool loadWhole);
    // A copy of size bytes held in memory.
    FileBinary(const std::string& path, std::uint32_t size, const void* bytes);
    // A file written in memory, empty at first; GetData holds what was written. Saves make their contents so.
    explicit FileBinary(const std::string& path);
    virtual ~FileBinary();

    FileBinary(const FileBinary&) = delete;
    FileBinary& operator=(const FileBinary&) = delete;

    // Reads at most the bytes left. Without countRead a short read throws FileError.
    void Read(std::uint32_t count, void* buffer, std::uint32_t* countRead = nullptr);
    void Write(std::uint32_t count, const void* buffer);
    // Moves the position; false when it had to be clamped into the file.
    bool Seek(SeekOrigin origin, std::int64_t offset);
    // Writes what the stream still buffers and closes it; throws FileError when that fails. The destructor
    // closes best-effort, so writers that must know call this first.
    void Close();

    std::uint32_t ReadU32();
    std::string ReadString();     // u8 count, then count bytes; the text up to the first zero
    std::u16string ReadWString(); // u8 count, then count UTF-16LE units; the text up to the first zero unit

    // Reads the 13-byte header and checks magic, length and version; throws FileError with formatText when the
    // magic or the length is wrong, with versionText when the version is.
    void CheckHeader(std::string_view magic, std::uint32_t version, const std::string& formatText,
                     const std::string& versionText);

    const std::string& GetPath() const { return m_path; }
    const std::vector<std::uint8_t>& GetData() const { return m_data; }
    std::uint32_t GetSize() const { return m_size; }
    std::uint32_t GetPosition() const { return m_position; }
    std::uint32_t GetRemaining() const { return m_position < m_size ? m_size - m_position : 0; }
    bool IsReadOnDemand() const { return m_stream && !m_writing; }

private:
    void SyncStream();
    [[noreturn]] void ThrowOpenFailure() const;

    std::string m_path;
    std::FILE* m_stream = nullptr;
    bool m_streamInStep = true;
    bool m_writing = false;
    std::uint32_t m_size = 0;
    std::uint32_t m_position = 0;
    std::vector<std::uint8_t> m_data;
};

} // namespace KeystrelEngine
