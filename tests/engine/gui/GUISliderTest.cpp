// Sliders and scroll bars on the recording device: snapping, inverting and clamping the dragged thumb along x and
// y, fewer than two positions, disabling, the thumb's placement, colours and sounds, and the step buttons'
// repeats on frame time.
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUIScroll.h"
#include "engine/render/ShaderUser.h"
#include "tests/engine/gui/WidgetFixture.h"

using GUITesting::Mouse;
using KeystrelEngine::GUIButton;
using KeystrelEngine::GUIPoint;
using KeystrelEngine::GUIScroll;
using KeystrelEngine::GUISize;
using KeystrelEngine::GUISlider;
using KeystrelEngine::ShaderDescriptor;

namespace {

// The sliders lie at (100, 100) to (500, 120); the thumb, 40 x 20, runs from (120, 100) to (320, 100), so its
// window spans (120, 100) to (360, 120). The scroll's decrease button covers (100, 100) to (120, 120), its
// increase button (380, 100) to (400, 120).
constexpr float kY = 110.0f;
constexpr Mouse kOffTrack{450, kY};
constexpr Mouse kDecrease{110, kY, true, true};
constexpr Mouse kIncrease{390, kY, true, true};

class GUISliderTest : public GUITesting::WidgetFixture
{
protected:
    std::unique_ptr<GUISlider> Slider(std::uint32_t vertical = 0)
    {
        return Slider(vertical, {20, 0}, vertical ? GUIPoint{20, 200} : GUIPoint{220, 0});
    }

    std::unique_ptr<GUISlider> Slider(std::uint32_t vertical, GUIPoint trackStart, GUIPoint trackEnd)
    {
        auto slider = std::make_unique<GUISlider>(gui, guiSounds.get(), GUIPoint{100, 100}, GUISize{400, 20},
                                                  SourceQuad(ShaderDescriptor::FromTexture("slider.tga", 3, 1, "")),
                                                  nullptr, vertical, trackStart, trackEnd);
        slider->SetVisible(true);
        slider->SetThumb(SourceQuad(ShaderDescriptor()), GUISize{40, 20});
        return slider;
    }

    std::unique_ptr<GUIScroll> Scroll()
    {
        auto scroll =
            std::make_unique<GUIScroll>(gui, timers.get(), guiSounds.get(), GUIPoint{100, 100}, GUISize{400, 20},
                                        SourceQuad(ShaderDescriptor()), nullptr, 0, GUIPoint{20, 0}, GUIPoint{220, 0});
        scroll->SetVisible(true);
        scroll->SetThumb(SourceQuad(ShaderDescriptor()), GUISize{40, 20});
        scroll->SetDecreaseButton({0, 0}, {20, 20}, SourceQuad(ShaderDescriptor()));
        scroll->SetIncreaseButton({280, 0}, {20, 20}, SourceQuad(ShaderDescriptor()));
        scroll->m_positionCount = 20;
        timers->m_frameTime = 0.01f;
        return scroll;
    }

    // Presses the thumb at the first point, drags it through the others and releases it at the last; the
    // position after each point.
    static std::vector<std::uint32_t> Drag(GUISlider& slider, const std::vector<GUIPoint>& points)
    {
        std::vector<std::uint32_t> positions;
        for (std::size_t i = 0; i < points.size(); ++i) {
            slider.Update(points[i].x, points[i].y, true, i == 0);
            positions.push_back(slider.GetPosition());
        }
        slider.Update(points.back().x, points.back().y, false, false);
        return positions;
    }

    // The thumb quad's top-left corner after a draw.
    static GUIPoint ThumbCorner(GUISlider& slider)
    {
        slider.Draw();
        const KeystrelEngine::Matrix4 world = slider.GetThumb()->GetQuad()->GetOwnWorldMatrix();
        return {world.m[3], world.m[7]};
    }

