// What the game's GL picture tests share: a fixture of the game's tests run on the GL back end instead of the
// recording device, skipped without a GL device, over a dark purple clear colour; screen grabs saved for people to
// look at; the difference of two pictures at one pixel, and the changed pixels in a box of the picture, such as the
// box a GUI rectangle covers on the screen; the screen drawn again without some part.
#pragma once

#include "engine/foundation/Error.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Camera.h"
#include "engine/render/Model.h"
#include "engine/render/RenderSystem.h"
#include "game/app/GUIControl.h"
#include "platform/testing.h"
#include "tests/engine/render/gl/PixelFixture.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

namespace AppTesting {

// The summed red, green and blue difference of the pixel in column x, row y from the bottom.
inline int PixelDifference(const KeystrelEngine::Image& a, const KeystrelEngine::Image& b, std::uint32_t x,
                           std::uint32_t y)
{
    const auto p = RenderTesting::PixelFromBottom(a, x, y);
    const auto q = RenderTesting::PixelFromBottom(b, x, y);
    return std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
}

// Pixels of a picture: columns from left to right, rows (counted from the bottom) from bottom to top, the last ones
// left out.
struct PixelBox
{
    int left = 0, bottom = 0, right = 0, top = 0;

    int Area() const { return (right - left) * (top - bottom); }
};

// The pixels of the engine's window whose lower left corners lie in a rectangle of GUI units.
inline PixelBox OnScreen(const KeystrelEngine::Engine& engine, const KeystrelEngine::GUIRect& rect)
{
    const float sx = static_cast<float>(engine.m_window->m_width) / engine.m_gui->m_camera->m_width;
    const float sy = static_cast<float>(engine.m_window->m_height) / engine.m_gui->m_camera->m_height;
    const auto edge = [](float at) { return static_cast<int>(std::ceil(at)); };
    return {edge(rect.x * sx), edge(rect.y * sy), edge((rect.x + rect.width) * sx), edge((rect.y + rect.height) * sy)};
}

// Calls the function with the column and the row of every pixel of the box that lies in the picture.
template <class Function> void ForEachPixel(const KeystrelEngine::Image& picture, PixelBox box, Function function)
{
    for (int y = std::max(box.bottom, 0); y < std::min(box.top, static_cast<int>(picture.GetHeight())); ++y)
        for (int x = std::max(box.left, 0); x < std::min(box.right, static_cast<int>(picture.GetWidth())); ++x)
            function(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
}

// The pixels of the box whose summed red, green and blue differ between the pictures by more than the tolerance.
inline int ChangedPixels(const KeystrelEngine::Image& a, const KeystrelEngine::Image& b, PixelBox box,
                         int tolerance = 30)
{
    int changed = 0;
    ForEachPixel(b, box, [&](std::uint32_t x, std::uint32_t y) { changed += PixelDifference(a, b, x, y) > tolerance; });
    return changed;
}

// The whole picture as a box.
inline PixelBox Whole(const KeystrelEngine::Image& picture)
{
    return {0, 0, static_cast<int>(picture.GetWidth()), static_cast<int>(picture.GetHeight())};
}

// The engine's screen as drawn, saved under the file name when one is given.
inline KeystrelEngine::Image GrabScreen(KeystrelEngine::Engine& engine, const std::string& fileName = {})
{
    KeystrelEngine::Image image;
    engine.m_renderSystem->GrabScreen(image);
    if (!fileName.empty())
        RenderTesting::SaveTestPicture(image, fileName, *engine.m_files);
    return image;
}

// The engine's screen drawn once more as the last frame left it, no time passing, after the change: where the
// two pictures differ is what the change took away. Texts, which a window adds anew every frame, are not drawn
// again.
inline KeystrelEngine::Image RedrawnScreen(KeystrelEngine::Engine& engine, const std::function<void()>& change,
                                           const std::string& fileName)
{
    engine.m_timers->m_frameTime = 0.0f;
    change();
    engine.EndFrame();
    return GrabScreen(engine, fileName);
}

// Whether the control's model window is folding.
inline bool IsFolding(const Wispfold::GUIControl& control)
{
    const KeystrelEngine::AnimationControl& animation = control.GetModelWindow()->GetQuad()->GetAnimationControl();
    return animation.m_currentAnimation == Wispfold::GUIControl::kFold && animation.m_playing;
}

template <class Fixture> class AppPixelFixture : public Fixture
{
protected:
    AppPixelFixture() { PlatformTesting::UseRecordingDevice(false); }

    void SetUp() override
    {
        try {
            Fixture::SetUp();
        } catch (const KeystrelEngine::Error& error) {
            if (TestSupport::IsNoRenderDevice(error.GetText()))
                GTEST_SKIP() << "no GL device: " << error.GetText();
            FAIL() << error.GetText();
        }
        this->engine->m_renderSystem->m_clearColor = {0.25f, 0.0f, 0.25f, 1.0f};
    }

    // The screen as drawn, saved under the file name.
    KeystrelEngine::Image Grab(const std::string& fileName) { return GrabScreen(*this->engine, fileName); }
};

} // namespace AppTesting
