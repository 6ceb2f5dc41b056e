#include "tools/content/scene/SpeechBubble.h"

#include "tools/content/Layout.h"
#include "tools/content/art/Shapes.h"

namespace Content {
namespace {

constexpr float kRadius = 20.0f;
constexpr float kRim = 3.0f;
constexpr UvRect kRimColours{0.05f, 0.02f, 0.45f, 0.98f};
constexpr UvRect kPanelColours{0.55f, 0.02f, 0.95f, 0.98f};

// The tail below the bubble's left end, pointing down and left to the guide; grown by the rim for its outline.
Mesh Tail(const LayoutRect& area, float grow, const UvRect& uv)
{
    const Outline tail{{area.left + 26.0f - grow, area.bottom + kRadius},
                       {area.left - 14.0f - 1.5f * grow, area.bottom - 28.0f - 1.5f * grow},
                       {area.left + 60.0f + grow, area.bottom + kRadius}};
    return Shapes::Flat(tail, uv);
}

} // namespace

Mesh SpeechBubble::At(int lines, int k)
{
    const LayoutRect& area = Layout::Area("bubble_" + std::to_string(lines));
    Mesh mesh = Tail(area, kRim, kRimColours);
    mesh.Append(Shapes::Frame(area, kRim, kRadius, 5, false, kRimColours));
    const LayoutRect inside{area.left + kRim, area.bottom + kRim, area.width - 2.0f * kRim, area.height - 2.0f * kRim};
    mesh.Append(Shapes::Flat(Outlines::RoundedRect(inside, kRadius - kRim, 5), kPanelColours));
    mesh.Append(Tail(area, 0.0f, kPanelColours));
    // Narrower frames move everything right of the tail to the left: the corners keep their shape and the tail
    // stays where it is.
    const float middle = area.left + 0.5f * kNarrowest;
    const float width =
        kNarrowest + (area.width - kNarrowest) * static_cast<float>(k) / static_cast<float>(kFrames - 1);
    return mesh.Warp([&](const Vector3& p) {
        return p.x > middle ? Vector3{p.x - (area.width - width), p.y, p.z} : p;
    });
}

Picture SpeechBubble::Colours()
{
    Picture picture(64, 64);
    picture.Fill(Paint([](Point p) {
        const float t = p.y / 64.0f;
        if (p.x < 32.0f)
            return Color{0.85f + 0.15f * t, 0.72f + 0.2f * t, 0.42f + 0.3f * t, 1.0f};
        return Color{0.06f + 0.08f * t, 0.2f + 0.12f * t, 0.24f + 0.12f * t, 0.9f};
    }));
    return picture;
}

} // namespace Content
