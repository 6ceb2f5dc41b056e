// The folder a target's seed corpus is written to when the target is built: one file per seed, named after the
// variant it holds. The folder is emptied first, so seeds a writer no longer makes do not linger.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Fuzzing {

class SeedFolder
{
public:
    explicit SeedFolder(std::string path);

    void Add(const std::string& name, const std::vector<std::uint8_t>& bytes);
    std::size_t GetCount() const { return m_count; }

private:
    std::string m_path;
    std::size_t m_count = 0;
};

} // namespace Fuzzing
