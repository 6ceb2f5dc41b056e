#include "tools/content/scene/BackgroundDecorationsGenerator.h"

#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Shapes.h"
#include "tools/content/art/Surface.h"
#include "tools/content/scene/DecorationPictures.h"
#include "tools/content/scene/EmblemPictures.h"
#include "tools/content/scene/Lettering.h"

#include <cmath>

namespace Content {
namespace {

constexpr float kNameTexture = 1024.0f;
constexpr float kNameCapHeight = 99.0f; // pixels of the name picture: 29 units
constexpr float kVineWidth = 10.0f;

// 0 at frame 0, 1 at the last frame, slowing towards the end.
float Unfold(int k)
{
    const float t = static_cast<float>(k) / static_cast<float>(BackgroundDecorationsGenerator::kUnfoldFrames - 1);
    return 1.0f - (1.0f - t) * (1.0f - t) * (1.0f - t);
}

// The rounded rectangle squeezed about its middle to the fraction of its width (never quite to nothing). Built at
// full width and then moved, so every frame keeps the same triangles.
Mesh Narrowed(const LayoutRect& rect, float radius, float fraction)
{
    const float middle = rect.left + 0.5f * rect.width, squeeze = std::max(fraction, 0.04f);
    return Shapes::Flat(Outlines::RoundedRect(rect, radius, 5)).Warp([&](const Vector3& p) {
        return Vector3{middle + (p.x - middle) * squeeze, p.y, p.z};
    });
}

Formats::ShaderFile Look(const std::string& texture)
{
    return Surface::Describe(SurfaceLook(texture + ".jpg").Opacity(texture + "_alpha.jpg").Blending(Blend::Alpha));
}

ModelArt Unfolding(const std::string& texture, const std::function<Mesh(int)>& frame)
{
    return {ModelFiles::Morph(BackgroundDecorationsGenerator::kUnfoldFrames,
                              BackgroundDecorationsGenerator::kFramesPerSecond, frame),
            Look(texture)};
}

Mesh FrameAt(int k)
{
    const float border = 1.0f + (DecorationPictures::kFrameBorder - 1.0f) * Unfold(k);
    return Shapes::Frame({0.0f, 0.0f, Layout::kScreenWidth, Layout::kScreenHeight}, border, 30.0f, 6, false);
}

// The seal grows from its centre while it turns upright.
Mesh SealAt(int k)
{
    const LayoutRect& seal = BackgroundDecorationsGenerator::Seal();
    const float grow = std::max(Unfold(k), 0.02f);
    const Vector3 centre{seal.left + 0.5f * seal.width, seal.bottom + 0.5f * seal.height, 0.0f};
    Mesh mesh = Shapes::Panel({-0.5f * seal.width, -0.5f * seal.height, seal.width, seal.height});
    return mesh.Scale({grow, grow, 1.0f}).RotateZ(-3.1415927f * (1.0f - grow)).Translate(centre);
}

// Two vines let down from the top of the screen to the title panel, each with a leaf at its end.
Mesh VinesAt(int k)
{
    const LayoutRect panel = BackgroundDecorationsGenerator::TitlePanel();
    const float bottom =
        Layout::kScreenHeight - (Layout::kScreenHeight - panel.Top() + 4.0f) * std::max(Unfold(k), 0.02f);
    Mesh mesh;
    for (const float x : {panel.left + 46.0f, panel.Right() - 46.0f - kVineWidth}) {
        mesh.Append(Shapes::Panel({x, bottom, kVineWidth, Layout::kScreenHeight - bottom}, {0.05f, 0.0f, 0.45f, 1.0f}));
        mesh.Append(Shapes::Panel({x + 4.0f, bottom - 6.0f, 14.0f, 22.0f}, {0.52f, 0.0f, 1.0f, 1.0f}));
    }
    return mesh;
}

Mesh ShineAt(int k)
{
    const LayoutRect& area = Layout::Area("title");
    const float width = 90.0f;
    const float t = static_cast<float>(k) / static_cast<float>(BackgroundDecorationsGenerator::kUnfoldFrames - 1);
    return Shapes::Panel(
        {area.left - width + (area.width + width) * t, area.bottom - 8.0f, width, area.height + 16.0f});
}

Mesh PanelAt(int k)
{
    return Narrowed(BackgroundDecorationsGenerator::TitlePanel(), 14.0f, Unfold(k));
}

Mesh PlaqueAt(int k)
{
    return Narrowed(BackgroundDecorationsGenerator::Plaque(), 20.0f, Unfold(k));
}

// Where part k of the name begins in the name picture, in pixels (0 for the first part, the picture's width
// after the last): half a letter gap before the part's first letter.
float PartStart(int k)
{
    const float start =
        0.5f * kNameTexture - 0.5f * Lettering::Width(BackgroundDecorationsGenerator::kName, kNameCapHeight);
    if (k == 0)
        return 0.0f;
    if (k == 4)
        return kNameTexture;
    std::string prefix;
    for (int part = 0; part < k; ++part)
        prefix += BackgroundDecorationsGenerator::kTitleParts[part];
    return start + Lettering::Width(prefix, kNameCapHeight) + 0.11f * kNameCapHeight;
}

ModelArt TitlePart(int k)
{
    const LayoutRect& name = BackgroundDecorationsGenerator::Name();
    const float u0 = PartStart(k) / kNameTexture, u1 = PartStart(k + 1) / kNameTexture;
    const Mesh mesh = Shapes::Panel({name.left + u0 * name.width, name.bottom, (u1 - u0) * name.width, name.height},
                                    {u0, 0.0f, u1, 1.0f});
    return {ModelFiles::Static(mesh), Look("name")};
}

} // namespace

const char* const BackgroundDecorationsGenerator::kTitleParts[4] = {"QUE", "LL", "HA", "VEN"};

// The plaque and the name stand over the menus (the background draws them above the menus' windows), so they
// keep to the strip above every menu frame, between the title panel's vines, resting on the screen frame's top.
const LayoutRect& BackgroundDecorationsGenerator::Plaque()
{
    static const LayoutRect plaque{224.0f, 542.0f, 352.0f, 56.0f};
    return plaque;
}

const LayoutRect& BackgroundDecorationsGenerator::Name()
{
    static const LayoutRect name{248.0f, 551.0f, 304.0f, 38.0f};
    return name;
}

const LayoutRect& BackgroundDecorationsGenerator::Seal()
{
    static const LayoutRect seal{682.0f, 24.0f, 96.0f, 96.0f};
    return seal;
}

const LayoutRect& BackgroundDecorationsGenerator::Emblem()
{
    static const LayoutRect emblem{22.0f, 24.0f, 96.0f, 96.0f};
    return emblem;
}

LayoutRect BackgroundDecorationsGenerator::TitlePanel()
{
    const LayoutRect& area = Layout::Area("title");
    // Ten units above the area, eight below it: no lower, or it would cover the top of the menus' first buttons.
    return {area.left - 18.0f, area.bottom - 8.0f, area.width + 36.0f, area.height + 18.0f};
}

void BackgroundDecorationsGenerator::List(ArtList& list) const
{
    const std::string folder = kFolder;
    list.AddModel(folder + "frame", [] { return Unfolding("frame", FrameAt); });
    list.AddTexture(folder + "frame", DecorationPictures::Frame);
    list.AddModel(folder + "logo_tarrowby", [] { return Unfolding("logo_tarrowby", SealAt); });
    list.AddTexture(folder + "logo_tarrowby", EmblemPictures::MakerSeal);
    list.AddModel(folder + "mount_text", [] { return Unfolding("vine", VinesAt); });
    list.AddTexture(folder + "vine", DecorationPictures::Vine);
    list.AddModel(folder + "text_appear", [] { return Unfolding("shine", ShineAt); });
    list.AddTexture(folder + "shine", DecorationPictures::Shine);
    list.AddModel(folder + "text", [] { return Unfolding("panel", PanelAt); });
    list.AddTexture(folder + "panel", DecorationPictures::Panel);
    list.AddModel(folder + "mount_title", [] { return Unfolding("plaque", PlaqueAt); });
    list.AddTexture(folder + "plaque", DecorationPictures::Plaque);
    for (int k = 0; k < 4; ++k)
        list.AddModel(folder + "title_" + std::to_string(k), [k] { return TitlePart(k); });
    list.AddTexture(folder + "name", [] { return DecorationPictures::Name(kName, kNameCapHeight); });
    list.AddModel(folder + "logo_additional", [] {
        return ModelArt{ModelFiles::Static(Shapes::Panel(Emblem())), Look("ui\\menus\\textures\\publisher_logo_small")};
    });
    list.AddTexture("ui\\menus\\textures\\publisher_logo_small", EmblemPictures::PublisherSmall);
}

} // namespace Content
