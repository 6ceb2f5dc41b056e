// 100 skinned models of 2,000 vertices each (a bending ribbon on four bones, two weights a vertex), updated and
// drawn every frame at 1024 x 768 (offscreen). Prints ms per frame of the update (animation, posing and skinning,
// on one core) and of the drawing (the model draws, the end of scene and the presentation), medians of several
// rounds, and the update against its target.
#include "bench/BenchSupport.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/CameraManager.h"
#include "engine/render/Image.h"
#include "engine/render/Light.h"
#include "engine/render/LightManager.h"
#include "engine/render/ModelManager.h"
#include "engine/render/RenderSystem_D3D7.h"
#include "engine/render/ShaderManager.h"
#include "tools/formats/ModelFileWriter.h"
#include "tools/formats/ShaderFileWriter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

using namespace KeystrelEngine;
using BenchSupport::EngineName;
using BenchSupport::Median;
using BenchSupport::Milliseconds;

namespace {

constexpr int kModels = 100;
constexpr int kColumns = 50; // 50 x 40 vertices = 2,000
constexpr int kRows = 40;
constexpr int kBones = 4;
constexpr int kKeyFrames = 30;
constexpr int kFrames = 30;
constexpr int kRounds = 5;
constexpr double kTargetMs = 2.0;

// A ribbon along x from 0 to 1, whose four bones bend it further the more key frames pass.
Formats::ModelFile MakeRibbon()
{
    Formats::ModelFile file;
    file.flags = Model::kSkeletal | Model::kTriangleList | Model::kLit | Model::kZTest | Model::kShown;
    file.frameCount = kKeyFrames;
    file.speed = 30.0f;
    for (int b = 0; b < kBones; ++b)
        file.bones.push_back({0, "bone", {-0.3f, -0.3f, -0.1f}, {0.3f, 0.3f, 0.1f}, 0, 0});
    for (int f = 0; f < kKeyFrames; ++f) {
        for (int b = 0; b < kBones; ++b) {
            const float angle = 0.3f * std::sin(static_cast<float>(f) * 0.2f) * static_cast<float>(b + 1);
            file.keys.push_back({0.25f * static_cast<float>(b), 0.0f, 0.0f, 0.0f, 0.0f, std::sin(angle * 0.5f),
                                 std::cos(angle * 0.5f), 1.0f, 1.0f, 1.0f});
        }
    }
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            const float u = static_cast<float>(x) / (kColumns - 1);
            const float v = static_cast<float>(y) / (kRows - 1);
            const float along = u * (kBones - 1);
            const auto first = static_cast<std::uint16_t>(std::min<float>(along, kBones - 2));
            const float second = along - first;
            const Formats::Float3 position{u - 0.25f * first, v * 0.3f - 0.15f, 0.0f};
            file.skinVertices.push_back({u,
                                         v,
                                         {{first, 1.0f - second, {0, 0, 1}, position},
                                          {static_cast<std::uint16_t>(first + 1), second, {0, 0, 1}, position}}});
        }
    }
    for (int y = 0; y + 1 < kRows; ++y) {
        for (int x = 0; x + 1 < kColumns; ++x) {
            const auto a = static_cast<std::uint32_t>(y * kColumns + x);
            file.indices.insert(file.indices.end(), {a, a + kColumns, a + 1, a + 1, a + kColumns, a + kColumns + 1});
        }
    }
    file.boxes = {{{0, -0.2f, -0.1f}, {1, 0.2f, 0.1f}}};
    return file;
}

