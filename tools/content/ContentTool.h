// The content tool writes every file the game reads into one data folder. The folder carries a stamp naming the
// build of the tool (and the inputs its generators read) that filled it; a run whose stamp matches and whose
// listed files are all there leaves the folder alone, so build scripts and test set-ups can call the tool every
// time.
#pragma once

#include "tools/content/Generator.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace Content {

class ContentTool
{
public:
    static constexpr const char* kStampName = "content.stamp";

    enum class Outcome
    {
        Written,
        UpToDate
    };

    // Registers every generator.
    ContentTool();
    // A tool of the given generators only.
    explicit ContentTool(std::vector<std::unique_ptr<Generator>> generators);

    // Every file the tool writes, in generator order.
    std::vector<ManifestEntry> Manifest() const;

    // Brings the folder up to date for the build named by identity. A folder that holds files but no stamp
    // is not the tool's and is refused; the tool's own folder is emptied before it is filled anew. Throws
    // std::runtime_error (or what a generator throws) on failure; the stamp then stays stale.
    Outcome Run(const std::filesystem::path& folder, const std::string& identity) const;

    // A hash of the program file's bytes and of every generator input: any rebuild that changes the tool, and
    // any change of an input, changes it. Throws std::runtime_error when a file cannot be read.
    std::string Identity(const std::filesystem::path& program) const;

private:
    bool IsUpToDate(const std::filesystem::path& folder, const std::string& stamp) const;
    void Generate(const std::filesystem::path& folder) const;

    std::vector<std::unique_ptr<Generator>> m_generators;
};

} // namespace Content