    static void Hold(GUIScroll& scroll, const Mouse& mouse, int frames)
    {
        for (int i = 0; i < frames; ++i)
            scroll.Update(mouse.x, mouse.y, true, i == 0 && mouse.wentDown);
    }
};

TEST_F(GUISliderTest, TheThumbSnapsToTheNearestPositionAndClampsAtTheEnds)
{
    const auto slider = Slider();
    EXPECT_EQ(slider->GetThumb()->GetParent(), slider.get());
    EXPECT_FALSE(slider->GetThumb()->m_placeQuad);
    // Pressed on its middle, the thumb is held there: t = (x - 100 - 20 - 20) / 200.
    EXPECT_EQ(Drag(*slider, {{140, kY}, {239, kY}, {240, kY}, {200, kY}}), (std::vector<std::uint32_t>{0, 0, 1, 0}));
    EXPECT_FALSE(slider->IsPressed());

    slider->m_positionCount = 5;
    EXPECT_EQ(Drag(*slider, {{150, kY}, {1000, kY}, {-50, kY}, {189, kY}, {190, kY}, {339, kY}}),
              (std::vector<std::uint32_t>{0, 4, 0, 1, 1, 4}));

    slider->m_inverted = true;
    EXPECT_EQ(Drag(*slider, {{150, kY}, {140, kY}, {340, kY}}), (std::vector<std::uint32_t>{4, 4, 0}));
    // A press off the thumb's window moves nothing.
    slider->Update(kOffTrack.x, kOffTrack.y, true, true);
    slider->Update(150, kY, true, false);
    EXPECT_EQ(slider->GetPosition(), 0u);
}

TEST_F(GUISliderTest, AVerticalTrackTakesTheCursorByTheThumbsMiddleToo)
{
    const auto slider = Slider(1); // t = (y - 100 - 10) / 200
    slider->m_positionCount = 3;
    EXPECT_EQ(Drag(*slider, {{140, 110}, {140, 159}, {140, 160}, {140, 259}, {140, 260}}),
              (std::vector<std::uint32_t>{0, 0, 1, 1, 2}));
}

// A track runs from its start to its end towards either end of its axis; the thumb's window covers it all. A press
// on the track off the thumb takes the thumb's middle there.
TEST_F(GUISliderTest, ThumbAndTrackTakeTheMouseWhicheverWayTheTrackRuns)
{
    const struct
    {
        const char* name;
        std::uint32_t vertical;
        GUIPoint start;
        GUIPoint end;
    } tracks[] = {{"up", 1, {20, 0}, {20, 200}},
                  {"down", 1, {20, 200}, {20, 0}},
                  {"right", 0, {20, 0}, {220, 0}},
                  {"left", 0, {220, 0}, {20, 0}}};
    for (const auto& track : tracks) {
        SCOPED_TRACE(track.name);
        const auto slider = Slider(track.vertical, track.start, track.end);
        slider->m_positionCount = 3;
        // The middle of the thumb at the fraction t of the track, beyond the track for t outside [0, 1].
        const auto middle = [&](float t) {
            return GUIPoint{120.0f + track.start.x + t * (track.end.x - track.start.x),
                            110.0f + track.start.y + t * (track.end.y - track.start.y)};
        };
        EXPECT_EQ(Drag(*slider, {middle(0), middle(0.5f), middle(1), middle(1.5f), middle(-0.5f)}),
                  (std::vector<std::uint32_t>{0, 1, 2, 2, 0}));
        EXPECT_EQ(Drag(*slider, {middle(0.5f)}), std::vector<std::uint32_t>{1}) << "a press on the track";
        const GUIPoint corner = ThumbCorner(*slider);
        EXPECT_FLOAT_EQ(corner.x, middle(0.5f).x - 20.0f);
        EXPECT_FLOAT_EQ(corner.y, middle(0.5f).y - 10.0f);
        EXPECT_EQ(Drag(*slider, {middle(1)}), std::vector<std::uint32_t>{2}) << "a press on the track's end";

        // A position every 25 along the track, less than the thumb: a press anywhere on the drawn thumb holds it
        // there, so a click leaves it in place and a drag keeps the point taken under the pointer.
        slider->m_positionCount = 9;
        const GUIPoint step{(track.end.x - track.start.x) / 8, (track.end.y - track.start.y) / 8};
        for (const GUIPoint grip : {GUIPoint{1, 1}, GUIPoint{20, 10}, GUIPoint{39, 19}}) {
            SCOPED_TRACE(testing::Message() << "held at " << grip.x << ", " << grip.y);
            slider->SetPosition(3);
            const GUIPoint taken{ThumbCorner(*slider).x + grip.x, ThumbCorner(*slider).y + grip.y};
            const auto along = [&](float steps) {
                return GUIPoint{taken.x + steps * step.x, taken.y + steps * step.y};
            };
            EXPECT_EQ(Drag(*slider, {taken}), std::vector<std::uint32_t>{3}) << "a click on the thumb";
            EXPECT_EQ(Drag(*slider, {taken, along(2), along(-1)}), (std::vector<std::uint32_t>{3, 5, 2}));
            EXPECT_FLOAT_EQ(ThumbCorner(*slider).x + grip.x, along(-1).x);
            EXPECT_FLOAT_EQ(ThumbCorner(*slider).y + grip.y, along(-1).y);
        }
    }
}

TEST_F(GUISliderTest, TheThumbQuadLiesOnThePositionAlongTheTrack)
{
    const auto slider = Slider();
    slider->m_positionCount = 5;
    const struct
    {
        std::uint32_t position;
        bool inverted;
        float x;
    } cases[] = {{0, false, 120}, {2, false, 220}, {4, false, 320}, {0, true, 320}, {1, true, 270}};
    for (const auto& c : cases) {
        slider->m_inverted = c.inverted;
        slider->SetPosition(c.position);
        const GUIPoint corner = ThumbCorner(*slider);
        EXPECT_FLOAT_EQ(corner.x, c.x) << c.position << " " << c.inverted;
        EXPECT_FLOAT_EQ(corner.y, 100.0f);
    }
    const KeystrelEngine::Matrix4& world = slider->GetThumb()->GetQuad()->GetOwnWorldMatrix();
    EXPECT_FLOAT_EQ(world.m[0], 40.0f);
    EXPECT_FLOAT_EQ(world.m[5], 20.0f);
    slider->SetPosition(9);
    EXPECT_EQ(slider->GetPosition(), 4u);
}

TEST_F(GUISliderTest, FewerThanTwoPositionsGiveOnePositionAtTheStart)
{
    const auto slider = Slider();
    for (const std::uint32_t count : {1u, 0u}) {
        slider->m_positionCount = count;
        slider->m_inverted = false;
        slider->SetPosition(3);
        EXPECT_EQ(slider->GetPosition(), 0u);
        EXPECT_EQ(Drag(*slider, {{150, kY}, {340, kY}}), (std::vector<std::uint32_t>{0, 0}));
        EXPECT_FLOAT_EQ(ThumbCorner(*slider).x, 120.0f);
        slider->m_inverted = true;
        EXPECT_FLOAT_EQ(ThumbCorner(*slider).x, 320.0f);
    }
}

TEST_F(GUISliderTest, ADisabledSliderIgnoresTheMouseAndDisablesItsThumb)
{
    const auto slider = Slider();
    GUIButton* thumb = slider->GetThumb();
    EXPECT_ANY_THROW(slider->SetThumb(std::string("ui\\missing.mlf"), GUISize{10, 10}));
    EXPECT_EQ(slider->GetThumb(), thumb) << "the old thumb stays, and works on below";
    slider->Update(150, kY, false, false);
    EXPECT_EQ(slider->GetState(), GUISlider::kHover);
    slider->Draw();
    EXPECT_EQ(slider->GetQuad()->GetShaderUser()->GetPosition(0), 1.0f) << "the state's frame";
    slider->SetEnabled(false);
    EXPECT_EQ(slider->GetState(), GUISlider::kDisabled);
    EXPECT_EQ(slider->GetThumb()->GetState(), GUIButton::kDisabled);
    EXPECT_FALSE(slider->Update(150, kY, true, true));
    EXPECT_FALSE(slider->Update(340, kY, true, false));
    EXPECT_EQ(slider->GetPosition(), 0u);
    slider->Draw();
    EXPECT_EQ(slider->GetQuad()->GetShaderUser()->GetPosition(0), 2.0f);

    slider->SetVisible(false);
    slider->SetVisible(true);
    EXPECT_EQ(slider->GetState(), GUISlider::kDisabled) << "showing keeps it disabled";
    slider->SetEnabled(true);
    EXPECT_EQ(slider->GetThumb()->GetState(), GUIButton::kNormal);
    EXPECT_EQ(Drag(*slider, {{150, kY}, {340, kY}}), (std::vector<std::uint32_t>{0, 1}));
}

TEST_F(GUISliderTest, HeldStepButtonsStepInTheFrameOfThePressAndEveryFifteenHundredthsOfASecond)
{
    const auto scroll = Scroll();
    Hold(*scroll, kIncrease, 50); // 0.5 s at 100 frames a second
    EXPECT_EQ(scroll->GetPosition(), 4u);
    EXPECT_TRUE(scroll->IsPressed());
    scroll->Update(kIncrease.x, kIncrease.y, false, false);
    EXPECT_FALSE(scroll->IsPressed());

    // Dragged off the button, the steps stop; back on it, they go on from the frame it returns.
    scroll->m_step = 2;
    Hold(*scroll, kDecrease, 1);
    Hold(*scroll, kOffTrack, 30);
    EXPECT_EQ(scroll->GetPosition(), 2u);
    Hold(*scroll, {kDecrease.x, kY}, 1);
    EXPECT_EQ(scroll->GetPosition(), 0u);
    scroll->Update(kOffTrack.x, kY, false, false);

    // One frame of 0.5 s makes four steps at once.
    timers->m_frameTime = 0.5f;
    Hold(*scroll, kIncrease, 1);
    EXPECT_EQ(scroll->GetPosition(), 8u);
    scroll->Update(kOffTrack.x, kY, false, false);
    Hold(*scroll, kIncrease, 3);
    EXPECT_EQ(scroll->GetPosition(), 19u) << "at most the last position";
}

TEST_F(GUISliderTest, BothStepButtonsHeldMakeBothMovesInEveryRepeat)
{
    const auto scroll = Scroll();
    scroll->SetDecreaseButton({280, 0}, {20, 20}, nullptr); // on top of the increase button
    scroll->SetPosition(5);
    scroll->m_step = 3;
    timers->m_frameTime = 0.1f;
    Hold(*scroll, kIncrease, 1);
    EXPECT_EQ(scroll->GetPosition(), 5u);
    scroll->SetPosition(18);
    Hold(*scroll, {kIncrease.x, kY}, 2); // one more repeat: up to 19, down to 16
    EXPECT_EQ(scroll->GetPosition(), 16u);
}

TEST_F(GUISliderTest, ADisabledScrollDisablesItsStepButtons)
{
    const auto scroll = Scroll();
    scroll->SetEnabled(false);
    for (const GUIButton* button : {scroll->GetThumb(), scroll->GetIncreaseButton(), scroll->GetDecreaseButton()})
        EXPECT_EQ(button->GetState(), GUIButton::kDisabled);
    Hold(*scroll, kIncrease, 10);
    EXPECT_EQ(scroll->GetPosition(), 0u);
    scroll->SetEnabled(true);
    Hold(*scroll, kIncrease, 1);
    EXPECT_EQ(scroll->GetPosition(), 1u);
}

TEST_F(GUISliderTest, ColoursReachEveryPartAndEachPartHasItsSounds)
{
    const auto slider = Slider();
    const auto scroll = Scroll();
    const KeystrelEngine::Color colour{1.0f, 0.0f, 1.0f, 0.5f};
    slider->SetColour(colour);
    scroll->SetColour(colour);
    for (const KeystrelEngine::GUIWindow* part :
         {static_cast<KeystrelEngine::GUIWindow*>(slider.get()),
          static_cast<KeystrelEngine::GUIWindow*>(slider->GetThumb()),
          static_cast<KeystrelEngine::GUIWindow*>(scroll.get()),
          static_cast<KeystrelEngine::GUIWindow*>(scroll->GetThumb()),
          static_cast<KeystrelEngine::GUIWindow*>(scroll->GetIncreaseButton()),
          static_cast<KeystrelEngine::GUIWindow*>(scroll->GetDecreaseButton())}) {
        EXPECT_FLOAT_EQ(part->GetColour().g, 0.0f);
        EXPECT_NEAR(part->GetColour().a, 0.5f, 0.003f);
    }
    EXPECT_EQ(scroll->GetThumb()->GetLayer(), 2);
    EXPECT_LT(scroll->GetThumb()->GetDepth(), scroll->GetIncreaseButton()->GetDepth()) << "the thumb covers";

    // Leave every part, then come over it and press on it.
    const auto sounds = [&](KeystrelEngine::GUIWindow& widget, float x) {
        widget.Update(kOffTrack.x, kY, false, false);
        widget.Update(x, kY, false, false);
        widget.Update(x, kY, true, true);
        widget.Update(x, kY, false, false);
        return TakeSounds();
    };
    EXPECT_EQ(sounds(*slider, 200), (std::vector<std::uint32_t>{6, 7}));
    EXPECT_EQ(sounds(*scroll, 200), (std::vector<std::uint32_t>{8, 9}));
    EXPECT_EQ(sounds(*scroll, kIncrease.x), (std::vector<std::uint32_t>{10, 11}));
    EXPECT_EQ(sounds(*scroll, kDecrease.x), (std::vector<std::uint32_t>{10, 11}));
}

} // namespace
