// The folder the loaders of a fuzz target read from, made once per process below the temporary folder and removed
// when the process ends. It is the program's folder (the file manager's base folder), and HOME and the XDG
// folders point below it, so nothing a loader or the configuration does reaches the user's own files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Fuzzing {

class FuzzFolder
{
public:
    static const FuzzFolder& Get();

    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    // The base folder as a Linux path without a final slash.
    const std::string& GetBase() const { return m_base; }
    // Writes the bytes as the file at name ('/'-separated, below the base folder), creating its folders.
    void Write(const std::string& name, const std::uint8_t* data, std::size_t size) const;
    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::vector<std::uint8_t> Read(const std::string& name) const;

private:
    FuzzFolder();
    ~FuzzFolder();

    std::string m_root;
    std::string m_base;
};

} // namespace Fuzzing
