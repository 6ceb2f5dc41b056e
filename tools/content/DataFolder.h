// The folder the tool fills. It accepts only the files the manifest lists, each once, from any thread, and
// knows at the end which listed files were never written.
#pragma once

#include "tools/content/Generator.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace Content {

class DataFolder
{
public:
    DataFolder(std::filesystem::path root, const std::vector<ManifestEntry>& manifest);

    // Writes the file of a listed engine name below the root, making its folders. Throws std::runtime_error for
    // a name the manifest does not list or one written before, and when the file cannot be written.
    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes);
    // Takes a listed name for a writer that makes the file itself (the engine's picture writer): returns its disk
    // path with its folders made. Throws as Write does.
    std::filesystem::path Claim(const std::string& name);

    // The listed names not written yet.
    std::vector<std::string> Missing() const;

    // The disk path of an engine name: backslashes become folder separators.
    static std::filesystem::path DiskPath(const std::filesystem::path& root, const std::string& name);

private:
    std::filesystem::path m_root;
    mutable std::mutex m_mutex;
    std::set<std::string> m_pending;
};

} // namespace Content
