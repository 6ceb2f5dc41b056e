// The one door to stored data: names open from the disk below the base folder or, when the disk does not have
// them, from the pack files of the data folder.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace KeystrelEngine {

class FileBinary;
class FileTextual;
class MessageManager;
class PackFile;

class FileManager
{
public:
    // installPath: the base folder (empty: the program's folder); the packs are the "*.pak" files of
    // base folder + "\" + dataFolder.
    FileManager(MessageManager* log, const std::string& installPath, const std::string& dataFolder);
    virtual ~FileManager();

    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;

    // The caller owns the result. Throws FileError when the file cannot be opened.
    std::unique_ptr<FileBinary> OpenBinary(const std::string& name, bool forWriting, bool loadWhole = false);
    std::unique_ptr<FileTextual> OpenTextual(const std::string& name, bool forWriting);

    // Every save of a player's file takes this road: write makes the contents in memory, then they replace the disk
    // file name (see SafeSave.h), its folders made on the way. A failure anywhere, write's own FileError included,
    // is logged as one error line naming the file and the system's reason, and false comes back; the file on disk
    // is then as it was, and the caller keeps its state, so its next save tries again. Nothing is thrown.
    bool SaveFile(const std::string& name, const std::function<void(FileBinary&)>& write);
    // Saves below the folder are off: it could not be made, and the program has said so once. They are still tried
    // (the folder may come), but a failure below it is no longer logged.
    void SetSavesOff(const std::string& folder) { m_savesOffFolder = folder; }

    // Copies the disk file name to name + ".bad"; whatever stood at that name (an older copy, a link) is removed
    // first, never written through. One warning gives why, then the copy's name or why it could not be made.
    // Nothing is thrown; false when the copy could not be made, so that the caller leaves the file as it is.
    bool KeepBadCopy(const std::string& name, const std::string& why);

    bool FindInPacks(const std::string& name, std::uint32_t* size = nullptr, void* buffer = nullptr);
    bool FileExists(const std::string& name);
    // Appends the matching disk files (full paths) and pack entries (relative names), each name once.
    void ListFiles(const std::string& folder, const std::string& pattern, std::vector<std::string>& list);

    // The disk path a name opens at: absolute names unchanged, others below the base folder.
    std::string MakeDiskPath(const std::string& name) const;
    const std::string& GetBaseFolder() const { return m_baseFolder; }

    static bool FileExistsOnDisk(const std::string& name);
    // The roaming application-data folder, made when missing. A folder that could not be made is named all the same
    // (every write below it fails, and the caller says why); empty when the system names none.
    static std::string GetUserFolder();
    // Creates every folder of path up to its last separator, from the root down. Returns why the first folder that
    // is not there afterwards could not be made, naming it and the system's reason (a dangling link is not there:
    // its target is missing); empty when every folder is there.
    static std::string CreateDirectories(const std::string& path);
    // Deletes a folder and everything in it, silently. Empty paths, the root, the home folder and the program's
    // folder are refused.
    static void DeleteFolder(const std::string& path);

private:
    MessageManager* m_log;
    std::string m_baseFolder;
    std::vector<std::unique_ptr<PackFile>> m_packs;
    std::string m_savesOffFolder; // empty while saves are on everywhere
};

// The text after the first '.' of the name's last component; empty without one.
std::string GetFileExtension(const std::string& name);
// Replaces everything after that '.', or removes it with an empty extension; appends "." + extension without one.
void ReplaceFileExtension(std::string& name, const std::string& extension);
// The text before the last backslash; empty without one.
std::string GetFolderPart(const std::string& path);
// "data\" + name for names that name no drive.
std::string MakeDataPath(const std::string& name);
// The program's folder + "\" + name for names that name no drive.
std::string MakeAbsolutePath(const std::string& name);

} // namespace KeystrelEngine
