#include "tools/content/scene/SwayingCards.h"

#include "tools/content/art/ModelFiles.h"

#include <cmath>

namespace Content {
namespace {

constexpr float kTurn = 6.2831853f;
constexpr int kColumns = 12;
constexpr int kRows = 6;

// The offset of a point at (across, up) of the card (both 0..1) at loop time t (0..1).
Vector3 Offset(const Card& card, float across, float up, float t)
{
    const float angle = kTurn * (t + card.phase);
    switch (card.sway) {
    case Sway::Bend:
        return {card.amplitude * up * up * std::sin(angle + 2.5f * across), 0.0f, 0.0f};
    case Sway::Drift:
        return {card.amplitude * std::sin(angle), 0.0f, 0.0f};
    case Sway::Ripple:
        return {0.3f * card.amplitude * std::sin(angle + 5.0f * up),
                card.amplitude * up * std::sin(angle + 9.0f * across), 0.0f};
    }
    return {};
}

Mesh CardFrame(const Card& card, float t)
{
    const LayoutRect& r = card.rect;
    return Shapes::Sheet(r, kColumns, kRows, card.uv).Warp([&](const Vector3& p) {
        return p + Offset(card, (p.x - r.left) / r.width, (p.y - r.bottom) / r.height, t);
    });
}

} // namespace

Formats::ModelFile SwayingCards::Build(const std::vector<Card>& cards)
{
    return ModelFiles::Morph(kFrames, kFramesPerSecond, [&](int k) { return Frame(cards, k); });
}

Mesh SwayingCards::Frame(const std::vector<Card>& cards, int k)
{
    const float t = static_cast<float>(k) / static_cast<float>(kFrames);
    Mesh mesh;
    for (const Card& card : cards)
        mesh.Append(CardFrame(card, t));
    return mesh;
}

} // namespace Content
