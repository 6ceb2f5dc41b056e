// ANSI code pages of the Win32 stand-in. The active ANSI code page is 1252 unless the game switches it (1251 for
// Russian text). Every code page offered is single-byte; bytes a code page leaves undefined convert to nothing.
#pragma once

#include "platform/win32/Types.h"

constexpr UINT CP_ACP = 0;

UINT GetACP();

// The run-time library's multibyte code page, which the stand-in makes the active ANSI code page as well: ANSI
// conversions and typed characters follow it. Only 1252 and 1251 are offered; 0 on success, -1 otherwise.
int _setmbcp(int codePage);

// Converts srcLength bytes (-1: up to and including the terminating zero). Bytes without a character are left out.
// With dstLength 0 only the length is returned.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcLength, WCHAR* dst, int dstLength);

// Converts srcLength units (-1: up to and including the terminating zero). A unit the code page cannot hold
// becomes the default character (or '?'), and *usedDefault is set when given.
int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* src, int srcLength, char* dst, int dstLength,
                        const char* defaultChar, BOOL* usedDefault);
