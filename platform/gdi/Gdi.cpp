// The window grab. Memory contexts and bitmaps are records behind numbered handles; a window's context is its
// window handle (GetDC), so BitBlt finds the window, asks the window's presenter for the frame it showed last and
// copies it over the window's black background into the bitmap. Bitmaps keep their rows bottom-up in the DIB
// byte order, so GetDIBits copies lines unchanged.
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiHost.h"
#include "platform/testing.h"
#include "platform/win32/WindowHost.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

using GdiHost::FrameSize;
using PlatformTesting::GdiCall;

namespace {

constexpr std::uintptr_t kFirstObjectHandle = 0x40000000;
constexpr int kLargestBitmapSide = 16384;
constexpr std::size_t kBytesPerPixel = 4;
const HGDIOBJ kStockBitmap = reinterpret_cast<HGDIOBJ>(std::uintptr_t{0x30});

// Pixels of 4 bytes (blue, green, red, unused), rows bottom-up.
struct PixelRows
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    void Resize(int newWidth, int newHeight)
    {
        width = newWidth;
        height = newHeight;
        bytes.resize(static_cast<std::size_t>(width) * height * kBytesPerPixel);
    }
    std::size_t RowSize() const { return static_cast<std::size_t>(width) * kBytesPerPixel; }
    std::uint8_t* RowFromTop(int row) { return bytes.data() + (height - 1 - row) * RowSize(); }
};

struct Bitmap
{
    PixelRows pixels;
    HDC selectedInto = nullptr;
};

// A frame a test presents in a window.
class ScriptedFrame final : public GdiHost::FrameSource
{
public:
    ScriptedFrame(int width, int height, const std::vector<std::uint32_t>& topDownRgb)
    {
        m_pixels.Resize(width, height);
        for (int row = 0; row < height; ++row) {
            std::uint8_t* out = m_pixels.RowFromTop(row);
            for (int column = 0; column < width; ++column, out += kBytesPerPixel) {
                const std::size_t at = static_cast<std::size_t>(row) * width + column;
                const std::uint32_t rgb = at < topDownRgb.size() ? topDownRgb[at] : 0;
                out[0] = static_cast<std::uint8_t>(rgb);
                out[1] = static_cast<std::uint8_t>(rgb >> 8);
                out[2] = static_cast<std::uint8_t>(rgb >> 16);
                out[3] = 0xFF; // as the alpha of a GL frame buffer
            }
        }
    }

    FrameSize GetFrameSize() override { return {m_pixels.width, m_pixels.height}; }
    bool ReadFrame(std::uint8_t* pixels) override
    {
        std::copy(m_pixels.bytes.begin(), m_pixels.bytes.end(), pixels);
        return true;
    }

private:
    PixelRows m_pixels;
};

struct Gdi
{
    std::map<HDC, HGDIOBJ> contexts; // memory contexts and the object selected into each
    std::map<HBITMAP, Bitmap> bitmaps;
    std::map<HWND, GdiHost::FrameSource*> sources;
    std::map<HWND, std::unique_ptr<ScriptedFrame>> scripted;
    std::uintptr_t nextHandle = kFirstObjectHandle;
    std::array<int, static_cast<std::size_t>(GdiCall::Count)> failures{};
    PixelRows frame; // the last frame read from a presenter, kept to be reused
};

Gdi& State()
{
    static Gdi gdi;
    return gdi;
}

bool InjectedFailure(GdiCall call)
{
    int& left = State().failures[static_cast<std::size_t>(call)];
    if (left == 0)
        return false;
    --left;
    return true;
}

template <typename Handle> Handle NewHandle()
{
    return reinterpret_cast<Handle>(State().nextHandle++);
}

// The window a context draws into; null for memory contexts and unknown handles.
const Win32Host::WindowRecord* WindowOf(HDC context)
{
    return Win32Host::Lookup(reinterpret_cast<HWND>(context));
}

Bitmap* FindBitmap(HGDIOBJ object)
{
    const auto it = State().bitmaps.find(static_cast<HBITMAP>(object));
    return it == State().bitmaps.end() ? nullptr : &it->second;
}

// Reads the frame the window shows into State().frame (0 x 0 when it shows none). False when its presenter
// cannot read it.
bool ReadShownFrame(HWND window)
{
    PixelRows& frame = State().frame;
    const auto it = State().sources.find(window);
    const FrameSize size = it == State().sources.end() ? FrameSize{} : it->second->GetFrameSize();
    if (size.width <= 0 || size.height <= 0) {
        frame.Resize(0, 0);
        return true;
    }
    frame.Resize(size.width, size.height);
    return it->second->ReadFrame(frame.bytes.data());
}

// Copies one row of the window (row `sourceRow` from its top, columns from `sourceColumn`) into out: the shown
// frame where it reaches, black beyond. The display has no alpha: the unused byte is 0, whatever the frame holds
// there (a GL frame buffer keeps its alpha).
void CopyWindowRow(int sourceRow, int sourceColumn, int count, std::uint8_t* out)
{
    PixelRows& frame = State().frame;
    int covered = 0;
    if (sourceRow < frame.height) {
        covered = std::clamp(frame.width - sourceColumn, 0, count);
        std::memcpy(out, frame.RowFromTop(sourceRow) + sourceColumn * kBytesPerPixel, covered * kBytesPerPixel);
        for (int pixel = 0; pixel < covered; ++pixel)
            out[pixel * kBytesPerPixel + 3] = 0;
    }
    std::memset(out + covered * kBytesPerPixel, 0, (count - covered) * kBytesPerPixel);
}

} // namespace

