#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiHost.h"
#include "platform/testing.h"
#include "platform/win32/Win32.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

using PlatformTesting::GdiCall;

namespace {

constexpr int kWidth = 4;
constexpr int kHeight = 3;

LRESULT Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// 0xRRGGBB values that differ in every channel from pixel to pixel, top row first.
std::vector<std::uint32_t> Pattern(int width, int height)
{
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.push_back(0x102030u * static_cast<std::uint32_t>(i + 1) & 0xFFFFFFu);
    return pixels;
}

BITMAPINFO DibRequest(int width, int height, WORD bits = 32)
{
    BITMAPINFO info;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A 32-bit bottom-up DIB of the given size, read back.
struct Dib
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    // The pixel at column x of row y counted from the top, as 0xRRGGBB.
    std::uint32_t At(int x, int y) const
    {
        const std::uint8_t* pixel = &bytes[(static_cast<std::size_t>(height - 1 - y) * width + x) * 4];
        return std::uint32_t{pixel[2]} << 16 | pixel[1] << 8 | pixel[0];
    }
};

class WindowGrabTest : public ::testing::Test
{
protected:
    WindowGrabTest()
    {
        WNDCLASSA windowClass;
        windowClass.lpfnWndProc = Default;
        windowClass.lpszClassName = "Grabbed";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "Grabbed", "Grab", WS_CAPTION, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr,
                                 nullptr);
        context = GetDC(window);
    }

    ~WindowGrabTest() override
    {
        PlatformTesting::ForgetPresentedFrames();
        PlatformTesting::ClearGdiFailures();
        ReleaseDC(window, context);
        DestroyWindow(window);
        UnregisterClassA("Grabbed", nullptr);
    }

    // What the screen capture does: the whole client area into a compatible bitmap, read out as a 32-bit
    // bottom-up DIB. Every object made is deleted again.
    Dib Grab()
    {
        Dib dib{kWidth, kHeight, std::vector<std::uint8_t>(kWidth * kHeight * 4, 0xEE)};
        const HDC memory = CreateCompatibleDC(context);
        const HBITMAP bitmap = CreateCompatibleBitmap(context, kWidth, kHeight);
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        EXPECT_TRUE(BitBlt(memory, 0, 0, kWidth, kHeight, context, 0, 0, SRCCOPY));
        SelectObject(memory, previous);
        BITMAPINFO info = DibRequest(kWidth, kHeight);
        EXPECT_EQ(kHeight, GetDIBits(context, bitmap, 0, kHeight, dib.bytes.data(), &info, DIB_RGB_COLORS));
        EXPECT_TRUE(DeleteObject(bitmap));
        EXPECT_TRUE(DeleteDC(memory));
        EXPECT_EQ(0, PlatformTesting::LiveGdiObjects());
        return dib;
    }

    HWND window = nullptr;
    HDC context = nullptr;
};

TEST_F(WindowGrabTest, ReadsThePresentedFrameBottomUpInDibByteOrder)
{
    const std::vector<std::uint32_t> frame = Pattern(kWidth, kHeight);
    PlatformTesting::PresentFrame(window, kWidth, kHeight, frame);
    const Dib dib = Grab();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            EXPECT_EQ(frame[y * kWidth + x], dib.At(x, y)) << x << ", " << y;
    }
    // The first bytes are the bottom-left pixel: blue, green, red, then an unused zero.
    const std::uint32_t bottomLeft = frame[(kHeight - 1) * kWidth];
    EXPECT_EQ(
        (std::vector<std::uint8_t>{static_cast<std::uint8_t>(bottomLeft), static_cast<std::uint8_t>(bottomLeft >> 8),
                                   static_cast<std::uint8_t>(bottomLeft >> 16), 0}),
        std::vector<std::uint8_t>(dib.bytes.begin(), dib.bytes.begin() + 4));
}

TEST_F(WindowGrabTest, WhatNoFrameCoversIsTheBlackBackground)
{
    for (const std::uint8_t byte : Grab().bytes)
        ASSERT_EQ(0, byte);

    // A smaller frame lies in the top-left corner; a larger one is cut to the window.
    const std::vector<std::uint32_t> small = Pattern(2, 2);
    PlatformTesting::PresentFrame(window, 2, 2, small);
    Dib dib = Grab();
    EXPECT_EQ(small[0], dib.At(0, 0));
    EXPECT_EQ(small[3], dib.At(1, 1));
    EXPECT_EQ(0u, dib.At(2, 0));
    EXPECT_EQ(0u, dib.At(0, 2));

    const std::vector<std::uint32_t> large = Pattern(6, 5);
    PlatformTesting::PresentFrame(window, 6, 5, large);
    dib = Grab();
    EXPECT_EQ(large[0], dib.At(0, 0));
    EXPECT_EQ(large[2 * 6 + 3], dib.At(3, 2));
}

TEST_F(WindowGrabTest, BlitsAreClippedToTheBitmapAndTheWindow)
{
    const std::vector<std::uint32_t> frame = Pattern(kWidth, kHeight);
    PlatformTesting::PresentFrame(window, kWidth, kHeight, frame);
    const HDC memory = CreateCompatibleDC(context);
    const HBITMAP bitmap = CreateCompatibleBitmap(context, kWidth, kHeight);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    // Two cells right and one down in the bitmap, from one cell right in the window.
    EXPECT_TRUE(BitBlt(memory, 2, 1, kWidth, kHeight, context, 1, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(memory, -9, -9, 4, 4, context, 0, 0, SRCCOPY)); // entirely outside
    SelectObject(memory, previous);
    Dib dib{kWidth, kHeight, std::vector<std::uint8_t>(kWidth * kHeight * 4)};
    BITMAPINFO info = DibRequest(kWidth, kHeight);
    ASSERT_EQ(kHeight, GetDIBits(context, bitmap, 0, kHeight, dib.bytes.data(), &info, DIB_RGB_COLORS));
    EXPECT_EQ(0u, dib.At(1, 1));
    EXPECT_EQ(frame[1], dib.At(2, 1));
    EXPECT_EQ(frame[kWidth + 2], dib.At(3, 2));
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// The interface a presenter (the GL back end) feeds the grab through.
class FailingPresenter final : public GdiHost::FrameSource
{
public:
    GdiHost::FrameSize GetFrameSize() override { return {kWidth, kHeight}; }
    bool ReadFrame(std::uint8_t* /*pixels*/) override { return false; }
};

TEST_F(WindowGrabTest, AFrameThatCannotBeReadOrAScriptedFailureFailsTheBlit)
{
    const HDC memory = CreateCompatibleDC(context);
    const HBITMAP bitmap = CreateCompatibleBitmap(context, kWidth, kHeight);
    const HGDIOBJ previous = SelectObject(memory, bitmap);

    FailingPresenter presenter;
    GdiHost::SetFrameSource(window, &presenter);
    EXPECT_FALSE(BitBlt(memory, 0, 0, kWidth, kHeight, context, 0, 0, SRCCOPY));
    GdiHost::SetFrameSource(window, nullptr);
    EXPECT_TRUE(BitBlt(memory, 0, 0, kWidth, kHeight, context, 0, 0, SRCCOPY));

    PlatformTesting::FailGdiCall(GdiCall::BitBlt);
    EXPECT_FALSE(BitBlt(memory, 0, 0, kWidth, kHeight, context, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(memory, 0, 0, kWidth, kHeight, context, 0, 0, SRCCOPY));

    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

} // namespace
