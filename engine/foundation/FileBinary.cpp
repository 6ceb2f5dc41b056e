// A file object is in one of three states, fixed at creation: in memory (pack entries and disk files up to
// 8 MiB, or larger ones loaded whole), read on demand (the stream stays open), or writing (to a stream, or in
// memory for a save). In the two stream states the stream follows the position: after a seek it is moved to the
// position before the next transfer, so a clamped seek can never leave the two apart.
#include "FileBinary.h"

#include "ByteOrder.h"
#include "Error.h"
#include "StringUtils.h"
#include "platform/win32/Win32.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace KeystrelEngine {
namespace {

std::string DiskPath(const std::string& path)
{
    const bool absolute = IsAbsoluteName(path) || (path.size() >= 2 && path[0] == '\\' && path[1] == '\\');
    return absolute ? path : GetApplicationFolder() + "\\" + path;
}

} // namespace

FileBinary::FileBinary(const std::string& path, bool writing, bool loadWhole) : m_path(path), m_writing(writing)
{
    if (fopen_s(&m_stream, DiskPath(path).c_str(), writing ? "wb" : "rb") != 0)
        ThrowOpenFailure();
    if (writing)
        return;
    const bool measured = ::fseeko(m_stream, 0, SEEK_END) == 0;
    const off_t length = measured ? ::ftello(m_stream) : -1;
    // Sizes are 32-bit throughout the engine's formats; a larger file cannot be one of them.
    if (length < 0 || length > std::numeric_limits<std::uint32_t>::max() || ::fseeko(m_stream, 0, SEEK_SET) != 0) {
        std::fclose(m_stream);
        m_stream = nullptr;
        ThrowOpenFailure();
    }
    m_size = static_cast<std::uint32_t>(length);
    if (!loadWhole && m_size > kWholeLoadLimit)
        return;
    m_data.resize(m_size);
    m_size = static_cast<std::uint32_t>(std::fread(m_data.data(), 1, m_size, m_stream));
    m_data.resize(m_size);
    std::fclose(m_stream);
    m_stream = nullptr;
}

FileBinary::FileBinary(const std::string& path, std::uint32_t size, const void* bytes)
    : m_path(path), m_size(size),
      m_data(static_cast<const std::uint8_t*>(bytes), static_cast<const std::uint8_t*>(bytes) + size)
{
}

FileBinary::FileBinary(const std::string& path) : m_path(path), m_writing(true) {}

FileBinary::~FileBinary()
{
    if (m_stream)
        std::fclose(m_stream);
}

void FileBinary::Read(std::uint32_t count, void* buffer, std::uint32_t* countRead)
{
    std::uint32_t n = std::min(count, GetRemaining());
    if (n > 0 && m_stream) {
        SyncStream();
        n = static_cast<std::uint32_t>(std::fread(buffer, 1, n, m_stream));
    } else if (n > 0) {
        std::memcpy(buffer, m_data.data() + m_position, n);
    }
    m_position += n;
    if (countRead) {
        *countRead = n;
        return;
    }
    if (n < count)
        throw FileError("Failed to read " + FormatUnsigned(count) + " bytes from \"" + m_path + "\" file");
}

void FileBinary::Write(std::uint32_t count, const void* buffer)
{
    if (count == 0)
        return;
    std::size_t written = 0;
    if (m_stream && m_writing) {
        SyncStream();
        written = std::fwrite(buffer, 1, count, m_stream);
    } else if (m_writing) {
        m_data.resize(std::max<std::size_t>(m_data.size(), std::size_t{m_position} + count));
        std::memcpy(m_data.data() + m_position, buffer, count);
        written = count;
    }
    m_position += static_cast<std::uint32_t>(written);
    m_size = std::max(m_size, m_position);
    if (written < count)
        throw FileError("Failed to write " + FormatUnsigned(count) + " bytes from \"" + m_path + "\" file");
}

bool FileBinary::Seek(SeekOrigin origin, std::int64_t offset)
{
    const std::int64_t size = m_size;
    std::int64_t target = 0;
    switch (origin) {
    case SeekFromStart:
        target = offset;
        break;
    case SeekBackFromEnd:
        target = size - offset;
        break;
    case SeekRelative:
        target = static_cast<std::int64_t>(m_position) + offset;
        break;
    }
    bool inside = true;
    if (target < 0) {
        target = 0;
        inside = false;
    }
    // A seek to exactly the end lands on the last byte; an empty file keeps position 0.
    if (size > 0 && target > size - 1) {
        target = size - 1;
        inside = false;
    } else if (size == 0 && target > 0) {
        target = 0;
        inside = false;
    }
    m_position = static_cast<std::uint32_t>(target);
    m_streamInStep = false;
    return inside;
}

void FileBinary::Close()
{
    if (!m_stream)
        return;
    const bool failed = std::fclose(m_stream) != 0;
    m_stream = nullptr;
    if (failed && m_writing)
        throw FileError("Failed to write " + FormatUnsigned(m_size) + " bytes from \"" + m_path + "\" file");
}

std::uint32_t FileBinary::ReadU32()
{
    std::uint8_t bytes[4];
    Read(4, bytes);
    return LoadLE32(bytes);
}

std::string FileBinary::ReadString()
{
    std::uint8_t count = 0;
    Read(1, &count);
    std::string text(count, '\0');
    Read(count, text.data());
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::u16string FileBinary::ReadWString()
{
    std::uint8_t count = 0;
    Read(1, &count);
    std::vector<std::uint8_t> bytes(2u * count);
    Read(2u * count, bytes.data());
    std::u16string text;
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t unit = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (unit == 0)
            break;
        text += unit;
    }
    return text;
}

void FileBinary::CheckHeader(std::string_view magic, std::uint32_t version, const std::string& formatText,
                             const std::string& versionText)
{
    std::uint8_t header[kHeaderSize];
    Read(kHeaderSize, header);
    if (magic.size() != 5 || std::memcmp(header + 4, magic.data(), 5) != 0 || LoadLE32(header) != m_size)
        throw FileError(formatText);
    if (LoadLE32(header + 9) != version)
        throw FileError(versionText);
}

// Transfers move the stream and the position together; only a seek parts them.
void FileBinary::SyncStream()
{
    if (!m_streamInStep)
        m_streamInStep = ::fseeko(m_stream, m_position, SEEK_SET) == 0;
}

void FileBinary::ThrowOpenFailure() const
{
    throw FileError("Failed to open \"" + m_path + "\" file");
}

} // namespace KeystrelEngine
