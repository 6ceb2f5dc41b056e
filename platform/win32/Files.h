// Files, folders and shell services of the Win32 stand-in.
//
// Names keep the Windows conventions: backslashes separate folders and letters match without regard to case.
// Every call converts its names at this boundary (see HostPath.h), so the engine never sees a Linux path rule
// except one: a name that starts with '/' is absolute.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>
#include <cstdio>
#include <string>

// Runtime library ---------------------------------------------------------------------------------------------

// Existence test; mode 0 only asks whether the name exists. Returns 0 when it does, -1 with the system's reason in
// errno otherwise. Links are followed: a dangling one does not exist.
int _access(const char* path, int mode);

// Opens a buffered stream like fopen; returns 0 and sets *file on success, an errno value otherwise. An 'x' in a
// writing mode creates the file exclusively: a name that exists already, a link included, fails with EEXIST, and a
// link is never followed.
int fopen_s(FILE** file, const char* path, const char* mode);

constexpr int _O_RDWR = 0x2;
constexpr int _O_CREAT = 0x100;
constexpr int _SH_DENYNO = 0x40;
constexpr int _S_IREAD = 0x100;
constexpr int _S_IWRITE = 0x80;
// Opens a file descriptor; returns 0 and sets *descriptor on success, an errno value otherwise. A link is never
// followed. Sharing modes other than _SH_DENYNO have no Linux counterpart: exclusion takes _locking.
int _sopen_s(int* descriptor, const char* path, int openFlags, int shareFlags, int permission);
int _close(int descriptor);

constexpr int _LK_NBLCK = 2;
// Locks count bytes from the current position without waiting: 0 when taken, -1 with errno EACCES while another
// open of the file holds them. The lock belongs to this opening (a second opening in the same process is refused
// too) and the system drops it when the descriptor is closed or the process ends, however it ends.
int _locking(int descriptor, int mode, long count);

constexpr unsigned _A_SUBDIR = 0x10;
// A link: set beside _A_SUBDIR for a link to a folder, which a walk must not descend through (it may loop).
constexpr unsigned FILE_ATTRIBUTE_REPARSE_POINT = 0x400;

struct _finddata_t
{
    unsigned attrib = 0;
    std::uint64_t size = 0;
    std::string name;
};

// Wildcard search of one folder ('*' and '?', letters in any case). Entries come in case-insensitive sorted
// order, "." and ".." included as Windows reports them. Returns -1 when nothing matches.
intptr_t _findfirst(const char* pattern, _finddata_t* data);
int _findnext(intptr_t handle, _finddata_t* data); // 0 while entries remain, -1 at the end
int _findclose(intptr_t handle);

// Kernel ------------------------------------------------------------------------------------------------------

// On failure errno holds the system's reason (EEXIST when the name is taken, by a folder or anything else).
BOOL CreateDirectoryA(LPCSTR path, LPVOID securityAttributes);
// Deletes only a file of exactly the name's last component: one that differs in letter case is not this file.
BOOL DeleteFileA(LPCSTR path);

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;
// With MOVEFILE_WRITE_THROUGH the call returns once the move is on the disk: the file's data is flushed (fsync)
// before the rename, so the new name never shows a file whose data is still in the cache, and the target's folder
// after it, so the new entry itself is kept. A file that cannot be flushed is not moved. On failure errno holds the
// system's reason.
BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags);

// The program's own module for a null name; no other module is loaded by name.
HMODULE GetModuleHandleA(LPCSTR name);

// The full name of the program file. Linux has no module name buffer limit, so the name comes back whole.
DWORD GetModuleFileNameA(HMODULE module, std::string& fileName);

// Shell -------------------------------------------------------------------------------------------------------

constexpr int CSIDL_APPDATA = 0x001A;
constexpr int CSIDL_FLAG_CREATE = 0x8000;
constexpr DWORD SHGFP_TYPE_CURRENT = 0;

// CSIDL_APPDATA is the roaming application-data folder: $XDG_DATA_HOME, else ~/.local/share; CSIDL_FLAG_CREATE makes
// it when it is missing. E_FAIL when no absolute path names it. A named folder that is not there (it could not be
// made: a read-only home, a dangling link) gives S_FALSE, as the ANSI call does for a folder that does not exist,
// and its name all the same, so that the caller can say which folder failed.
HRESULT SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, std::string& path);

constexpr UINT FO_DELETE = 0x3;
constexpr WORD FOF_SILENT = 0x4;
constexpr WORD FOF_NOCONFIRMATION = 0x10;

struct SHFILEOPSTRUCTA
{
    HWND hwnd = nullptr;
    UINT wFunc = 0;
    LPCSTR pFrom = nullptr; // names separated by one zero, ended by two
    LPCSTR pTo = nullptr;
    WORD fFlags = 0;
};

// Only FO_DELETE is offered: a silent recursive delete of the entry of exactly the name's last component (never
// one that differs in letter case). A link is removed as a link, never followed. It refuses an empty name, the
// root, and every folder that is or holds the home folder, the data or configuration folder, the program's folder
// or the current folder, which no caller can mean to delete. Returns 0 on success.
int SHFileOperationA(SHFILEOPSTRUCTA* operation);
