// The back end for tests without GL: render targets are plain memory, Clear fills their colour, draws are only
// recorded (by the device), and presentation does nothing beyond the call the surface records.
#pragma once

#include "platform/ddraw/Backend.h"

namespace DDrawHost {

class RecordingBackend final : public Backend
{
public:
    void CreateRenderTarget(Surface& target) override;
    void DestroyRenderTarget(Surface& target) override;
    void ForgetTexture(Surface& /*texture*/) override {}
    void Clear(Surface& target, Surface* depth, const D3DVIEWPORT7& viewport, DWORD flags, D3DCOLOR colour,
               float z) override;
    void Draw(Surface& target, Surface* depth, DeviceState& state, const DrawCall& draw) override;
    void ReadPixels(Surface& source, Surface& destination) override;
    void Present(Surface& source, HWND window, bool vsync) override;
};

} // namespace DDrawHost
