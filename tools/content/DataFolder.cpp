#include "tools/content/DataFolder.h"

#include <fstream>
#include <stdexcept>

namespace Content {

DataFolder::DataFolder(std::filesystem::path root, const std::vector<ManifestEntry>& manifest) : m_root(std::move(root))
{
    for (const ManifestEntry& entry : manifest)
        m_pending.insert(entry.name);
}

void DataFolder::Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const std::filesystem::path path = Claim(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write \"" + path.string() + "\"");
}

std::filesystem::path DataFolder::Claim(const std::string& name)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_pending.erase(name) == 0)
            throw std::runtime_error("\"" + name + "\" is not listed in the manifest or was written twice");
    }
    const std::filesystem::path path = DiskPath(m_root, name);
    std::filesystem::create_directories(path.parent_path());
    return path;
}

std::vector<std::string> DataFolder::Missing() const
{
    const std::lock_guard lock(m_mutex);
    return {m_pending.begin(), m_pending.end()};
}

std::filesystem::path DataFolder::DiskPath(const std::filesystem::path& root, const std::string& name)
{
    std::filesystem::path path = root;
    std::size_t from = 0;
    for (std::size_t at = name.find('\\'); at != std::string::npos; at = name.find('\\', from)) {
        path /= name.substr(from, at - from);
        from = at + 1;
    }
    return path / name.substr(from);
}

} // namespace Content
