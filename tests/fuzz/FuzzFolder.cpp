#include "tests/fuzz/FuzzFolder.h"

#include "platform/testing.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace Fuzzing {

const FuzzFolder& FuzzFolder::Get()
{
    static const FuzzFolder folder;
    return folder;
}

FuzzFolder::FuzzFolder()
{
    std::string pattern = (fs::temp_directory_path() / "quellhaven-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create the fuzz folder");
    m_root = pattern;
    m_base = m_root + "/base";
    for (const char* sub : {"/base", "/home", "/xdg-data", "/xdg-config", "/xdg-cache"})
        fs::create_directories(m_root + sub);
    ::setenv("HOME", (m_root + "/home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (m_root + "/xdg-data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (m_root + "/xdg-config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (m_root + "/xdg-cache").c_str(), 1);
    PlatformTesting::SetModuleFileName(m_base + "/quellhaven");
}

FuzzFolder::~FuzzFolder()
{
    std::error_code error;
    fs::remove_all(m_root, error);
}

void FuzzFolder::Write(const std::string& name, const std::uint8_t* data, std::size_t size) const
{
    const fs::path path = m_base + "/" + name;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void FuzzFolder::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    Write(name, bytes.data(), bytes.size());
}

std::vector<std::uint8_t> FuzzFolder::Read(const std::string& name) const
{
    std::ifstream in(m_base + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace Fuzzing
