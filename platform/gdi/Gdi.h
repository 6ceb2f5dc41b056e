// GDI of the stand-in: only what the window grab needs. A memory device context compatible with a window's, a
// bitmap in the display's format (32 bits a pixel) selected into it, BitBlt from the window into the bitmap, and
// GetDIBits to read the bitmap out as a device-independent bitmap.
//
// What a window shows is the last frame its presenter showed in it (GdiHost.h): the Direct3D stand-in's
// presentation, or a frame a test scripts. Where a window shows no frame (nothing presented yet, or a frame
// smaller than the window), it shows its class background, which for the engine's window is the stock black
// brush: the grab reads black there, as a grab of a freshly opened window does on Windows.
#pragma once

#include "platform/win32/Types.h"

using HBITMAP = struct HBITMAP__*;

struct BITMAPINFOHEADER
{
    DWORD biSize = 0;
    LONG biWidth = 0;
    LONG biHeight = 0; // positive: rows bottom-up
    WORD biPlanes = 0;
    WORD biBitCount = 0;
    DWORD biCompression = 0;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "the header is stored in files as it is in memory");

struct RGBQUAD
{
    BYTE rgbBlue = 0;
    BYTE rgbGreen = 0;
    BYTE rgbRed = 0;
    BYTE rgbReserved = 0;
};

struct BITMAPINFO
{
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

// Uncompressed pixels; the value files store.
constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;
// The only raster operation offered: the source copied unchanged.
constexpr DWORD SRCCOPY = 1;

// A memory context compatible with the window's context (or the screen's for null). It starts with a stock
// 1 x 1 bitmap selected, which the stand-in does not draw into.
HDC CreateCompatibleDC(HDC context);
// A bitmap of the display's format, black. context must be a window's context.
HBITMAP CreateCompatibleBitmap(HDC context, int width, int height);
// Selects a bitmap into a memory context and returns the one it replaces; null when the context or the bitmap is
// unknown, or the bitmap is selected into another context.
HGDIOBJ SelectObject(HDC context, HGDIOBJ object);
// Copies a rectangle of a window (source: its context) into the bitmap of a memory context, clipped to both;
// only SRCCOPY. FALSE when the window's frame cannot be read.
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD operation);
// Reads lines of a bitmap, counted from its bottom row, as a 32-bit BI_RGB bitmap (rows bottom-up, bytes blue,
// green, red, unused) whose width and height are the bitmap's. Returns the number of lines copied; 0 for any other
// request.
int GetDIBits(HDC context, HBITMAP bitmap, UINT firstLine, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage);
// Deletes a bitmap (not while selected into a context; stock objects are left alone).
BOOL DeleteObject(HGDIOBJ object);
BOOL DeleteDC(HDC context);
