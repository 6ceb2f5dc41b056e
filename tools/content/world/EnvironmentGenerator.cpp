#include "tools/content/world/EnvironmentGenerator.h"

#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Surface.h"
#include "tools/content/world/SceneryMeshes.h"
#include "tools/content/world/SceneryPictures.h"

#include <sstream>

namespace Content {
namespace {

using Model = ModelFiles::Model;

// Cards are blended: drawn after the opaque world and without writing depth, so their clear parts hide nothing.
constexpr std::uint32_t kCardFlags =
    Model::kTriangleList | Model::kLit | Model::kZTest | Model::kDrawLast | Model::kShown | Model::kNoZWrite;
constexpr int kFrames = EnvironmentGenerator::kSwayFrames;
// Scenery keeps outside the largest board's reach; what stands taller than a tuft keeps beyond the oblique eye.
constexpr float kInner = 200.0f;
constexpr float kFar = 900.0f;
constexpr float kTallInner = 290.0f;

SurfaceLook Opaque(const std::string& texture)
{
    return SurfaceLook(texture + ".jpg");
}

SurfaceLook Blended(const std::string& texture)
{
    return SurfaceLook(texture + ".jpg").Opacity(texture + "_alpha.jpg").Blending(Blend::Alpha);
}

SceneryModel Ground(const Color& dark, const Color& light, std::uint32_t seed)
{
    return {"ground",
            false,
            false,
            false,
            [](const std::string& texture) {
                return ModelArt{ModelFiles::Static(SceneryMeshes::Ground(1300.0f, 60.0f), ModelFiles::kWorld),
                                Surface::Describe(Opaque(texture).Wrap())};
            },
            [=] { return SceneryPictures::Ground(seed, dark, light); },
            false};
}

// Swaying cards of one atlas: count spots on the ring, each card width x height.
SceneryModel Plants(const std::string& name, std::uint32_t seed, int count, float inner, float width, float height,
                    std::function<Picture()> picture)
{
    return {name,
            false,
            false,
            true,
            [=](const std::string& texture) {
                const std::vector<Spot> spots = SceneryMeshes::Scatter(seed, count, inner, kFar);
                return ModelArt{
                    ModelFiles::Morph(
                        kFrames, 10.0f,
                        [&](int k) { return SceneryMeshes::Cards(spots, width, height, 0.12f * height, k, kFrames); },
                        kCardFlags),
                    Surface::Describe(Blended(texture))};
            },
            std::move(picture),
            true};
}

SceneryModel Stones(std::uint32_t seed, int count, float radius, float height)
{
    return {"stones",
            true,
            false,
            false,
            [=](const std::string& texture) {
                return ModelArt{
                    ModelFiles::Static(
                        SceneryMeshes::Stones(SceneryMeshes::Scatter(seed, count, kInner, kFar), radius, height),
                        ModelFiles::kWorld),
                    Surface::Describe(Opaque(texture))};
            },
            [seed] { return SceneryPictures::Stone(seed); },
            false};
}

SceneryModel Water(const std::string& name, std::function<Mesh(int)> frame, const Color& deep, const Color& light)
{
    return {name,
            false,
            true,
            false,
            [frame](const std::string& texture) {
                return ModelArt{ModelFiles::Morph(kFrames, 8.0f, frame, ModelFiles::kWorld),
                                Surface::Describe(Blended(texture).Wrap())};
            },
            [=] { return SceneryPictures::Water(deep, light); },
            true};
}

// The grove's brook winds past the board's far side (away from the oblique eye, which looks along -x).
std::vector<Vector3> BrookPath()
{
    std::vector<Vector3> path;
    for (int i = 0; i <= 24; ++i) {
        const float y = -1100.0f + 2200.0f * static_cast<float>(i) / 24.0f;
        path.push_back({-300.0f - 60.0f * std::sin(y / 180.0f), y, EnvironmentGenerator::kGround + 0.4f});
    }
    return path;
}

std::string EnvironmentText(const EnvironmentDesign& environment)
{
    std::ostringstream text;
    text << environment.models.size() << "\r\n";
    for (const SceneryModel& model : environment.models)
        text << model.name << "\r\n" << model.lit << "\r\n" << model.sorted << "\r\n" << model.randomPhase << "\r\n";
    return text.str();
}

} // namespace

const std::vector<EnvironmentDesign>& EnvironmentGenerator::Environments()
{
    static const std::vector<EnvironmentDesign> environments{
        {"meadow",
         {Ground({0.25f, 0.45f, 0.15f, 1.0f}, {0.45f, 0.65f, 0.25f, 1.0f}, 31),
          Plants("grass", 41, 160, kInner, 22.0f, 16.0f,
                 [] {
                     return SceneryPictures::Grass({0.4f, 0.7f, 0.25f, 1.0f});
                 }),
          Plants("flowers", 43, 70, kInner, 14.0f, 20.0f,
                 [] {
                     return SceneryPictures::Flowers({0.9f, 0.3f, 0.5f, 1.0f});
                 }),
          Stones(47, 18, 9.0f, 9.0f),
          Water("pond",
                [](int k) {
                    return SceneryMeshes::Pond({-420.0f, 260.0f}, 150.0f, 90.0f, 3.0f, k, kFrames);
                },
                {0.15f, 0.35f, 0.6f, 0.8f}, {0.6f, 0.85f, 1.0f, 0.9f})}},
        {"grove",
         {Ground({0.2f, 0.25f, 0.12f, 1.0f}, {0.38f, 0.42f, 0.2f, 1.0f}, 53),
          Plants("trees", 59, 40, kTallInner, 90.0f, 110.0f, SceneryPictures::Trees),
          Plants("ferns", 61, 90, kInner, 24.0f, 20.0f, SceneryPictures::Ferns), Stones(67, 24, 10.0f, 8.0f),
          Water("brook", [](int k) { return SceneryMeshes::Brook(BrookPath(), 70.0f, 12.0f, k, kFrames); },
                {0.1f, 0.3f, 0.4f, 0.8f}, {0.55f, 0.8f, 0.85f, 0.9f})}},
        {"spring",
         {Ground({0.45f, 0.5f, 0.3f, 1.0f}, {0.7f, 0.72f, 0.5f, 1.0f}, 71),
          Plants("reeds", 73, 90, kInner, 18.0f, 24.0f, SceneryPictures::Reeds),
          Plants("flowers", 79, 60, kInner, 14.0f, 20.0f,
                 [] {
                     return SceneryPictures::Flowers({0.5f, 0.4f, 1.0f, 1.0f});
                 }),
          Stones(83, 30, 12.0f, 10.0f),
          Water("pool",
                [](int k) {
                    return SceneryMeshes::Pond({-380.0f, -300.0f}, 170.0f, 130.0f, 3.0f, k, kFrames);
                },
                {0.1f, 0.45f, 0.55f, 0.75f}, {0.7f, 0.95f, 1.0f, 0.9f})}},
    };
    return environments;
}

void EnvironmentGenerator::List(ArtList& list) const
{
    for (const EnvironmentDesign& environment : Environments()) {
        const std::string folder = "environments\\" + environment.name + "\\";
        list.AddFile(folder + "environment.ini", "GameLogicData", [&environment] {
            const std::string text = EnvironmentText(environment);
            return Formats::Bytes(text.begin(), text.end());
        });
        for (const SceneryModel& model : environment.models) {
            const std::string texture = folder + "textures\\" + model.name;
            list.AddModel(folder + "models\\" + model.name, [&model, texture] { return model.make(texture); });
            if (model.blended)
                list.AddTexture(texture, model.picture);
            else
                list.AddOpaqueTexture(texture, model.picture);
        }
    }
}

} // namespace Content
