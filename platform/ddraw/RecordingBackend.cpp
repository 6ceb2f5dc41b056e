#include "platform/ddraw/RecordingBackend.h"

#include "platform/ddraw/PixelFormat.h"
#include "platform/ddraw/Surface.h"

#include <cstring>

namespace DDrawHost {

void RecordingBackend::CreateRenderTarget(Surface& /*target*/) {}

void RecordingBackend::DestroyRenderTarget(Surface& /*target*/) {}

// The colour is packed once into the first row of the viewport, which the other rows copy.
void RecordingBackend::Clear(Surface& target, Surface* /*depth*/, const D3DVIEWPORT7& viewport, DWORD flags,
                             D3DCOLOR colour, float /*z*/)
{
    if (!(flags & D3DCLEAR_TARGET) || viewport.dwWidth == 0 || viewport.dwHeight == 0)
        return;
    const DDPIXELFORMAT& format = target.GetDesc().ddpfPixelFormat;
    const DWORD size = BytesPerPixel(format);
    const std::array<std::uint8_t, 4> rgba = {static_cast<std::uint8_t>(colour >> 16),
                                              static_cast<std::uint8_t>(colour >> 8), static_cast<std::uint8_t>(colour),
                                              static_cast<std::uint8_t>(colour >> 24)};
    const auto row = [&target, &viewport, size](DWORD y) {
        return target.Pixels().data() + static_cast<std::size_t>(y) * target.GetPitch() + viewport.dwX * size;
    };
    std::uint8_t* first = row(viewport.dwY);
    PackPixel(first, format, rgba);
    for (DWORD x = 1; x < viewport.dwWidth; ++x)
        std::memcpy(first + x * size, first, size);
    const std::size_t rowBytes = static_cast<std::size_t>(viewport.dwWidth) * size;
    for (DWORD y = viewport.dwY + 1; y < viewport.dwY + viewport.dwHeight; ++y)
        std::memcpy(row(y), first, rowBytes);
}

void RecordingBackend::Draw(Surface& /*target*/, Surface* /*depth*/, DeviceState& state, const DrawCall& /*draw*/)
{
    state.dirty = 0;
}

void RecordingBackend::ReadPixels(Surface& source, Surface& destination)
{
    const DDPIXELFORMAT& from = source.GetDesc().ddpfPixelFormat;
    const DDPIXELFORMAT& to = destination.GetDesc().ddpfPixelFormat;
    const DWORD fromSize = BytesPerPixel(from);
    const DWORD toSize = BytesPerPixel(to);
    for (DWORD y = 0; y < source.GetDesc().dwHeight; ++y) {
        const std::uint8_t* in = source.Pixels().data() + static_cast<std::size_t>(y) * source.GetPitch();
        std::uint8_t* out = destination.Pixels().data() + static_cast<std::size_t>(y) * destination.GetPitch();
        for (DWORD x = 0; x < source.GetDesc().dwWidth; ++x)
            PackPixel(out + x * toSize, to, UnpackPixel(in + x * fromSize, from));
    }
}

void RecordingBackend::Present(Surface& /*source*/, HWND /*window*/, bool /*vsync*/) {}

} // namespace DDrawHost