HDC CreateCompatibleDC(HDC context)
{
    if (InjectedFailure(GdiCall::CreateCompatibleDC) || (context && !WindowOf(context)))
        return nullptr;
    const HDC handle = NewHandle<HDC>();
    State().contexts[handle] = kStockBitmap;
    return handle;
}

HBITMAP CreateCompatibleBitmap(HDC context, int width, int height)
{
    if (InjectedFailure(GdiCall::CreateCompatibleBitmap) || !WindowOf(context) || width <= 0 || height <= 0 ||
        width > kLargestBitmapSide || height > kLargestBitmapSide)
        return nullptr;
    const HBITMAP handle = NewHandle<HBITMAP>();
    State().bitmaps[handle].pixels.Resize(width, height);
    return handle;
}

HGDIOBJ SelectObject(HDC context, HGDIOBJ object)
{
    const auto selected = State().contexts.find(context);
    Bitmap* bitmap = FindBitmap(object);
    if (InjectedFailure(GdiCall::SelectObject) || selected == State().contexts.end() ||
        (!bitmap && object != kStockBitmap) || (bitmap && bitmap->selectedInto && bitmap->selectedInto != context))
        return nullptr;
    const HGDIOBJ previous = selected->second;
    if (Bitmap* old = FindBitmap(previous))
        old->selectedInto = nullptr;
    if (bitmap)
        bitmap->selectedInto = context;
    selected->second = object;
    return previous;
}

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD operation)
{
    const auto selected = State().contexts.find(destination);
    Bitmap* target = selected == State().contexts.end() ? nullptr : FindBitmap(selected->second);
    const Win32Host::WindowRecord* window = WindowOf(source);
    if (InjectedFailure(GdiCall::BitBlt) || operation != SRCCOPY || !target || !window ||
        !ReadShownFrame(window->handle))
        return FALSE;
    // The part of the rectangle that lies inside both the bitmap and the window's client area.
    PixelRows& pixels = target->pixels;
    const int firstColumn = std::max({0, -x, -sourceX});
    const int endColumn = std::min({width, pixels.width - x, window->width - sourceX});
    const int firstRow = std::max({0, -y, -sourceY});
    const int endRow = std::min({height, pixels.height - y, window->height - sourceY});
    for (int row = firstRow; row < endRow && firstColumn < endColumn; ++row) {
        CopyWindowRow(sourceY + row, sourceX + firstColumn, endColumn - firstColumn,
                      pixels.RowFromTop(y + row) + (x + firstColumn) * kBytesPerPixel);
    }
    return TRUE;
}

int GetDIBits(HDC context, HBITMAP bitmap, UINT firstLine, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage)
{
    const Bitmap* source = FindBitmap(bitmap);
    if (InjectedFailure(GdiCall::GetDIBits) || !source || !bits || !info || usage != DIB_RGB_COLORS ||
        (!WindowOf(context) && !State().contexts.count(context)))
        return 0;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    const PixelRows& pixels = source->pixels;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biBitCount != 32 ||
        header.biCompression != BI_RGB || header.biWidth != pixels.width || header.biHeight != pixels.height ||
        firstLine >= static_cast<UINT>(pixels.height))
        return 0;
    const UINT count = std::min(lines, static_cast<UINT>(pixels.height) - firstLine);
    std::memcpy(bits, pixels.bytes.data() + firstLine * pixels.RowSize(), count * pixels.RowSize());
    return static_cast<int>(count);
}

BOOL DeleteObject(HGDIOBJ object)
{
    if (object == kStockBitmap)
        return TRUE;
    const Bitmap* bitmap = FindBitmap(object);
    if (!bitmap || bitmap->selectedInto)
        return FALSE;
    State().bitmaps.erase(static_cast<HBITMAP>(object));
    return TRUE;
}

BOOL DeleteDC(HDC context)
{
    const auto selected = State().contexts.find(context);
    if (selected == State().contexts.end())
        return FALSE;
    if (Bitmap* bitmap = FindBitmap(selected->second))
        bitmap->selectedInto = nullptr;
    State().contexts.erase(selected);
    return TRUE;
}

void GdiHost::SetFrameSource(HWND window, FrameSource* source)
{
    if (source)
        State().sources[window] = source;
    else
        State().sources.erase(window);
}

void PlatformTesting::PresentFrame(HWND window, int width, int height, const std::vector<std::uint32_t>& topDownRgb)
{
    auto& frame = State().scripted[window];
    frame = std::make_unique<ScriptedFrame>(std::max(width, 0), std::max(height, 0), topDownRgb);
    GdiHost::SetFrameSource(window, frame.get());
}

void PlatformTesting::ForgetPresentedFrames()
{
    for (const auto& [window, frame] : State().scripted) {
        const auto source = State().sources.find(window);
        if (source != State().sources.end() && source->second == frame.get())
            State().sources.erase(source);
    }
    State().scripted.clear();
}

void PlatformTesting::FailGdiCall(GdiCall call, int times)
{
    State().failures[static_cast<std::size_t>(call)] = times;
}

void PlatformTesting::ClearGdiFailures()
{
    State().failures.fill(0);
}

int PlatformTesting::LiveGdiObjects()
{
    return static_cast<int>(State().contexts.size() + State().bitmaps.size());
}
