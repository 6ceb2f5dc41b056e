// A data folder of links: every file of a data set linked in the same place below another folder, made anew. A
// test or benchmark may then replace, add or remove single files there without touching the set others share.
#pragma once

#include <filesystem>

namespace TestSupport {

inline void LinkDataFolder(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::filesystem::remove_all(to);
    for (const std::filesystem::directory_entry& entry : std::filesystem::recursive_directory_iterator(from)) {
        const std::filesystem::path target = to / std::filesystem::relative(entry.path(), from);
        if (entry.is_directory())
            std::filesystem::create_directories(target);
        else
            std::filesystem::create_symlink(entry.path(), target);
    }
}

} // namespace TestSupport
