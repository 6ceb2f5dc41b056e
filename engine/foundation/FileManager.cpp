// How a name is found. An absolute name (a drive letter, or a leading '/' on Linux) is opened as it is; any
// other name is tried on disk below the base folder first, and only when the disk does not have it in the pack
// files, in the order the packs were found (case-insensitive sorted file names), the first pack that holds the
// name answering. Pack names match without regard to case and with doubled backslashes folded, so
// "Data\\UI\\A.jpg" finds data\ui\a.jpg. Files are written to disk only, creating their folders on the way.
#include "FileManager.h"

#include "Error.h"
#include "FileBinary.h"
#include "FileTextual.h"
#include "MessageManager.h"
#include "PackFile.h"
#include "SafeSave.h"
#include "StringUtils.h"
#include "platform/win32/Win32.h"

#include <cerrno>
#include <cstring>
#include <unordered_set>

namespace KeystrelEngine {
namespace {

std::string WithBackslash(std::string folder)
{
    if (folder.empty() || !IsPathSeparator(folder.back()))
        folder += '\\';
    return folder;
}

// Appends the files of folder that match pattern, and those of its sub-folders whose names match it too. Links
// to folders are neither listed nor followed: two links that lead back into the folder would never end the walk.
void ListDisk(const std::string& folder, const std::string& pattern, std::vector<std::string>& list)
{
    _finddata_t found;
    const intptr_t search = _findfirst((WithBackslash(MakeAbsolutePath(folder)) + pattern).c_str(), &found);
    if (search == -1)
        return;
    const std::string prefix = WithBackslash(folder);
    do {
        if (!(found.attrib & _A_SUBDIR))
            list.push_back(prefix + found.name);
        else if (found.name != "." && found.name != ".." && !(found.attrib & FILE_ATTRIBUTE_REPARSE_POINT))
            ListDisk(prefix + found.name, pattern, list);
    } while (_findnext(search, &found) == 0);
    _findclose(search);
}

std::string PackKey(const std::string& name)
{
    std::string key = ToLower(name);
    ReplaceAll(key, "\\\\", "\\");
    return key;
}

// Where the last path component starts (names may hold Linux folders with dots, such as ~/.local/share).
std::size_t LastComponent(const std::string& name)
{
    const std::size_t separator = name.find_last_of(kPathSeparators);
    return separator == std::string::npos ? 0 : separator + 1;
}

// True when path names something inside folder (never for an empty folder).
bool IsBelow(const std::string& path, const std::string& folder)
{
    return !folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           IsPathSeparator(path[folder.size()]);
}

} // namespace

FileManager::FileManager(MessageManager* log, const std::string& installPath, const std::string& dataFolder)
    : m_log(log), m_baseFolder(installPath.empty() ? GetApplicationFolder() : installPath)
{
    m_log->Message("Initialization of File Manager...");
    const std::string packFolder = dataFolder.empty() ? m_baseFolder : m_baseFolder + "\\" + dataFolder;
    std::vector<std::string> packPaths;
    ListDisk(packFolder, "*.pak", packPaths);
    for (const std::string& path : packPaths) {
        try {
            m_packs.push_back(std::make_unique<PackFile>(path, m_log));
        } catch (const Error&) {
            // The pack has logged why; the others stay usable.
        }
    }
}

FileManager::~FileManager() = default;

std::string FileManager::MakeDiskPath(const std::string& name) const
{
    return IsAbsoluteName(name) ? name : m_baseFolder + "\\" + name;
}

std::unique_ptr<FileBinary> FileManager::OpenBinary(const std::string& name, bool forWriting, bool loadWhole)
{
    const std::string path = MakeDiskPath(name);
    if (forWriting) {
        CreateDirectories(path);
        return std::make_unique<FileBinary>(path, true, false);
    }
    std::uint32_t size = 0;
    if (!FileExistsOnDisk(path) && FindInPacks(name, &size)) {
        std::vector<std::uint8_t> bytes(size);
        FindInPacks(name, nullptr, bytes.data());
        return std::make_unique<FileBinary>(path, size, bytes.data());
    }
    return std::make_unique<FileBinary>(path, false, loadWhole);
}

std::unique_ptr<FileTextual> FileManager::OpenTextual(const std::string& name, bool forWriting)
{
    return std::make_unique<FileTextual>(OpenBinary(name, forWriting),
                                         forWriting ? FileTextual::ModeWrite : FileTextual::ModeRead);
}

bool FileManager::SaveFile(const std::string& name, const std::function<void(FileBinary&)>& write)
{
    const std::string path = MakeDiskPath(name);
    try {
        FileBinary contents(path);
        write(contents);
        CreateDirectories(path);
        ReplaceFileContents(path, contents.GetData());
        return true;
    } catch (const FileError& error) {
        if (!IsBelow(path, m_savesOffFolder))
            m_log->Error(error.GetText());
        return false;
    }
}

bool FileManager::KeepBadCopy(const std::string& name, const std::string& why)
{
    const std::string kept = name + ".bad";
    try {
        const std::unique_ptr<FileBinary> original = OpenBinary(name, false, true);
        std::vector<std::uint8_t> bytes(original->GetSize());
        original->Read(original->GetSize(), bytes.data());
        DeleteFolder(MakeDiskPath(kept));
        const std::unique_ptr<FileBinary> copy = OpenBinary(kept, true);
        copy->Write(static_cast<std::uint32_t>(bytes.size()), bytes.data());
        copy->Close();
        m_log->Warning(why + "; the file is kept as \"" + kept + "\"");
        return true;
    } catch (const FileError& error) {
        m_log->Warning(why + "; failed to keep the file as \"" + kept + "\": " + error.GetText());
        return false;
    }
}

bool FileManager::FindInPacks(const std::string& name, std::uint32_t* size, void* buffer)
{
    const std::string key = PackKey(name);
    for (const auto& pack : m_packs) {
        if (!pack->Exists(key))
            continue;
        if (size)
            pack->GetSize(key, *size);
        if (buffer)
            pack->ReadEntry(key, buffer);
        return true;
    }
    return false;
}

bool FileManager::FileExists(const std::string& name)
{
    return FileExistsOnDisk(MakeDiskPath(name)) || FindInPacks(name);
}

void FileManager::ListFiles(const std::string& folder, const std::string& pattern, std::vector<std::string>& list)
{
    if (folder.empty())
        return;
    ListDisk(ContainsDrive(folder) ? folder : m_baseFolder + "\\" + folder, pattern, list);
    for (const auto& pack : m_packs)
        pack->ListFolder(folder, pattern, list);

    std::unordered_set<std::string> seen;
    std::vector<std::string> unique;
    for (std::string& name : list) {
        if (!name.empty() && seen.insert(ToLower(name)).second)
            unique.push_back(std::move(name));
    }
    list = std::move(unique);
}

bool FileManager::FileExistsOnDisk(const std::string& name)
{
    const std::string path = IsAbsoluteName(name) ? name : GetApplicationFolder() + "\\" + name;
    return _access(path.c_str(), 0) == 0;
}

std::string FileManager::GetUserFolder()
{
    std::string folder;
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return folder;
}

// A folder that could not be made because its name is taken is there only when the name is a folder (or a link to
// one): its "." entry exists. A file in its place fails that test with "not a directory", a dangling link with "no
// such file", and the walk stops at it rather than at the first folder below it.
std::string FileManager::CreateDirectories(const std::string& path)
{
    for (std::size_t at = path.find_first_of(kPathSeparators, 1); at != std::string::npos;
         at = path.find_first_of(kPathSeparators, at + 1)) {
        const std::string folder = path.substr(0, at);
        if (CreateDirectoryA(folder.c_str(), nullptr))
            continue;
        const int reason = errno;
        if (_access((folder + "\\.").c_str(), 0) == 0)
            continue;
        return "Failed to create \"" + ToMessagePath(folder) +
               "\" folder: " + std::strerror(reason == EEXIST ? errno : reason);
    }
    return {};
}

void FileManager::DeleteFolder(const std::string& path)
{
    if (path.empty())
        return;
    std::string from = IsAbsoluteName(path) ? path : GetApplicationFolder() + "\\" + path;
    from.append(2, '\0');
    SHFILEOPSTRUCTA operation;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    SHFileOperationA(&operation);
}

std::string GetFileExtension(const std::string& name)
{
    const std::size_t dot = name.find('.', LastComponent(name));
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

void ReplaceFileExtension(std::string& name, const std::string& extension)
{
    const std::size_t dot = name.find('.', LastComponent(name));
    if (dot != std::string::npos)
        name.resize(extension.empty() ? dot : dot + 1);
    else if (!extension.empty())
        name += '.';
    name += extension;
}

std::string GetFolderPart(const std::string& path)
{
    const std::size_t slash = path.find_last_of(kPathSeparators);
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string MakeDataPath(const std::string& name)
{
    return ContainsDrive(name) ? name : "data\\" + name;
}

std::string MakeAbsolutePath(const std::string& name)
{
    return ContainsDrive(name) ? name : GetApplicationFolder() + "\\" + name;
}

} // namespace KeystrelEngine
