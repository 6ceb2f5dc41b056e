#include "tests/fuzz/SeedFolder.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace Fuzzing {

SeedFolder::SeedFolder(std::string path) : m_path(std::move(path))
{
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

void SeedFolder::Add(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(m_path + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write the seed " + m_path + "/" + name);
    ++m_count;
}

} // namespace Fuzzing
