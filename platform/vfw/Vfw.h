// Video for Windows of the stand-in: the AVIFile calls that record a movie, over our own RIFF AVI 1.0 writer
// (AviWriter.h).
//
// What Linux does differently:
// - No codecs are installed. AVISaveOptions shows no dialog: it chooses uncompressed frames ("DIB "), which
//   AVIMakeCompressedStream passes through unchanged, and answers as if the user had confirmed.
// - Files are only written: AVIFileOpenA needs OF_WRITE | OF_CREATE. A file holds one video stream whose format is
//   set once, before its first frame, and frames are appended in order.
// - A file stops growing at 1 GiB: AVI 1.0 counts sizes and index offsets in 32 bits, which many readers take
//   as signed, and 1 GiB stays well inside what every reader accepts. A write that would pass it fails with
//   AVIERR_FILEWRITE, and the file written so far stays valid.
#pragma once

#include "platform/win32/Types.h"

using FOURCC = DWORD;

constexpr FOURCC mmioFOURCC(char a, char b, char c, char d)
{
    return static_cast<FOURCC>(static_cast<BYTE>(a)) | static_cast<FOURCC>(static_cast<BYTE>(b)) << 8 |
           static_cast<FOURCC>(static_cast<BYTE>(c)) << 16 | static_cast<FOURCC>(static_cast<BYTE>(d)) << 24;
}

constexpr FOURCC streamtypeVIDEO = mmioFOURCC('v', 'i', 'd', 's');

constexpr HRESULT AVIERR_OK = S_OK;
constexpr HRESULT AVIERR_UNSUPPORTED = static_cast<HRESULT>(0x8004A001u);
constexpr HRESULT AVIERR_BADFORMAT = static_cast<HRESULT>(0x8004A002u);
constexpr HRESULT AVIERR_BADPARAM = static_cast<HRESULT>(0x8004A003u);
constexpr HRESULT AVIERR_BADSIZE = static_cast<HRESULT>(0x8004A004u);
constexpr HRESULT AVIERR_FILEWRITE = static_cast<HRESULT>(0x8004A005u);
constexpr HRESULT AVIERR_FILEOPEN = static_cast<HRESULT>(0x8004A006u);
constexpr HRESULT AVIERR_NOCOMPRESSOR = static_cast<HRESULT>(0x8004A007u);

// The library's version: major and minor number in the high word (1.10 is 0x010A).
DWORD VideoForWindowsVersion();

// The library needs no start-up here; the calls only pair up as the program makes them.
void AVIFileInit();
void AVIFileExit();

struct IAVIFile;
struct IAVIStream;
using PAVIFILE = IAVIFile*;
using PAVISTREAM = IAVIStream*;

constexpr UINT OF_WRITE = 0x0001;
constexpr UINT OF_CREATE = 0x1000;

// Creates (or empties) the file. handler must be null.
HRESULT AVIFileOpenA(PAVIFILE* file, LPCSTR name, UINT mode, const GUID* handler);
// The last release of a file, after the release of its streams, writes its index and its final sizes.
ULONG AVIFileRelease(PAVIFILE file);

struct AVISTREAMINFOA
{
    FOURCC fccType = 0;
    DWORD dwScale = 0;
    DWORD dwRate = 0; // frames per second = rate / scale
    DWORD dwSuggestedBufferSize = 0;
    RECT rcFrame;
};

// The file's one stream; only streamtypeVIDEO.
HRESULT AVIFileCreateStreamA(PAVIFILE file, PAVISTREAM* stream, AVISTREAMINFOA* info);
ULONG AVIStreamRelease(PAVISTREAM stream);

struct AVICOMPRESSOPTIONS
{
    FOURCC fccType = 0;
    FOURCC fccHandler = 0;
};
using LPAVICOMPRESSOPTIONS = AVICOMPRESSOPTIONS*;

// Fills one set of options per stream and returns TRUE (the user's confirmation); FALSE for a cancelled choice.
BOOL AVISaveOptions(HWND window, UINT flags, int streamCount, PAVISTREAM* streams, LPAVICOMPRESSOPTIONS* options);
// A stream that hands its frames, compressed by the chosen codec, to source. Only "DIB " is installed.
HRESULT AVIMakeCompressedStream(PAVISTREAM* compressed, PAVISTREAM source, AVICOMPRESSOPTIONS* options,
                                const GUID* handler);

// The frame format: a BITMAPINFOHEADER of uncompressed (BI_RGB) pixels and its colour table; position 0 only.
HRESULT AVIStreamSetFormat(PAVISTREAM stream, LONG position, LPVOID format, LONG size);

constexpr DWORD AVIIF_KEYFRAME = 0x10; // stored in the file's index

// Appends one frame at position start (the number of frames written so far), of exactly the format's image size.
HRESULT AVIStreamWrite(PAVISTREAM stream, LONG start, LONG samples, LPVOID buffer, LONG bufferSize, DWORD flags,
                       LONG* samplesWritten, LONG* bytesWritten);
