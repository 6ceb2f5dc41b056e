// A generator makes one kind of content: it names every file it writes (with the engine class that reads it)
// and then writes them. Generators run side by side, each on its own thread, so Write must touch nothing but
// the data folder it is given.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace Content {

class DataFolder;

struct ManifestEntry
{
    // The name the engine opens, relative to the data folder: lower case, backslashes ("audio\menu\x.wav").
    std::string name;
    // The engine class that reads the file ("SoundFileReaderWAV").
    std::string reader;
};

class Generator
{
public:
    virtual ~Generator() = default;

    virtual std::vector<ManifestEntry> Files() const = 0;
    virtual void Write(DataFolder& folder) const = 0;

    // The files the generator reads while it runs (font files, text sources): the stamp covers them together
    // with the program, so a changed input makes the data stale.
    virtual std::vector<std::filesystem::path> Inputs() const { return {}; }
};

} // namespace Content
