#include "tools/content/scene/CharacterFigure.h"

#include "tools/content/art/Rig.h"
#include "tools/content/art/Shapes.h"

#include <algorithm>
#include <cmath>

namespace Content {
namespace {

using KeystrelEngine::Quaternion;

constexpr float kPi = 3.1415927f;

// The figure's state at one frame: where its waist is, how it leans and how big it is, and the turns of its
// parts (radians, counter-clockwise), with the wings' opening (1 spread, towards 0 folded edge-on).
struct Pose
{
    float x = CharacterFigure::kRestX;
    float y = CharacterFigure::kRestY;
    float tilt = 0.0f;
    float scale = 1.0f;
    float head = 0.0f;
    float leftArm = -0.15f;
    float rightArm = 0.15f;
    float wings = 1.0f;
    float hat = 0.0f;
};

enum class Part
{
    LeftWing,
    RightWing,
    Tunic,
    LeftArm,
    RightArm,
    Head,
    Hat,
};

struct Bone
{
    Part part;
    const char* name;
    Vector3 pivot; // at rest, relative to the waist
    LayoutRect card;
    CharacterFigure::Region region;
    bool mirrored;
};

constexpr Vector3 kNeck{0.0f, 16.0f, 0.0f};

// Drawn in this order, back to front.
const Bone kBones[] = {
    {Part::LeftWing, "wing_left", {-6.0f, 12.0f, 0.0f}, {-36.0f, -22.0f, 36.0f, 70.0f}, CharacterFigure::kWing, true},
    {Part::RightWing, "wing_right", {6.0f, 12.0f, 0.0f}, {0.0f, -22.0f, 36.0f, 70.0f}, CharacterFigure::kWing, false},
    {Part::Tunic, "tunic", {0.0f, 0.0f, 0.0f}, {-30.0f, -42.0f, 60.0f, 62.0f}, CharacterFigure::kTunic, false},
    {Part::LeftArm, "arm_left", {-22.0f, 12.0f, 0.0f}, {-10.0f, -30.0f, 20.0f, 34.0f}, CharacterFigure::kArm, true},
    {Part::RightArm, "arm_right", {22.0f, 12.0f, 0.0f}, {-10.0f, -30.0f, 20.0f, 34.0f}, CharacterFigure::kArm, false},
    {Part::Head, "head", kNeck, {-33.0f, -4.0f, 66.0f, 66.0f}, CharacterFigure::kFace, false},
    {Part::Hat, "hat", {0.0f, 62.0f, 0.0f}, {-34.0f, -16.0f, 68.0f, 68.0f}, CharacterFigure::kHat, false},
};

float Smooth(float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float Mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

// Wings beating beats times over a range, open at both its ends.
float Beating(float t, float beats)
{
    return 0.6f + 0.4f * std::cos(2.0f * kPi * beats * t);
}

// Flying in from the left edge in a rising and falling arc (0-47).
Pose EnterLevel(float t)
{
    Pose pose;
    const float along = Smooth(t);
    pose.x = Mix(-100.0f, CharacterFigure::kRestX, along);
    pose.y = CharacterFigure::kRestY + 70.0f * std::sin(kPi * t) * (1.0f - t);
    pose.tilt = -0.35f * std::sin(kPi * t);
    pose.wings = Beating(t, 8.0f);
    pose.rightArm = Mix(0.9f, 0.15f, along);
    return pose;
}

// Waving good-bye, then flying off up and to the left (49-96).
Pose LeaveLevel(float t)
{
    Pose pose;
    const float wave = Smooth(t / 0.3f) * (1.0f - Smooth((t - 0.45f) / 0.1f));
    pose.rightArm = Mix(0.15f, 2.3f + 0.35f * std::sin(6.0f * kPi * t), wave);
    const float away = Smooth((t - 0.5f) / 0.5f);
    pose.x = CharacterFigure::kRestX - 260.0f * away;
    pose.y = CharacterFigure::kRestY + 230.0f * away;
    pose.scale = 1.0f - 0.35f * away;
    pose.tilt = 0.4f * away;
    pose.wings = Beating(t, 8.0f);
    return pose;
}

// Rising from below the screen with a little turn (97-144).
Pose EnterMenus(float t)
{
    Pose pose;
    const float rise = 1.0f - (1.0f - t) * (1.0f - t);
    pose.y = Mix(-140.0f, CharacterFigure::kRestY, rise) + 14.0f * std::sin(kPi * t);
    pose.tilt = 0.3f * std::sin(2.0f * kPi * t) * (1.0f - t);
    pose.hat = -0.25f * std::sin(2.0f * kPi * t);
    pose.wings = Beating(t, 6.0f);
    return pose;
}

// A bow with both arms, then sinking out of sight (146-192).
Pose LeaveMenus(float t)
{
    Pose pose;
    const float bow = std::sin(kPi * std::clamp(t / 0.45f, 0.0f, 1.0f));
    pose.head = -0.35f * bow;
    pose.tilt = -0.12f * bow;
    pose.leftArm = Mix(-0.15f, -1.2f, bow);
    pose.rightArm = Mix(0.15f, 1.2f, bow);
    const float sink = Smooth((t - 0.45f) / 0.55f);
    pose.y = CharacterFigure::kRestY - 480.0f * sink * sink;
    pose.wings = Beating(t, 4.0f);
    return pose;
}

// Hopping for joy with both arms up, then flying off upwards (194-252).
Pose LevelEnd(float t)
{
    Pose pose;
    const float joy = Smooth(t / 0.12f);
    pose.leftArm = Mix(-0.15f, -2.4f + 0.3f * std::sin(8.0f * kPi * t), joy);
    pose.rightArm = Mix(0.15f, 2.4f - 0.3f * std::sin(8.0f * kPi * t), joy);
    pose.y = CharacterFigure::kRestY + 36.0f * std::fabs(std::sin(3.0f * kPi * std::min(t / 0.6f, 1.0f)));
    pose.tilt = 0.15f * std::sin(6.0f * kPi * t) * joy * (1.0f - Smooth((t - 0.55f) / 0.2f));
    const float away = Smooth((t - 0.6f) / 0.4f);
    pose.x += 90.0f * away;
    pose.y += 380.0f * away;
    pose.scale = 1.0f - 0.3f * away;
    pose.wings = Beating(t, 10.0f);
    return pose;
}

Pose PoseAt(int frame)
{
    const auto in = [frame](int first, int last) {
        return static_cast<float>(frame - first) / static_cast<float>(last - first);
    };
    if (frame <= 47)
        return EnterLevel(in(0, 47));
    if (frame <= 49)
        return {};
    if (frame <= 96)
        return LeaveLevel(in(49, 96));
    if (frame <= 144)
        return EnterMenus(in(97, 144));
    if (frame <= 146)
        return {};
    if (frame <= 192)
        return LeaveMenus(in(146, 192));
    if (frame < 194)
        return {};
    return LevelEnd(in(194, 252));
}

// The cards are laid out at this fraction of their drawn size.
constexpr float kSize = 1.2f;

float Turn(const Pose& pose, Part part)
{
    switch (part) {
    case Part::LeftWing:
        return 0.45f;
    case Part::RightWing:
        return -0.45f;
    case Part::Head:
        return pose.head;
    case Part::Hat:
        return pose.head + pose.hat;
    case Part::LeftArm:
        return pose.leftArm;
    case Part::RightArm:
        return pose.rightArm;
    default:
        return 0.0f;
    }
}

// The bone's key: its pivot carried by the figure's place, lean and size, then its own turn. The hat rides on
// the head, so its pivot first turns with the head about the neck.
RigKey Key(const Pose& pose, const Bone& bone)
{
    Vector3 pivot = bone.pivot;
    if (bone.part == Part::Hat) {
        const float above = pivot.y - kNeck.y;
        pivot = kNeck + Vector3{-above * std::sin(pose.head), above * std::cos(pose.head), 0.0f};
    }
    const float c = std::cos(pose.tilt), s = std::sin(pose.tilt), size = kSize * pose.scale;
    RigKey key;
    key.translation = {pose.x + size * (c * pivot.x - s * pivot.y), pose.y + size * (s * pivot.x + c * pivot.y), 0.0f};
    key.rotation = Quaternion::FromAxisAngle({0.0f, 0.0f, 1.0f}, pose.tilt + Turn(pose, bone.part));
    const bool wing = bone.part == Part::LeftWing || bone.part == Part::RightWing;
    key.scale = {size * (wing ? pose.wings : 1.0f), size, 1.0f};
    return key;
}

// The card of a part, its texture pulled in by a pixel of the 128-pixel cell; mirrored parts show it flipped.
Mesh Card(const Bone& bone)
{
    const float pixel = 1.0f / 128.0f;
    const CharacterFigure::Region& r = bone.region;
    UvRect uv{r.u0 + pixel, r.v0 + pixel, r.u1 - pixel, r.v1 - pixel};
    if (bone.mirrored)
        std::swap(uv.u0, uv.u1);
    return Shapes::Panel(bone.card, uv);
}

} // namespace

Formats::ModelFile CharacterFigure::Build()
{
    Rig rig;
    for (const Bone& bone : kBones)
        rig.Bind(rig.AddBone(bone.name), Card(bone));
    for (int frame = 0; frame < kFrameCount; ++frame) {
        const Pose pose = PoseAt(frame);
        std::vector<RigKey> keys;
        for (const Bone& bone : kBones)
            keys.push_back(Key(pose, bone));
        rig.AddFrame(keys);
    }
    return rig.Build(kFramesPerSecond);
}

} // namespace Content
