// Models: the input is a ".mlf" file of the data folder, loaded with its untextured companion description as the
// model manager loads a model, on the recording device. A model that loads is cloned, plays its animation
// over a few frames (morph frames, skeleton poses), is drawn and is picked with a ray through the origin.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/RenderServices.h"

#include "engine/foundation/Error.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Ray.h"
#include "tools/formats/ModelFileWriter.h"

using namespace KeystrelEngine;
using Formats::ModelFile;
using Fuzzing::RenderServices;

namespace {

void Play(Model& model, RenderServices& services)
{
    AnimationControl& animation = model.GetAnimationControl();
    animation.m_playing = true;
    animation.m_looping = true;
    for (const float frameTime : {0.0f, 0.3f, 0.7f}) {
        services.timers.m_frameTime = frameTime;
        model.Update(true);
        services.render->BeginScene();
        model.Render();
        services.render->EndScene();
    }
    float distance = 0.0f;
    model.IntersectRay({{0.25f, 0.25f, 10.0f}, {0.0f, 0.0f, -20.0f}}, &distance);
}

ModelFile Strip()
{
    ModelFile file;
    file.flags = Model::kStatic | Model::kShown | Model::kLit | Model::kRecomputeBox;
    file.indices = {0, 1, 2, 3};
    file.vertices = {{0, 0, {0, 0, 1}, {0, 0, 0}},
                     {1, 0, {0, 0, 1}, {1, 0, 0}},
                     {0, 1, {0, 0, 1}, {0, 1, 0}},
                     {1, 1, {0, 0, 1}, {1, 1, 0}}};
    file.boxes = {{{0, 0, 0}, {1, 1, 0}}};
    return file;
}

ModelFile ThreeFrameMorph()
{
    ModelFile file;
    file.flags = Model::kMorph | Model::kTriangleList | Model::kShown;
    file.frameCount = 3;
    file.speed = 2.0f;
    file.indices = {0, 1, 2};
    for (float scale : {1.0f, 2.0f, 0.5f}) {
        file.vertices.push_back({0, 0, {0, 0, 1}, {0, 0, 0}});
        file.vertices.push_back({1, 0, {0, 0, 1}, {scale, 0, 0}});
        file.vertices.push_back({0, 1, {0, 0, 1}, {0, scale, 0}});
        file.boxes.push_back({{0, 0, 0}, {scale, scale, 0}});
    }
    return file;
}

ModelFile TwoBoneSkeleton()
{
    ModelFile file;
    file.flags = Model::kSkeletal | Model::kTriangleList | Model::kShown | Model::kColours;
    file.frameCount = 2;
    file.speed = 1.0f;
    file.bones = {{0, "root", {-1, -1, -1}, {1, 1, 1}, 7, 9}, {1, "arm", {0, 0, 0}, {2, 1, 1}, 0, 3}};
    file.keys = {{0, 0, 0, 0, 0, 0, 1, 1, 1, 1},
                 {1, 0, 0, 0, 0, 0, 1, 1, 1, 1},
                 {0, 0, 1, 0, 0, 0.70710678f, 0.70710678f, 1, 1, 1},
                 {1, 1, 0, 0.5f, 0, 0, 0.8660254f, 2, 2, 2}};
    file.indices = {0, 1, 2};
    file.skinVertices = {{0, 0, {{0, 1.0f, {0, 0, 1}, {0, 0, 0}}}},
                         {1, 0, {{1, 1.0f, {1, 0, 0}, {1, 0, 0}}}},
                         {0, 1, {{0, 0.5f, {0, 0, 1}, {0, 1, 0}}, {1, 0.5f, {0, 0, 1}, {0, 1, 0}}}}};
    file.boxes = {{{0, 0, 0}, {1, 1, 0}}};
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RenderServices& services = RenderServices::Get();
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    folder.Write("Data/fuzz.mlf", data, size);
    try {
        Model model(services.modelServices, "fuzz.mlf", nullptr, 0);
        Model clone(model, nullptr, Model::kZBiased);
        Play(model, services);
        Play(clone, services);
    } catch (const Error&) {
        // The model's own refusal, logged.
    }
    services.Reset();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    seeds.Add("strip.mlf", Formats::BuildModelFile(Strip()));
    seeds.Add("morph.mlf", Formats::BuildModelFile(ThreeFrameMorph()));
    seeds.Add("skeleton.mlf", Formats::BuildModelFile(TwoBoneSkeleton()));
    ModelFile empty;
    empty.flags = Model::kStatic | Model::kTriangleList;
    empty.boxes = {{}};
    seeds.Add("empty.mlf", Formats::BuildModelFile(empty));
}
