// One read-only pack (".pak"): a name directory over plainly stored files.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace KeystrelEngine {

class FileBinary;
class MessageManager;

class PackFile
{
public:
    struct Entry
    {
        std::uint32_t offset;
        std::uint32_t size;
    };

    // Loads the directory; logs and throws an Error with an empty text when the pack is unusable.
    PackFile(const std::string& path, MessageManager* log);
    virtual ~PackFile();

    bool Exists(const std::string& name) const;
    void GetSize(const std::string& name, std::uint32_t& size) const;
    // Copies the entry's bytes into buffer (at least the entry's size); throws FileError when the pack is short.
    void ReadEntry(const std::string& name, void* buffer);
    // Appends every name below folder (sub-folders included) whose remainder holds the pattern without its first
    // '*' anywhere.
    void ListFolder(const std::string& folder, const std::string& pattern, std::vector<std::string>& list) const;
    void Close();

private:
    void Load(const std::string& path);
    const Entry* Find(const std::string& name) const;

    MessageManager* m_log;
    std::unique_ptr<FileBinary> m_file;
    std::map<std::string, Entry> m_directory; // lower-case names
};

} // namespace KeystrelEngine
