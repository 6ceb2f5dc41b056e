// The registry of the Win32 stand-in: two read-only hives kept as ini files.
//
// The local-machine hive is "registry.ini" beside the program (what an installer writes); the current-user hive
// is $XDG_CONFIG_HOME/keystrel/registry.ini (else ~/.config/keystrel/registry.ini). KEYSTREL_REGISTRY_MACHINE
// and KEYSTREL_REGISTRY_USER name other files. A missing file is an empty hive; the other roots hold nothing.
//
// A section is a key path below its root ("[SOFTWARE\Tarrowby Games\Quellhaven]") and holds that key's values,
// one "Name=text" line each: a REG_SZ, or a REG_DWORD when the text is "dword:" and up to eight hexadecimal
// digits. Paths and value names match without regard to case. A key exists when a section names it or a key
// below it. The file is read when a key is opened; the opened key keeps what it read.
//
// The machine hive also plays the installer's part for a product's key, SOFTWARE\<maker>\<product>: the key always
// exists there, and when neither hive holds its "Language" the machine hive answers the one an installer would
// have chosen from the locale (LC_ALL, LC_MESSAGES, LANG, the first set and not empty): "ge" for de, "ru", "fr",
// "it", "sp" for es, "en" for anything else.
#pragma once

#include "platform/win32/Types.h"

using HKEY = struct HKEY__*;

extern const HKEY HKEY_CLASSES_ROOT;
extern const HKEY HKEY_CURRENT_USER;
extern const HKEY HKEY_LOCAL_MACHINE;
extern const HKEY HKEY_USERS;
extern const HKEY HKEY_CURRENT_CONFIG;

constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_DWORD = 4;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_MORE_DATA = 234;

// Opens the key at the path below an open key or a root; an empty path opens a new handle of the same key.
LONG RegOpenKeyA(HKEY key, LPCSTR subKey, HKEY* result);

// A REG_SZ comes with its terminating zero, a REG_DWORD as four little-endian bytes. Without data only the size
// is told; a buffer too small gets ERROR_MORE_DATA and the size needed. `reserved` is ignored.
LONG RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);

// Closing a root does nothing.
LONG RegCloseKey(HKEY key);
