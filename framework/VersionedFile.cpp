// Saves never write over the file they replace. A save writes path + ".tmp" from its first byte, and only Close,
// after the header holds the final length and the data is flushed, renames the temporary over the path with
// write-through. A crash, a kill or a full disk at any moment before that leaves the previous file whole; after
// it the new file is complete. An unfinished write (an owner that threw, or was destroyed, before Close) is
// discarded, never put in place.
#include "VersionedFile.h"

#include "engine/foundation/ByteOrder.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "platform/win32/Win32.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <vector>

namespace GameFramework {

using KeystrelEngine::FileBinary;
using KeystrelEngine::FileError;
using KeystrelEngine::FormatUnsigned;

VersionedFile::VersionedFile(KeystrelEngine::FileManager* fileManager, std::string_view magic, std::uint32_t version)
    : m_fileManager(fileManager), m_version(version)
{
    assert(magic.size() >= m_magic.size() && "a magic has five characters");
    std::copy_n(magic.begin(), std::min(magic.size(), m_magic.size()), m_magic.begin());
}

VersionedFile::~VersionedFile()
{
    Release();
}

void VersionedFile::Open(const std::string& path, Mode mode)
{
    Release();
    m_mode = mode;
    m_path = path;
    if (mode == ModeRead) {
        m_file = m_fileManager->OpenBinary(path, false);
        CheckHeader();
        return;
    }
    m_temporaryPath = m_fileManager->MakeDiskPath(path + ".tmp");
    m_file = m_fileManager->OpenBinary(m_temporaryPath, true);
    WriteHeader(m_file->GetPosition());
}

void VersionedFile::Close()
{
    if (!m_file)
        return;
    if (m_mode == ModeWrite)
        Publish();
    else
        m_file.reset();
}

void VersionedFile::Save(const std::string& path, const std::function<void(FileBinary&)>& writeBody)
{
    Open(path, ModeWrite);
    try {
        writeBody(*m_file);
    } catch (...) {
        Discard();
        throw;
    }
    Close();
}

void VersionedFile::KeepDamaged(const std::string& path, KeystrelEngine::MessageManager& log, const std::string& why)
{
    Release();
    const std::string diskPath = m_fileManager->MakeDiskPath(path);
    if (!KeystrelEngine::FileManager::FileExistsOnDisk(diskPath))
        return;
    const std::string kept = diskPath + ".bad";
    if (MoveFileExA(diskPath.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        log.Error(why + "; the file is kept as \"" + kept + "\"");
    else
        log.Error(why + "; failed to keep the file as \"" + kept + "\"");
}

// The magic is compared before the version, so a file of another kind is a format error whatever its version.
void VersionedFile::CheckHeader()
{
    std::uint8_t header[FileBinary::kHeaderSize];
    m_file->Read(FileBinary::kHeaderSize, header);
    if (std::memcmp(header + 4, m_magic.data(), m_magic.size()) != 0 ||
        KeystrelEngine::LoadLE32(header) != m_file->GetSize())
        throw FileError("Incorrect \"" + m_path + "\" file format");
    const std::uint32_t found = KeystrelEngine::LoadLE32(header + 9);
    if (found != m_version)
        throw FileError("Incorrect \"" + m_path + "\" format version (" + FormatUnsigned(found) + "), current is " +
                        FormatUnsigned(m_version));
}

void VersionedFile::WriteHeader(std::uint32_t length)
{
    std::uint8_t header[FileBinary::kHeaderSize];
    KeystrelEngine::StoreLE32(header, length);
    std::memcpy(header + 4, m_magic.data(), m_magic.size());
    KeystrelEngine::StoreLE32(header + 9, m_version);
    m_file->Write(FileBinary::kHeaderSize, header);
}

void VersionedFile::Publish()
{
    try {
        const std::uint32_t length = m_file->GetPosition();
        m_file->Seek(FileBinary::SeekFromStart, 0);
        WriteHeader(length);
        m_file->Close();
    } catch (const FileError&) {
        Discard();
        throw;
    }
    m_file.reset();
    const std::string target = m_fileManager->MakeDiskPath(m_path);
    if (!MoveFileExA(m_temporaryPath.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(m_temporaryPath.c_str());
        throw FileError("Failed to replace \"" + m_path + "\" file");
    }
}

// Neither throws: they run in the destructor and on the way out of failed saves.
void VersionedFile::Release()
{
    if (IsWriting())
        Discard();
    m_file.reset();
}

void VersionedFile::Discard()
{
    m_file.reset();
    DeleteFileA(m_temporaryPath.c_str());
}

void WriteU8(FileBinary& file, std::uint8_t value)
{
    file.Write(1, &value);
}

void WriteU32(FileBinary& file, std::uint32_t value)
{
    std::uint8_t bytes[4];
    KeystrelEngine::StoreLE32(bytes, value);
    file.Write(sizeof(bytes), bytes);
}

void WriteFloat(FileBinary& file, float value)
{
    WriteU32(file, std::bit_cast<std::uint32_t>(value));
}

std::uint8_t ReadU8(FileBinary& file)
{
    std::uint8_t value = 0;
    file.Read(1, &value);
    return value;
}

float ReadFloat(FileBinary& file)
{
    return std::bit_cast<float>(file.ReadU32());
}

void WriteWString(FileBinary& file, std::u16string_view text)
{
    const std::size_t length = std::min<std::size_t>(text.size(), 254);
    std::vector<std::uint8_t> bytes(1 + 2 * (length + 1), 0);
    bytes[0] = static_cast<std::uint8_t>(length + 1);
    for (std::size_t i = 0; i < length; ++i)
        KeystrelEngine::StoreLE16(&bytes[1 + 2 * i], text[i]);
    file.Write(static_cast<std::uint32_t>(bytes.size()), bytes.data());
}

} // namespace GameFramework
