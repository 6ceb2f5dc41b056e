#include "platform/win32/HostPath.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace Win32Host {
namespace {

bool Exists(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// The entry of folder whose name equals component without regard to case; empty when there is none.
std::string FindNoCase(const std::string& folder, std::string_view component)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return {};
    std::vector<std::string> matches;
    while (dirent* entry = ::readdir(dir)) {
        if (CompareNoCase(entry->d_name, component) == 0)
            matches.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    if (matches.empty())
        return {};
    return *std::min_element(matches.begin(), matches.end());
}

unsigned char Lower(char c)
{
    return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

int CompareNoCase(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = Lower(a[i]), y = Lower(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool WildcardMatch(std::string_view pattern, std::string_view name)
{
    if (pattern == "*.*")
        return true;
    // Iterative match with one backtrack point for the last '*'.
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string ToHostPath(std::string_view name)
{
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty() || Exists(path))
        return path;

    std::string resolved;
    std::size_t start = 0;
    if (path[0] == '/') {
        resolved = "/";
        start = 1;
    }
    bool resolving = true;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string component = path.substr(start, end - start);
        if (resolving && !component.empty() && component != "." && component != "..") {
            const std::string candidate = resolved + component;
            if (!Exists(candidate)) {
                std::string match = FindNoCase(resolved, component);
                if (match.empty())
                    resolving = false;
                else
                    component = match;
            }
        }
        resolved += component;
        if (end < path.size())
            resolved += '/';
        start = end + 1;
    }
    return resolved;
}

std::string ToHostEntryPath(std::string_view name)
{
    const std::size_t separator = name.find_last_of("\\/");
    if (separator == std::string_view::npos)
        return std::string(name);
    return ToHostPath(name.substr(0, separator)) + "/" + std::string(name.substr(separator + 1));
}

} // namespace Win32Host
