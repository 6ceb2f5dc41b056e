// Shader descriptions: the input is a ".srf" file of the data folder, read as the shader manager reads it. A
// description that loads is animated by a shader user for a few frames, so the frame, grid and random-start
// arithmetic runs on whatever counts and rates the file gave. The user's shader holds no textures: the animation
// needs none, and the textures have targets of their own.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/TimerManager.h"
#include "engine/render/Shader.h"
#include "engine/render/ShaderDescriptor.h"
#include "engine/render/ShaderUser.h"
#include "tools/formats/ShaderFileWriter.h"

using namespace KeystrelEngine;
using Formats::ShaderFile;
using Formats::ShaderFileStage;

namespace {

void Animate(const ShaderDescriptor& description, MessageManager& log, TimerManager& timers)
{
    ShaderUser user(description, &log, &timers, new Shader(&log, nullptr, nullptr, nullptr, ShaderDescriptor()));
    for (const float frameTime : {0.1f, 0.5f, 3.0f}) {
        timers.m_frameTime = frameTime;
        user.Update();
    }
}

ShaderFileStage Stage(std::uint32_t mode, std::uint32_t frames, float rate, const char* texture)
{
    ShaderFileStage stage;
    stage.mode = mode;
    stage.frameCount = frames;
    stage.frameRate = rate;
    stage.texture = texture;
    return stage;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    static MessageManager log("", "Quellhaven", "", false, false);
    static FileManager files(&log, folder.GetBase(), "Data");
    static TimerManager timers(false);
    folder.Write("Data/fuzz.srf", data, size);
    RandomSeed = 1; // random starts draw the same frames for the same input
    try {
        Animate(ShaderDescriptor::LoadFromFile("fuzz.srf", &log, &files), log, timers);
    } catch (const Error&) {
        // The description's own refusal (logged) or its stage overflow.
    }
    log.m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    ShaderFile plain;
    seeds.Add("empty.srf", Formats::BuildShaderFile(plain));
    plain.stages = {Stage(0, 1, 0.0f, "stone.tga")};
    plain.stages[0].opacity = "stone_a.tga";
    seeds.Add("plain.srf", Formats::BuildShaderFile(plain));

    ShaderFile grid;
    grid.flags = 1;
    grid.sourceBlend = 4;
    grid.destinationBlend = 5;
    grid.stages = {Stage(1, 8, 5.0f, "font.tga")};
    grid.stages[0].columns = 4;
    grid.stages[0].rows = 2;
    grid.stages[0].flags = 2; // random start
    seeds.Add("grid.srf", Formats::BuildShaderFile(grid));

    ShaderFile frames;
    frames.stages = {Stage(2, 12, 10.0f, "fx\\fire00.tga"), Stage(4, 3, -2.0f, "glow0.tga")};
    frames.stages[1].opacity = "glow_a0.tga";
    frames.stages[1].flags = 1 | 4; // mip-mapped, no textures
    seeds.Add("frames.srf", Formats::BuildShaderFile(frames));
    frames.stages = {Stage(3, 100, 25.0f, "smoke.tga")};
    frames.stages[0].opacity = "smoke_a00.tga";
    frames.stages[0].addressU = 1;
    frames.stages[0].matrix = {2.0f, 0.5f, 0.25f, -1.0f};
    seeds.Add("opacity-frames.srf", Formats::BuildShaderFile(frames));
}
