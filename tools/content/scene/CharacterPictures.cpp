#include "tools/content/scene/CharacterPictures.h"

#include "tools/content/scene/CharacterFigure.h"

#include <algorithm>
#include <cmath>

namespace Content {
namespace {

constexpr float kPi = 3.1415927f;
constexpr Color kSkinLight{1.0f, 0.87f, 0.74f, 1.0f};
constexpr Color kSkin{0.93f, 0.7f, 0.56f, 1.0f};
constexpr Color kLine{0.32f, 0.18f, 0.12f, 1.0f};
constexpr Color kLeafDark{0.16f, 0.4f, 0.18f, 1.0f};
constexpr Color kLeafLight{0.5f, 0.78f, 0.32f, 1.0f};
constexpr Color kTunicDark{0.72f, 0.3f, 0.1f, 1.0f};
constexpr Color kTunicLight{1.0f, 0.66f, 0.28f, 1.0f};

// The colour with no opacity: the background of pictures that stay clear outside their shapes.
constexpr Color Clear(const Color& colour)
{
    return {colour.r, colour.g, colour.b, 0.0f};
}

using Face = CharacterPictures::Face;

// 0 at both ends of the range and 1 in its middle.
float Bump(float t)
{
    return std::sin(kPi * std::clamp(t, 0.0f, 1.0f));
}

float Blink(float t)
{
    return 1.0f - Bump(t);
}

// The frame's place in its phrase range [first, last) as 0..1.
float In(int frame, int first, int last)
{
    return static_cast<float>(frame - first) / static_cast<float>(last - first);
}

Shape Segment(Point a, Point b, float width)
{
    return Shape::Polygon({a, b}).Grown(0.5f * width);
}

void DrawEye(Picture& picture, Point at, const Face& face)
{
    if (face.eyesOpen < 0.25f) {
        const float bend = face.happyEyes ? 2.5f : -1.5f;
        picture.Draw(Segment({at.x - 5.0f, at.y - 0.5f * bend}, {at.x, at.y + 0.5f * bend}, 1.8f), kLine);
        picture.Draw(Segment({at.x, at.y + 0.5f * bend}, {at.x + 5.0f, at.y - 0.5f * bend}, 1.8f), kLine);
        return;
    }
    const float height = 7.0f * face.eyesOpen;
    const Shape white = Shape::Ellipse(at, 5.0f, height);
    picture.Draw(white.Grown(1.0f), kLine);
    picture.Draw(white, Color{1.0f, 1.0f, 1.0f, 1.0f});
    const Point iris{at.x + 1.8f * face.lookX, at.y - 1.0f + 2.0f * face.lookY};
    const float r = std::min(4.3f, height);
    picture.Draw(Shape::Circle(iris, r), Color{0.2f, 0.5f, 0.3f, 1.0f});
    picture.Draw(Shape::Circle(iris, 0.55f * r), Color{0.05f, 0.08f, 0.05f, 1.0f});
    picture.Draw(Shape::Circle({iris.x + 1.2f, iris.y + 1.3f}, 1.1f), Color{1.0f, 1.0f, 1.0f, 1.0f});
}

void DrawMouth(Picture& picture, Point at, const Face& face)
{
    if (face.mouthOpen < 0.08f) {
        const float dip = 3.0f * face.smile;
        picture.Draw(Segment({at.x - 6.0f, at.y + 0.5f * dip}, {at.x, at.y - 0.5f * dip}, 1.8f), kLine);
        picture.Draw(Segment({at.x, at.y - 0.5f * dip}, {at.x + 6.0f, at.y + 0.5f * dip}, 1.8f), kLine);
        return;
    }
    const float width = 4.0f + 3.0f * std::max(face.smile, 0.0f), height = 1.5f + 6.5f * face.mouthOpen;
    const Point centre{at.x, at.y - 0.4f * height};
    const Shape mouth = Shape::Ellipse(centre, width, height);
    picture.Draw(mouth.Grown(0.8f), kLine);
    picture.Draw(mouth, Color{0.55f, 0.12f, 0.14f, 1.0f});
    if (face.mouthOpen > 0.3f)
        picture.Draw(Shape::Ellipse({centre.x, centre.y - 0.55f * height}, 0.65f * width, 0.4f * height),
                     Color{0.95f, 0.5f, 0.55f, 1.0f});
}

// The face in a 64-pixel square.
Picture FacePicture(const Face& face)
{
    Picture picture(64, 64, Clear(kSkin));
    const Point centre{32.0f, 30.0f};
    picture.Draw(Shape::Circle(centre, 28.0f).Grown(1.2f), kLine);
    picture.Draw(Shape::Circle(centre, 28.0f),
                 Paint::Radial({26.0f, 36.0f}, 34.0f, {{0.0f, kSkinLight}, {1.0f, kSkin}}));
    // Auburn hair under the hat's brim.
    picture.Draw(Shape::Ellipse({32.0f, 54.0f}, 25.0f, 8.0f), Color{0.55f, 0.27f, 0.14f, 1.0f});
    for (const float side : {-1.0f, 1.0f}) {
        const Color blush{1.0f, 0.45f, 0.5f, 0.25f + 0.45f * face.blush};
        picture.Draw(Shape::Ellipse({centre.x + side * 16.0f, 22.0f}, 5.0f, 3.0f).Soft(4.0f), blush);
        const Point eye{centre.x + side * 10.0f, 33.0f};
        DrawEye(picture, eye, face);
        const float lift = 3.0f * face.brows;
        picture.Draw(
            Segment({eye.x - side * 5.0f, eye.y + 9.0f + lift}, {eye.x + side * 5.0f, eye.y + 10.5f + lift}, 1.6f),
            Color{0.45f, 0.22f, 0.12f, 1.0f});
    }
    picture.Draw(Shape::Ellipse({32.0f, 25.0f}, 2.0f, 1.4f), Color{0.85f, 0.55f, 0.45f, 1.0f});
    DrawMouth(picture, {32.0f, 16.0f}, face);
    return picture;
}

Picture TunicPicture()
{
    Picture picture(64, 64, Clear(kLeafDark));
    Outline tunic{{18.0f, 62.0f}, {46.0f, 62.0f}};
    Outlines::AppendBezier(tunic, {54.0f, 40.0f}, {60.0f, 16.0f}, {62.0f, 4.0f}, 8);
    for (int k = 0; k < 6; ++k) {
        const float x = 62.0f - 10.0f * static_cast<float>(k + 1);
        tunic.push_back({x + 5.0f, 9.0f});
        tunic.push_back({x, 2.0f});
    }
    Outlines::AppendBezier(tunic, {4.0f, 16.0f}, {10.0f, 40.0f}, {18.0f, 62.0f}, 8);
    tunic.pop_back();
    const Shape body = Shape::Polygon(tunic);
    picture.Draw(body.Grown(1.2f), kLine);
    picture.Draw(body, Paint::Linear({10.0f, 0.0f}, {50.0f, 64.0f}, {{0.0f, kTunicDark}, {1.0f, kTunicLight}}));
    picture.Draw(Shape::RoundedRect({11.0f, 28.0f, 42.0f, 6.0f}, 3.0f), Color{0.5f, 0.32f, 0.15f, 1.0f});
    picture.Draw(Shape::RoundedRect({28.0f, 27.0f, 8.0f, 8.0f}, 2.0f), Color{1.0f, 0.82f, 0.4f, 1.0f});
    picture.Draw(Shape::Polygon({{22.0f, 62.0f}, {42.0f, 62.0f}, {32.0f, 52.0f}}), Color{0.85f, 0.95f, 0.7f, 1.0f});
    return picture;
}

Picture ArmPicture()
{
    Picture picture(32, 32, Clear(kLeafDark));
    picture.Draw(Segment({16.0f, 28.0f}, {16.0f, 10.0f}, 10.0f), kLine);
    picture.Draw(Segment({16.0f, 28.0f}, {16.0f, 14.0f}, 8.0f), kTunicLight);
    picture.Draw(Shape::Circle({16.0f, 7.0f}, 5.0f).Grown(1.0f), kLine);
    picture.Draw(Shape::Circle({16.0f, 7.0f}, 5.0f), kSkinLight);
    return picture;
}

Picture WingPicture()
{
    Picture picture(32, 64, {0.8f, 0.95f, 1.0f, 0.0f});
    Outline outline{{16.0f, 4.0f}};
    Outlines::AppendBezier(outline, {30.0f, 14.0f}, {30.0f, 44.0f}, {16.0f, 62.0f}, 10);
    Outlines::AppendBezier(outline, {4.0f, 44.0f}, {2.0f, 14.0f}, {16.0f, 4.0f}, 10);
    outline.pop_back();
    const Shape wing = Shape::Polygon(outline);
    picture.Draw(wing,
                 Paint::Linear({0.0f, 0.0f}, {32.0f, 64.0f},
                               {{0.0f, Color{0.6f, 0.88f, 1.0f, 0.55f}}, {1.0f, Color{0.92f, 0.8f, 1.0f, 0.7f}}}));
    picture.Draw(wing.Stroke(1.5f), Color{1.0f, 1.0f, 1.0f, 0.9f});
    for (const float x : {10.0f, 16.0f, 22.0f})
        picture.Draw(Segment({16.0f, 8.0f}, {x, 56.0f}, 0.9f), Color{1.0f, 1.0f, 1.0f, 0.55f});
    return picture;
}

Picture HatPicture()
{
    Picture picture(64, 64, Clear(kLeafDark));
    Outline hat{{4.0f, 14.0f}};
    Outlines::AppendBezier(hat, {8.0f, 40.0f}, {30.0f, 46.0f}, {56.0f, 62.0f}, 10);
    Outlines::AppendBezier(hat, {54.0f, 44.0f}, {62.0f, 26.0f}, {60.0f, 14.0f}, 10);
    hat.push_back({32.0f, 10.0f});
    const Shape leaf = Shape::Polygon(hat);
    picture.Draw(leaf.Grown(1.2f), Color{0.08f, 0.22f, 0.1f, 1.0f});
    picture.Draw(leaf, Paint::Linear({0.0f, 10.0f}, {50.0f, 60.0f}, {{0.0f, kLeafDark}, {1.0f, kLeafLight}}));
    picture.Draw(Segment({10.0f, 16.0f}, {50.0f, 52.0f}, 1.4f), Color{0.75f, 0.9f, 0.5f, 0.8f});
    picture.Draw(Shape::RoundedRect({2.0f, 9.0f, 60.0f, 9.0f}, 4.0f), Color{0.45f, 0.3f, 0.15f, 1.0f});
    picture.Draw(Shape::Circle({50.0f, 20.0f}, 4.5f), Color{0.9f, 0.2f, 0.2f, 1.0f});
    picture.Draw(Shape::Circle({51.5f, 21.5f}, 1.3f), Color{1.0f, 0.85f, 0.85f, 1.0f});
    return picture;
}

void PasteAt(Picture& cell, const Picture& part, const CharacterFigure::Region& region)
{
    cell.Paste(part, static_cast<std::uint32_t>(region.u0 * CharacterPictures::kCell),
               static_cast<std::uint32_t>(region.v0 * CharacterPictures::kCell));
}

// Every part but the face, in their regions of one cell.
Picture BodyCell()
{
    Picture cell(CharacterPictures::kCell, CharacterPictures::kCell, Clear(kLeafDark));
    PasteAt(cell, TunicPicture(), CharacterFigure::kTunic);
    PasteAt(cell, ArmPicture(), CharacterFigure::kArm);
    PasteAt(cell, WingPicture(), CharacterFigure::kWing);
    PasteAt(cell, HatPicture(), CharacterFigure::kHat);
    return cell;
}

} // namespace

CharacterPictures::Face CharacterPictures::FaceAt(int frame)
{
    Face face;
    if (frame < 10) { // settling after a phrase
        face.mouthOpen = 0.3f * (1.0f - In(frame, 0, 10));
    } else if (frame < 16) { // resting, a slow glance that comes back
        face.lookX = 0.25f * std::sin(2.0f * kPi * In(frame, 10, 16));
    } else if (frame < 27) {
        face.eyesOpen = Blink(In(frame, 16, 27));
    } else if (frame < 49) { // first praise: a beaming smile
        const float t = In(frame, 27, 49);
        face.smile = 1.0f;
        face.eyesOpen = 0.1f;
        face.happyEyes = true;
        face.mouthOpen = 0.25f + 0.35f * Bump(t);
        face.blush = Bump(t);
    } else if (frame < 57) { // a glance aside
        face.lookX = 0.9f * In(frame, 49, 57);
        face.smile = 0.45f;
    } else if (frame < 64) { // and back
        face.lookX = 0.9f * (1.0f - In(frame, 57, 64));
        face.smile = 0.45f;
    } else if (frame < 71) {
        face.eyesOpen = Blink(In(frame, 64, 71));
    } else if (frame < 79) { // surprise
        const float t = Bump(In(frame, 71, 79));
        face.brows = t;
        face.mouthOpen = 0.4f * t;
        face.smile = 0.3f - 0.3f * t;
    } else if (frame < 115) { // second praise: laughing
        const float t = In(frame, 79, 115);
        face.smile = 1.0f;
        face.eyesOpen = 0.1f;
        face.happyEyes = true;
        face.mouthOpen = 0.3f + 0.6f * std::fabs(std::sin(3.0f * kPi * t));
        face.blush = 0.7f;
    } else if (frame < 145) { // thinking, eyes up and aside
        const float t = Bump(In(frame, 115, 145));
        face.lookX = -0.7f * t;
        face.lookY = 0.8f * t;
        face.smile = 0.3f - 0.4f * t;
        face.brows = 0.5f * t;
    } else if (frame < 181) { // chatting
        face.mouthOpen = 0.55f * std::fabs(std::sin(4.0f * kPi * In(frame, 145, 181)));
        face.smile = 0.6f;
    } else if (frame < 218) { // excited announcement (loops; it begins and ends as the talking loop does)
        const float t = In(frame, 181, 218), up = std::sqrt(Bump(t));
        face.brows = 0.8f * up;
        face.smile = 0.4f + 0.5f * up;
        face.mouthOpen = 0.8f * std::fabs(std::sin(3.0f * kPi * t));
        face.blush = 0.15f + 0.65f * up;
    } else { // talking (loops), with one blink
        const float t = In(frame, 218, 255);
        face.mouthOpen = 0.6f * std::fabs(std::sin(5.0f * kPi * t)) * (0.6f + 0.4f * std::sin(2.0f * kPi * t));
        face.smile = 0.4f;
        face.eyesOpen = Blink((t - 0.55f) / 0.15f);
    }
    return face;
}

Picture CharacterPictures::Sheet()
{
    const Picture body = BodyCell();
    Picture sheet(kCell * kColumns, kCell * kColumns, Clear(kLeafDark));
    for (std::uint32_t k = 0; k < kFrames; ++k) {
        const std::uint32_t x = (k % kColumns) * kCell, y = (kColumns - 1 - k / kColumns) * kCell;
        sheet.Paste(body, x, y);
        sheet.Paste(FacePicture(FaceAt(static_cast<int>(k))),
                    x + static_cast<std::uint32_t>(CharacterFigure::kFace.u0 * kCell),
                    y + static_cast<std::uint32_t>(CharacterFigure::kFace.v0 * kCell));
    }
    return sheet;
}

} // namespace Content
