// Saves never write over the file they replace: the file is made in memory, its header filled in once the length
// is known, and the file manager's save road puts it in place whole (see SafeSave.h). A crash, a kill or a full
// disk at any moment leaves the previous file whole or the new one complete.
#include "VersionedFile.h"

#include "engine/foundation/ByteOrder.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "platform/win32/Win32.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cerrno>
#include <cstring>
#include <vector>

namespace GameFramework {

using KeystrelEngine::FileBinary;

VersionedFile::VersionedFile(KeystrelEngine::FileManager* fileManager, std::string_view magic, std::uint32_t version)
    : m_fileManager(fileManager), m_version(version)
{
    assert(magic.size() >= m_magic.size() && "a magic has five characters");
    std::copy_n(magic.begin(), std::min(magic.size(), m_magic.size()), m_magic.begin());
}

VersionedFile::~VersionedFile() = default;

void VersionedFile::Open(const std::string& path, Mode /*mode*/)
{
    m_file.reset();
    m_path = path;
    m_file = m_fileManager->OpenBinary(path, false);
    CheckHeader();
}

void VersionedFile::Close()
{
    m_file.reset();
}

bool VersionedFile::Save(const std::string& path, const std::function<void(FileBinary&)>& writeBody)
{
    return m_fileManager->SaveFile(path, [&](FileBinary& file) {
        WriteHeader(file, 0);
        writeBody(file);
        const std::uint32_t length = file.GetPosition();
        file.Seek(FileBinary::SeekFromStart, 0);
        WriteHeader(file, length);
    });
}

VersionedFile::Loaded VersionedFile::LoadPlayerFile(const std::string& path, KeystrelEngine::MessageManager& log,
                                                    const Records& records, Unreadable unreadable)
{
    KeystrelEngine::FileValues values(path);
    try {
        Open(path, ModeRead);
        records.read(GetFile());
        values.CheckEnd(GetFile());
        Close();
    } catch (const KeystrelEngine::FileError& error) {
        return LoadUnreadable(path, log, records, unreadable, error.GetText());
    }
    if (records.mend)
        records.mend(values);
    if (!values.HasNote())
        return LoadedWhole;
    if (!KeepUnmended(path, values))
        return LoadedHeld;
    Save(path, records.write);
    return LoadedReplaced;
}

VersionedFile::Loaded VersionedFile::LoadUnreadable(const std::string& path, KeystrelEngine::MessageManager& log,
                                                    const Records& records, Unreadable unreadable,
                                                    const std::string& why)
{
    Close();
    records.forget();
    if (unreadable == LeaveUnreadable) {
        log.Error(why);
        return LoadedUnread;
    }
    if (!KeepDamaged(path, log, why))
        return LoadedHeld;
    Save(path, records.write);
    return LoadedReplaced;
}

bool VersionedFile::KeepDamaged(const std::string& path, KeystrelEngine::MessageManager& log, const std::string& why)
{
    const std::string diskPath = m_fileManager->MakeDiskPath(path);
    if (!KeystrelEngine::FileManager::FileExistsOnDisk(diskPath))
        return true;
    const std::string kept = diskPath + ".bad";
    errno = 0;
    if (MoveFileExA(diskPath.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        log.Error(why + "; the file is kept as \"" + kept + "\"");
        return true;
    }
    log.Error(why + "; failed to keep the file as \"" + kept + "\": " + std::strerror(errno ? errno : EIO) +
              "; it is left as it is");
    return false;
}

bool VersionedFile::KeepUnmended(const std::string& path, const KeystrelEngine::FileValues& values)
{
    return m_fileManager->KeepBadCopy(path, values.NoteLine());
}

// The magic is compared before the version, so a file of another kind is a format error whatever its version.
void VersionedFile::CheckHeader()
{
    const KeystrelEngine::FileValues values(m_path);
    std::uint8_t header[FileBinary::kHeaderSize];
    m_file->Read(FileBinary::kHeaderSize, header);
    if (std::memcmp(header + 4, m_magic.data(), m_magic.size()) != 0 ||
        KeystrelEngine::LoadLE32(header) != m_file->GetSize())
        values.Refuse();
    const std::uint32_t found = KeystrelEngine::LoadLE32(header + 9);
    if (found != m_version)
        values.RefuseFoundVersion(found, m_version);
}

void VersionedFile::WriteHeader(FileBinary& file, std::uint32_t length) const
{
    std::uint8_t header[FileBinary::kHeaderSize];
    KeystrelEngine::StoreLE32(header, length);
    std::memcpy(header + 4, m_magic.data(), m_magic.size());
    KeystrelEngine::StoreLE32(header + 9, m_version);
    file.Write(FileBinary::kHeaderSize, header);
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
