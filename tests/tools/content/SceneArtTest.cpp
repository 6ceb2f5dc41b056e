// The scene's own building blocks: swaying cards loop without a jump and keep their feet where they stand, and
// the lettering measures what it draws and refuses letters it cannot draw.
#include "tools/content/scene/Lettering.h"
#include "tools/content/scene/SwayingCards.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace Content;

namespace {

// The largest distance any vertex moves between the two meshes.
float LargestStep(const Mesh& from, const Mesh& to)
{
    float largest = 0.0f;
    for (std::size_t i = 0; i < from.vertices.size(); ++i) {
        const Vector3 d = to.vertices[i].position - from.vertices[i].position;
        largest = std::max(largest, std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z));
    }
    return largest;
}

TEST(SceneArt, SwayingCardsLoopSmoothlyAndBendingCardsKeepTheirFeet)
{
    const LayoutRect rect{100.0f, 50.0f, 200.0f, 120.0f};
    for (const Sway sway : {Sway::Bend, Sway::Drift, Sway::Ripple}) {
        const std::vector<Card> cards{{rect, {}, sway, 8.0f, 0.3f}};
        const Mesh first = SwayingCards::Frame(cards, 0);
        float inner = 0.0f, reach = 0.0f;
        for (int k = 1; k < SwayingCards::kFrames; ++k) {
            const Mesh frame = SwayingCards::Frame(cards, k);
            inner = std::max(inner, LargestStep(SwayingCards::Frame(cards, k - 1), frame));
            reach = std::max(reach, LargestStep(first, frame));
            if (sway == Sway::Bend) {
                for (std::size_t i = 0; i < frame.vertices.size(); ++i) {
                    if (first.vertices[i].position.y == rect.bottom) {
                        EXPECT_EQ(frame.vertices[i].position.x, first.vertices[i].position.x) << "frame " << k;
                    }
                }
            }
        }
        const float wrap = LargestStep(SwayingCards::Frame(cards, SwayingCards::kFrames - 1), first);
        EXPECT_GT(inner, 0.0f);
        EXPECT_LE(wrap, inner * 1.01f);
        // No vertex strays further than from one swing's end to the other (a ripple also wobbles a little
        // sideways, 0.3 of its rise).
        EXPECT_LE(reach, 2.0f * 8.0f * std::sqrt(1.09f) + 1e-3f);
    }
}

TEST(SceneArt, LetteringCoversWhatItMeasuresAndRefusesUnknownLetters)
{
    Picture picture(256, 64);
    const float height = 30.0f, weight = 4.0f;
    Lettering::DrawCentred(picture, "QUELL HAVEN", {128.0f, 32.0f}, height, weight, Color{1.0f, 1.0f, 1.0f, 1.0f});
    const float width = Lettering::Width("QUELL HAVEN", height);
    EXPECT_NEAR(Lettering::Width("QUELL HAVEN", 2.0f * height), 2.0f * width, 1e-3f);
    std::uint32_t left = 256, right = 0, bottom = 64, top = 0;
    for (std::uint32_t y = 0; y < 64; ++y) {
        for (std::uint32_t x = 0; x < 256; ++x) {
            if (picture.At(x, y).a > 0.5f) {
                left = std::min(left, x);
                right = std::max(right, x);
                bottom = std::min(bottom, y);
                top = std::max(top, y);
            }
        }
    }
    // The strokes reach the measured ends, give or take their half width (the Q's tail dips below the line).
    EXPECT_NEAR(static_cast<float>(left), 128.0f - 0.5f * width, weight);
    EXPECT_NEAR(static_cast<float>(right), 128.0f + 0.5f * width, weight);
    EXPECT_NEAR(static_cast<float>(top), 32.0f + 0.5f * height, weight);
    EXPECT_GE(static_cast<float>(bottom), 32.0f - 0.5f * height - 0.1f * height - weight);
    EXPECT_THROW(Lettering::Width("QUELLHAVEN!", height), std::invalid_argument);
    EXPECT_THROW(Lettering::Draw(picture, "quell", {0.0f, 0.0f}, height, weight, Color{}), std::invalid_argument);
}

} // namespace
