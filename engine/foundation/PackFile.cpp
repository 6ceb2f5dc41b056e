// Pack layout (little-endian): the common 13-byte header ("KEPAK", version 100), u32 entry count N, N counted
// names, then N pairs of u32 offset and u32 size, then the entries' bytes. Names are lower-cased when loaded;
// the first of two equal names wins. A pack whose directory cannot be right (more entries than bytes to hold
// them, or an entry reaching past the end) is refused whole, so a damaged pack never answers a lookup.
#include "PackFile.h"

#include "ByteOrder.h"
#include "Error.h"
#include "FileBinary.h"
#include "MessageManager.h"
#include "StringUtils.h"

namespace KeystrelEngine {
namespace {

constexpr std::uint32_t kPackVersion = 100;
constexpr char kFormatText[] = "Incorrect pack file format";
// The smallest directory record: a counted name of one byte and its offset and size.
constexpr std::uint64_t kMinimumEntryBytes = 1 + 8;

} // namespace

PackFile::PackFile(const std::string& path, MessageManager* log) : m_log(log)
{
    m_log->Message("...Pack file " + path + " found...");
    try {
        ReadWithinMemory(kFormatText, [&] { Load(path); });
    } catch (const FileError& error) {
        m_log->SetLineBreaks(false);
        m_log->Message("......");
        m_log->Error(error.GetText());
        m_log->SetLineBreaks(true);
        Close();
        throw Error("");
    }
}

PackFile::~PackFile() = default;

void PackFile::Load(const std::string& path)
{
    m_file = std::make_unique<FileBinary>(path, false, false);
    m_file->CheckHeader("KEPAK", kPackVersion, kFormatText,
                        "Incorrect pack file version, current is " + FormatUnsigned(kPackVersion));
    const std::uint32_t count = m_file->ReadU32();
    m_log->Message("......It contains " + FormatUnsigned(count) + " files...");
    if (count * kMinimumEntryBytes > m_file->GetRemaining())
        throw FileError(kFormatText);

    std::vector<std::string> names(count);
    for (std::string& name : names) {
        name = m_file->ReadString();
        ToLowerInPlace(name);
    }
    std::vector<std::uint8_t> pairs(8u * count);
    m_file->Read(8u * count, pairs.data());
    for (std::uint32_t i = 0; i < count; ++i) {
        const Entry entry{LoadLE32(&pairs[8u * i]), LoadLE32(&pairs[8u * i + 4])};
        if (std::uint64_t(entry.offset) + entry.size > m_file->GetSize())
            throw FileError(kFormatText);
        m_directory.emplace(names[i], entry);
    }
}

const PackFile::Entry* PackFile::Find(const std::string& name) const
{
    const auto it = m_directory.find(ToLower(name));
    return it == m_directory.end() ? nullptr : &it->second;
}

bool PackFile::Exists(const std::string& name) const
{
    return Find(name) != nullptr;
}

void PackFile::GetSize(const std::string& name, std::uint32_t& size) const
{
    if (const Entry* entry = Find(name))
        size = entry->size;
}

void PackFile::ReadEntry(const std::string& name, void* buffer)
{
    const Entry* entry = Find(name);
    if (!entry || !m_file)
        return;
    m_file->Seek(FileBinary::SeekFromStart, entry->offset);
    m_file->Read(entry->size, buffer);
}

void PackFile::ListFolder(const std::string& folder, const std::string& pattern, std::vector<std::string>& list) const
{
    std::string prefix = ToLower(folder);
    if (prefix.empty() || prefix.back() != '\\')
        prefix += '\\';
    std::string rest = ToLower(pattern);
    if (const std::size_t star = rest.find('*'); star != std::string::npos)
        rest.erase(star, 1);
    for (const auto& [name, entry] : m_directory) {
        if (name.compare(0, prefix.size(), prefix) == 0 && name.find(rest, prefix.size()) != std::string::npos)
            list.push_back(name);
    }
}

void PackFile::Close()
{
    m_file.reset();
    m_directory.clear();
}

} // namespace KeystrelEngine
