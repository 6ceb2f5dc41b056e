// Hooks through which tests decide what the "system" reports. Production code never includes this header.
#pragma once

#include "platform/dsound/DSound.h"
#include "platform/win32/Win32.h"

#include <cstdint>
#include <string>

namespace PlatformTesting {

// The program file GetModuleFileNameA reports (its folder is the program folder); empty restores the real one.
void SetModuleFileName(const std::string& path);

// A fixed local time for GetLocalTime; null restores the real clock.
void SetLocalTime(const SYSTEMTIME* time);

// The active ANSI code page (1252 or 1251).
void SetAnsiCodePage(UINT codePage);

// DirectSound ----------------------------------------------------------------------------------------------------

// The device and buffer calls a test can make fail.
enum class SoundCall
{
    Create,     // DirectSoundCreate
    OpenOutput, // opening the SDL audio device: the device then plays to a silent clock
    SetCooperativeLevel,
    CreatePrimaryBuffer,
    SetFormat,    // of the primary buffer
    GetListener,  // QueryInterface of the primary buffer for the 3D listener
    CreateBuffer, // a secondary buffer
    DuplicateBuffer,
    Get3DBuffer, // QueryInterface of a secondary buffer for its 3D buffer
    GetStatus,
    GetCurrentPosition,
    Lock,
    Restore,
    CommitDeferredSettings,
    Count
};

// Every later call of that kind fails with code (S_OK lets it succeed again).
void FailSoundCall(SoundCall call, HRESULT code);
void ClearSoundFailures();

// Devices created afterwards mix for a manual output at this rate (frames per second) instead of SDL audio;
// 0 goes back to SDL audio. The output advances only when RenderSoundOutput asks.
void UseManualSoundOutput(unsigned rate);
// Renders frames of interleaved 16-bit stereo from the last device created with a manual output (silence when
// there is none).
void RenderSoundOutput(std::int16_t* stereo, std::uint32_t frames);

// Every existing buffer, primary and secondary, becomes lost: it stops, reports DSBSTATUS_BUFFERLOST, refuses
// Play and Lock with DSERR_BUFFERLOST until Restore, and its sample memory is cleared to zero bytes.
void LoseSoundBuffers();
// Buffers that are lost now.
int LostSoundBuffers();

// DirectSound objects (devices, buffers, listeners, 3D buffers) not yet released.
int LiveSoundObjects();

} // namespace PlatformTesting
