#include "SafeSave.h"

#include "Error.h"
#include "StringUtils.h"
#include "platform/win32/Win32.h"

#include <atomic>
#include <cerrno>
#include <cstring>

namespace KeystrelEngine {
namespace {

// A name that exists already (a stray of another writer, a planted link) is passed over for the next one.
constexpr int kNameTries = 16;

std::atomic<std::uint32_t> g_temporaryCount{0};

[[noreturn]] void ThrowSaveFailure(const std::string& path, int error)
{
    throw FileError("Failed to save \"" + path + "\" file: " + std::strerror(error));
}

std::FILE* CreateTemporary(const std::string& path, std::string& temporary)
{
    int error = EEXIST;
    for (int i = 0; i < kNameTries && error == EEXIST; ++i) {
        temporary =
            path + "." + FormatUnsigned(GetCurrentProcessId()) + "-" + FormatUnsigned(g_temporaryCount++) + ".tmp";
        std::FILE* file = nullptr;
        error = fopen_s(&file, temporary.c_str(), "wbx");
        if (error == 0)
            return file;
    }
    ThrowSaveFailure(path, error);
}

// 0, or the system's reason why the bytes did not all reach the temporary.
int WriteAndClose(std::FILE* file, const std::vector<std::uint8_t>& bytes)
{
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    const int error = written ? 0 : (errno ? errno : EIO);
    if (std::fclose(file) != 0 && error == 0)
        return errno ? errno : EIO;
    return error;
}

} // namespace

void ReplaceFileContents(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::string temporary;
    std::FILE* file = CreateTemporary(path, temporary);
    int error = WriteAndClose(file, bytes);
    if (error == 0) {
        errno = 0;
        if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        error = errno ? errno : EIO;
    }
    DeleteFileA(temporary.c_str());
    ThrowSaveFailure(path, error);
}

void RemoveStrayTemporaries(const std::string& folder)
{
    _finddata_t found;
    const intptr_t search = _findfirst((folder + "\\*.tmp").c_str(), &found);
    if (search == -1)
        return;
    do {
        if (!(found.attrib & _A_SUBDIR))
            DeleteFileA((folder + "\\" + found.name).c_str());
    } while (_findnext(search, &found) == 0);
    _findclose(search);
}

} // namespace KeystrelEngine
