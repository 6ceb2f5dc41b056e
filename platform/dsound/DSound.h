// The DirectSound stand-in: the device, primary and secondary buffers, duplicates, the 3D listener and 3D
// buffers, over our own mixer (Mixer.h). Output goes to SDL2 audio, or to a silent clock when no audio device
// opens, or (tests) to a manual output rendered on request (platform/testing.h).
#pragma once

#include "platform/win32/Types.h"

using D3DVALUE = float;

// Result codes ------------------------------------------------------------------------------------------------

constexpr HRESULT DS_OK = S_OK;
constexpr HRESULT DSERR_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000Au);
constexpr HRESULT DSERR_ALREADYINITIALIZED = static_cast<HRESULT>(0x88780082u);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096u);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
constexpr HRESULT DSERR_GENERIC = E_FAIL;
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
constexpr HRESULT DSERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DSERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
constexpr HRESULT DSERR_NOINTERFACE = E_NOINTERFACE;
constexpr HRESULT DSERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x887800A0u);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DSERR_PRIOLEVELNEEDED = static_cast<HRESULT>(0x88780046u);
constexpr HRESULT DSERR_UNINITIALIZED = static_cast<HRESULT>(0x887800AAu);
constexpr HRESULT DSERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);

// Flags and limits --------------------------------------------------------------------------------------------

constexpr DWORD DSSCL_PRIORITY = 2;

constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x1;
constexpr DWORD DSBCAPS_STATIC = 0x2;
constexpr DWORD DSBCAPS_CTRL3D = 0x10;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x80;
constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x10000;

constexpr DWORD DSBPLAY_LOOPING = 0x1;

constexpr DWORD DSBSTATUS_PLAYING = 0x1;
constexpr DWORD DSBSTATUS_BUFFERLOST = 0x2;
constexpr DWORD DSBSTATUS_LOOPING = 0x4;

constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;

constexpr DWORD DS3D_IMMEDIATE = 0;
constexpr DWORD DS3D_DEFERRED = 1;

// Set in DSCAPS::dwFlags when no audio device could be opened and the device plays to a silent clock.
constexpr DWORD DSCAPS_EMULDRIVER = 0x20;

constexpr GUID DS3DALG_DEFAULT = GUID_NULL;
extern const IID IID_IDirectSound3DListener;
extern const IID IID_IDirectSound3DBuffer;

constexpr WORD WAVE_FORMAT_PCM = 1;

// Structures --------------------------------------------------------------------------------------------------

struct WAVEFORMATEX
{
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};

struct DSBUFFERDESC
{
    DWORD dwSize; // sizeof(DSBUFFERDESC)
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    WAVEFORMATEX* lpwfxFormat;
    GUID guid3DAlgorithm;
};

struct DSCAPS
{
    DWORD dwSize; // sizeof(DSCAPS)
    DWORD dwFlags;
};

// Interfaces --------------------------------------------------------------------------------------------------

struct IDirectSoundBuffer : IUnknown
{
    virtual HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) = 0;
    virtual HRESULT GetStatus(DWORD* status) = 0;
    // Hands out the region [offset, offset + bytes) of the ring: up to the end of the buffer in the first part,
    // the rest from its start in the second. What is written there takes effect on Unlock.
    virtual HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2, DWORD* bytes2,
                         DWORD flags) = 0;
    // A buffer that is playing already keeps its cursor; only its loop flag changes.
    virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    virtual HRESULT SetCurrentPosition(DWORD position) = 0;
    virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;
    // Hundredths of a decibel, DSBVOLUME_MIN to DSBVOLUME_MAX.
    virtual HRESULT SetVolume(LONG volume) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2) = 0;
    virtual HRESULT Restore() = 0;
};

struct IDirectSound3DListener : IUnknown
{
    virtual HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) = 0;
    virtual HRESULT SetOrientation(D3DVALUE frontX, D3DVALUE frontY, D3DVALUE frontZ, D3DVALUE topX, D3DVALUE topY,
                                   D3DVALUE topZ, DWORD apply) = 0;
    // Applies every deferred listener and 3D-buffer setting of the device.
    virtual HRESULT CommitDeferredSettings() = 0;
};

struct IDirectSound3DBuffer : IUnknown
{
    virtual HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) = 0;
};

struct IDirectSound : IUnknown
{
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                                      IUnknown* outer) = 0;
    virtual HRESULT GetCaps(DSCAPS* caps) = 0;
    // The duplicate shares the original's sample memory and has a cursor, loop flag and volume of its own.
    virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
};

// Opens the default audio device (device must be null: only the default device exists).
HRESULT DirectSoundCreate(GUID* device, IDirectSound** directSound, IUnknown* outer);