// A striped picture and the description that puts it on the ribbon.
void WriteTexture(MessageManager& log, FileManager& files, const std::string& imageName,
                  const std::string& descriptionPath)
{
    Image image;
    image.Create(&log, 64, 64, 24);
    std::uint8_t* pixel = image.GetPixels();
    for (int i = 0; i < 64 * 64; ++i, pixel += 3) {
        const bool stripe = (i % 64) / 8 % 2 == 0;
        pixel[0] = stripe ? 230 : 60;
        pixel[1] = stripe ? 180 : 90;
        pixel[2] = stripe ? 60 : 200;
    }
    Image::SaveBMP(image, imageName, &files);
    Formats::ShaderFile description;
    description.stages.push_back({});
    description.stages[0].texture = "ribbon.bmp"; // next to the description
    const Formats::Bytes bytes = Formats::BuildShaderFile(description);
    std::ofstream(descriptionPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bench_models";
    std::filesystem::create_directories(folder);
    const std::string modelName = EngineName(folder / "ribbon.mlf");
    {
        const Formats::Bytes bytes = Formats::BuildModelFile(MakeRibbon());
        std::ofstream(folder / "ribbon.mlf", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    MessageManager log("", "bench_models", "", false, false);
    FileManager files(&log, "", "Data");
    Config config("bench_models", "", &log, &files, "1024x768x32", true, true, false);
    config.v_vsync = false;
    Window window(&log, &config, "bench_models", nullptr, 0, false, 1024, 768, false, true, 0, 0);
    std::unique_ptr<RenderSystem_D3D7> render;
    try {
        render = std::make_unique<RenderSystem_D3D7>(&log, &config, &window, true);
    } catch (const Error& error) {
        std::printf("bench_models: no GL device (%s)\n", error.GetText().c_str());
        return 0;
    }
    TimerManager timers(true);
    timers.m_frameTime = 1.0f / 60.0f;
    CameraManager cameras(&log, &window, render.get());
    LightManager lights(&log, render.get());
    Light* sun = lights.CreateLight();
    sun->type = Light::TypeDirectional;
    sun->direction = {0.3f, -0.5f, -0.8f};
    lights.m_ambient = {0.2f, 0.2f, 0.2f, 1.0f};
    ShaderManager shaders(&log, &files, &timers, &config, render.get());
    WriteTexture(log, files, EngineName(folder / "ribbon.bmp"), (folder / "ribbon.srf").string());
    ModelManager models({&log, &files, &timers, render.get(), &cameras, &lights, &shaders});

    std::vector<Model*> ribbons;
    ribbons.push_back(models.LoadModel(modelName, nullptr, 0));
    while (ribbons.size() < kModels)
        ribbons.push_back(models.CloneModel(*ribbons[0], nullptr, 0));
    for (int i = 0; i < kModels; ++i) {
        Matrix4 place;
        place.MakeTranslation(
            {-5.5f + 1.1f * static_cast<float>(i % 10), -2.0f + 0.45f * static_cast<float>(i / 10), -8.0f});
        ribbons[i]->SetWorldMatrix(place);
        AnimationControl& animation = ribbons[i]->GetAnimationControl();
        animation.m_playing = true;
        animation.m_looping = true;
        animation.m_position = static_cast<float>(i % kKeyFrames);
    }

    std::vector<double> updateTimes;
    std::vector<double> drawTimes;
    for (int round = 0; round <= kRounds; ++round) {
        double update = 0.0;
        double draw = 0.0;
        for (int frame = 0; frame < kFrames; ++frame) {
            render->Refresh();
            cameras.Update();
            lights.Apply();
            const auto start = std::chrono::steady_clock::now();
            for (Model* ribbon : ribbons)
                ribbon->Update(true);
            const auto updated = std::chrono::steady_clock::now();
            render->BeginScene();
            for (Model* ribbon : ribbons)
                ribbon->Render();
            render->EndScene();
            render->SwapBuffers();
            const auto drawn = std::chrono::steady_clock::now();
            update += Milliseconds(updated - start);
            draw += Milliseconds(drawn - updated);
        }
        if (round == 0)
            continue; // warms the caches and the driver
        updateTimes.push_back(update / kFrames);
        drawTimes.push_back(draw / kFrames);
    }
    const double updateMs = Median(updateTimes);
    const double drawMs = Median(drawTimes);
    std::printf("bench_models: %d skinned models x %d vertices (%d bones, 2 weights a vertex), 1024x768, lit\n",
                kModels, kColumns * kRows, kBones);
    std::printf("  update (skinning) %8.2f ms/frame\n", updateMs);
    std::printf("  draw              %8.2f ms/frame\n", drawMs);
    std::printf("  total             %8.2f ms/frame\n", updateMs + drawMs);
    std::printf("  update / target   %8.2f (target: skinning under %.1f ms on one core)\n", updateMs / kTargetMs,
                kTargetMs);
    std::filesystem::remove_all(folder);
    return 0;
}
