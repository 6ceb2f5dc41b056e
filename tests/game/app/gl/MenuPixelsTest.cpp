// Every menu model set on the GL back end at 800 x 600, one GUI unit a pixel: each set's frame with its controls
// unfolded, and a caption on every control but the scrolls. Each control's own model is drawn, its hit area lies
// on what is drawn, and its caption prints inside its own model: the pixels a caption changes lie in the text
// areas, and every captioned control has some. Saved for people to look at, with and without the captions.
#include "engine/gui/Engine.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIManager.h"
#include "tests/game/app/MenuFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

#include <algorithm>

using KeystrelEngine::GUIRect;
using KeystrelEngine::GUIWindow;
using KeystrelEngine::Image;
using Wispfold::FrameKind;
using Wispfold::GUIControl;
using Wispfold::GUIMenuWindow;

namespace {

using namespace AppTesting;

GUIRect AbsoluteRect(const GUIWindow& window, const GUIRect& relative)
{
    const KeystrelEngine::GUIPoint origin = window.GetAbsolutePosition();
    return {origin.x + relative.x, origin.y + relative.y, relative.width, relative.height};
}

bool Contains(const GUIRect& rect, float x, float y, float slack = 0.0f)
{
    return x >= rect.x - slack && y >= rect.y - slack && x < rect.x + rect.width + slack &&
           y < rect.y + rect.height + slack;
}

// How many of the rectangle's pixels differ between the two pictures, and how many it has.
std::pair<int, int> Changed(const Image& a, const Image& b, const GUIRect& rect)
{
    int changed = 0, all = 0;
    for (auto y = static_cast<std::uint32_t>(rect.y + 1.0f); y + 1.0f < rect.y + rect.height; ++y) {
        for (auto x = static_cast<std::uint32_t>(rect.x + 1.0f); x + 1.0f < rect.x + rect.width; ++x) {
            changed += PixelDifference(a, b, x, y) > 30 ? 1 : 0;
            ++all;
        }
    }
    return {changed, all};
}

float ChangedShare(const Image& a, const Image& b, const GUIRect& rect)
{
    const auto [changed, all] = Changed(a, b, rect);
    return all == 0 ? 0.0f : static_cast<float>(changed) / static_cast<float>(all);
}

class MenuControlPixels : public AppPixelFixture<MenuFixture>
{
protected:
    // A frame in which every control but the scrolls gets the caption "OK", when asked.
    void CaptionFrame(GUIMenuWindow& window, bool captions)
    {
        PlatformTesting::AdvanceFakeClock(kFrameTime);
        engine->Update();
        window.Update();
        for (const auto& control : window.GetControls()) {
            if (captions && control.get() != window.GetFrame() && !control->GetScroll())
                control->GetWidget()->AddTextKey(3, 1, "OK", -1, 0.0f, -1.0f, {}, window.m_colour);
        }
        engine->EndFrame();
    }

    static GUIRect OwnRect(const GUIControl& control)
    {
        const GUIWindow& widget = *control.GetWidget();
        if (control.GetScroll())
            return AbsoluteRect(widget, {0.0f, 0.0f, widget.m_size.width, widget.m_size.height});
        return AbsoluteRect(widget, widget.m_hitArea);
    }
};

TEST_F(MenuControlPixels, EveryControlOfEveryMenuSetShowsItsWidgetHitAreaAndCaptionOverItsModel)
{
    CaptionFrame(MakeWindow(FrameKind::BigWindow), false); // a window never opened draws nothing
    const Image empty = Grab("empty.bmp");
    windows.clear();

    for (const MenuSet& set : MenuSets()) {
        SCOPED_TRACE(set.name);
        GUIMenuWindow& window = MakeWindow(set);
        for (const auto& control : window.GetControls()) {
            // A box without its blinking caret, so that two pictures differ by their captions alone.
            if (KeystrelEngine::GUIEditBox* box = control->GetEditBox())
                box->m_active = false;
        }
        window.RequestOpen();
        manager->m_frameFree = true;
        ASSERT_LE(FramesUntil([&] { return window.m_colour.a == 1.0f; }, {&window}), 40);
        CaptionFrame(window, true);
        const Image captioned = Grab(set.name + ".bmp");
        CaptionFrame(window, false);
        const Image plain = Grab(set.name + "_plain.bmp");

        for (const auto& control : window.GetControls()) {
            const GUIWindow& widget = *control->GetWidget();
            ASSERT_TRUE(widget.IsVisible());
            // The own model is drawn (it changes most of its rectangle), and so is the middle of the hit area.
            const GUIRect own = OwnRect(*control);
            EXPECT_GT(ChangedShare(plain, empty, own), 0.3f) << static_cast<int>(control->GetKind());
            const GUIRect hit = control->GetScroll() ? own : AbsoluteRect(widget, widget.m_hitArea);
            EXPECT_GT(PixelDifference(plain, empty, static_cast<std::uint32_t>(hit.x + 0.5f * hit.width),
                                      static_cast<std::uint32_t>(hit.y + 0.5f * hit.height)),
                      30);
            if (control.get() == window.GetFrame() || control->GetScroll())
                continue;
            // The caption prints in the control's text area, over its model.
            const GUIRect text = AbsoluteRect(widget, widget.m_extraRect);
            EXPECT_GT(Changed(captioned, plain, text).first, 40);
        }
        // Every pixel a caption changed lies in some captioned control's text area.
        int stray = 0;
        for (std::uint32_t y = 0; y < 600; ++y) {
            for (std::uint32_t x = 0; x < 800; ++x) {
                if (PixelDifference(captioned, plain, x, y) <= 30)
                    continue;
                const auto& controls = window.GetControls();
                const bool inArea = std::any_of(controls.begin() + 1, controls.end(), [&](const auto& control) {
                    const GUIWindow& widget = *control->GetWidget();
                    return Contains(AbsoluteRect(widget, widget.m_extraRect), static_cast<float>(x),
                                    static_cast<float>(y), 2.0f);
                });
                stray += inArea ? 0 : 1;
            }
        }
        EXPECT_EQ(stray, 0);

        window.CloseFrame();
        ASSERT_LE(FramesUntil([&] { return manager->m_frameFree; }, {&window}), 20);
        Frame({&window}); // the last controls fold away
        Frame({&window});
        // Nothing of the set stays on screen.
        const Image after = Grab(set.name + "_gone.bmp");
        EXPECT_LT(ChangedShare(after, empty, {0.0f, 0.0f, 800.0f, 600.0f}), 0.0001f);
    }
}

} // namespace
