// Shaders, shader users and the shader manager on the recording device: sharing, counts and removal, the textures
// of animation frames, the animation itself, what Apply sends, and damaged description files.
#include "engine/render/ShaderManager.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/TimerManager.h"
#include "engine/render/Shader.h"
#include "engine/render/ShaderUser.h"
#include "engine/render/TextureManager.h"
#include "tests/engine/render/TextureFixture.h"
#include "tools/formats/ShaderFileWriter.h"

#include <cmath>
#include <random>

using Formats::ShaderFile;
using Formats::ShaderFileStage;
using KeystrelEngine::Shader;
using KeystrelEngine::ShaderDescriptor;
using KeystrelEngine::ShaderManager;
using KeystrelEngine::ShaderStage;
using KeystrelEngine::ShaderUser;
using KeystrelEngine::Texture2D;

namespace {

class ShaderManagerTest : public RenderTesting::TextureFixture
{
protected:
    ShaderManagerTest() { Start(); }

    void Start()
    {
        manager.reset();
        Create();
        manager =
            std::make_unique<ShaderManager>(&services.log, &services.files, &timers, &services.config, render.get());
    }

    void WriteDescription(const std::string& name, const ShaderFile& file)
    {
        std::string path = name;
        std::replace(path.begin(), path.end(), '\\', '/');
        TestSupport::WriteFile(TestSupport::BaseFolder() + "/Data/" + path, Formats::BuildShaderFile(file));
    }

    static ShaderFile OneTexture(const std::string& texture, std::uint32_t sourceBlend = 0)
    {
        ShaderFile file;
        file.flags = sourceBlend ? 1 : 0;
        file.sourceBlend = sourceBlend;
        file.destinationBlend = sourceBlend ? 5 : 0;
        ShaderFileStage stage;
        stage.texture = texture;
        file.stages = {stage};
        return file;
    }

    // A description of one animated stage built in code.
    static ShaderDescriptor Animated(std::uint32_t mode, std::uint32_t frames, float rate, const std::string& texture,
                                     const std::string& opacity = "", std::uint32_t flags = 0)
    {
        ShaderDescriptor description;
        description.AddStage(mode, flags, 1, 1, frames, rate, texture, opacity, 1);
        return description;
    }

    std::vector<std::string> FrameNames(const ShaderUser& user) const
    {
        std::vector<std::string> names;
        const Shader& shader = *user.GetShader();
        for (std::uint32_t f = 0; f < shader.GetFrameCount(0); ++f)
            names.push_back(shader.GetTexture(0, f)->GetName());
        return names;
    }

    std::size_t LoadedTextures() const
    {
        std::vector<Texture2D*> loaded;
        manager->GetTextureManager()->GetLoadedTextures(loaded);
        return loaded.size();
    }

    // The current frames of stage 0 over successive updates.
    std::vector<std::uint32_t> Frames(ShaderUser& user, int updates)
    {
        std::vector<std::uint32_t> frames;
        for (int i = 0; i < updates; ++i) {
            manager->Update();
            frames.push_back(user.m_stages[0].m_currentFrame);
        }
        return frames;
    }

    KeystrelEngine::TimerManager timers{false};
    std::unique_ptr<ShaderManager> manager;
};

TEST_F(ShaderManagerTest, UsersOfOneDescriptionShareItsShaderUntilTheLastIsRemoved)
{
    WriteFlatPicture("models\\bark.tga", 4, 4, 24, {90, 60, 30, 255});
    WriteDescription("models\\tree.srf", OneTexture("Bark.TGA"));
    ShaderUser* first = manager->LoadShader("models\\tree.srf");
    ShaderUser* second = manager->LoadShader("Models\\Tree.srf");
    EXPECT_EQ(first->GetShader(), second->GetShader());
    EXPECT_EQ(manager->GetShaderCount(), 1u);
    EXPECT_EQ(manager->GetUserCount(), 2u);
    EXPECT_EQ(first->GetShader()->GetReferenceCount(), 2u);
    Texture2D* bark = first->GetShader()->GetTexture(0, 0);
    EXPECT_EQ(bark->GetName(), "diffuse_data\\models\\bark.tga");
    EXPECT_EQ(bark->GetReferenceCount(), 1u);

    manager->RemoveShader(first);
    EXPECT_EQ(manager->GetShaderCount(), 1u);
    EXPECT_EQ(manager->GetUserCount(), 1u);
    EXPECT_EQ(LoadedTextures(), 1u);
    manager->RemoveShader(second);
    EXPECT_EQ(manager->GetShaderCount(), 0u);
    EXPECT_EQ(manager->GetUserCount(), 0u);
    EXPECT_EQ(LoadedTextures(), 0u);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ShaderManagerTest, EqualTexturesShareAShaderWhileEachUserAppliesItsOwnSettings)
{
    WriteFlatPicture("fx\\glow.tga", 4, 4, 24, {1, 2, 3, 255});
    WriteDescription("fx\\add.srf", OneTexture("glow.tga", 2));
    ShaderFile blended = OneTexture("glow.tga", 4);
    blended.stages[0].addressU = 1;
    blended.stages[0].matrix = {2.0f, 3.0f, 0.5f, 0.25f};
    blended.stages[0].flags = ShaderStage::kMipMap;
    WriteDescription("fx\\blend.srf", blended);
    ShaderUser* additive = manager->LoadShader("fx\\add.srf");
    ShaderUser* alpha = manager->LoadShader("fx\\blend.srf");
    ASSERT_EQ(additive->GetShader(), alpha->GetShader());
    EXPECT_EQ(manager->GetShaderCount(), 1u);

    render->SetTexture(3, additive->GetShader()->GetTexture(0, 0));
    alpha->GetShader()->Apply(*alpha);
    EXPECT_TRUE(render->GetAlphaBlend());
    EXPECT_EQ(render->GetSourceBlend(), 4u);
    EXPECT_EQ(render->GetDestinationBlend(), 5u);
    EXPECT_EQ(render->GetTexture(0), alpha->GetShader()->GetTexture(0, 0));
    EXPECT_EQ(render->GetTextureFilter(0), 2u);
    EXPECT_EQ(Device().stageStates[0][D3DTSS_ADDRESSU], static_cast<DWORD>(D3DTADDRESS_WRAP));
    EXPECT_EQ(Device().stageStates[0][D3DTSS_ADDRESSV], static_cast<DWORD>(D3DTADDRESS_CLAMP));
    EXPECT_FLOAT_EQ(Device().textureTransforms[0]._11, 2.0f);
    EXPECT_FLOAT_EQ(Device().textureTransforms[0]._32, 0.25f);
    // The render system's further stages lose their textures.
    EXPECT_EQ(render->GetTexture(3), nullptr);

    additive->GetShader()->Apply(*additive);
    EXPECT_EQ(render->GetSourceBlend(), 2u);
    EXPECT_EQ(render->GetTextureFilter(0), 1u);
    EXPECT_FLOAT_EQ(Device().textureTransforms[0]._11, 1.0f);

    // A description built in code for the same picture shares the shader too.
    EXPECT_EQ(manager->GetShader(ShaderDescriptor("FX\\Glow.tga", ""))->GetShader(), additive->GetShader());
    EXPECT_EQ(manager->GetShaderCount(), 1u);
    const ShaderUser* opaque = manager->GetShader(ShaderDescriptor("", ""));
    opaque->GetShader()->Apply(*opaque);
    EXPECT_FALSE(render->GetAlphaBlend());
    EXPECT_EQ(render->GetTexture(0), nullptr);
}

TEST_F(ShaderManagerTest, RemovingAUserTheManagerDoesNotHoldIsFatal)
{
    manager->RemoveShader(nullptr);
    ShaderUser* user = manager->GetShader(ShaderDescriptor("rock.tga", ""));
    manager->RemoveShader(user);
    try {
        manager->RemoveShader(user);
        ADD_FAILURE() << "removed twice";
    } catch (const KeystrelEngine::FatalError& error) {
        EXPECT_EQ(error.GetText(), "Shader Manager: Failed to remove shader");
    }
    EXPECT_TRUE(services.Logged("Shader Manager: Failed to remove shader"));
    EXPECT_EQ(manager->GetUserCount(), 0u);
    EXPECT_EQ(manager->GetShaderCount(), 0u);
}

TEST_F(ShaderManagerTest, FrameAnimationsLoadOneNumberedFilePerFrame)
{
    using Names = std::vector<std::string>;
    const ShaderUser* one = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 5, 1, "fx\\anim0.jpg"));
    EXPECT_EQ(FrameNames(*one),
              (Names{"diffuse_data\\fx\\anim0.jpg", "diffuse_data\\fx\\anim1.jpg", "diffuse_data\\fx\\anim2.jpg",
                     "diffuse_data\\fx\\anim3.jpg", "diffuse_data\\fx\\anim4.jpg"}));
    const ShaderUser* two = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 5, 1, "anim05.jpg"));
    EXPECT_EQ(FrameNames(*two)[0], "diffuse_data\\anim00.jpg");
    EXPECT_EQ(FrameNames(*two)[4], "diffuse_data\\anim04.jpg");
    const ShaderUser* twelve = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 12, 1, "Fire00.TGA"));
    EXPECT_EQ(FrameNames(*twelve)[11], "diffuse_data\\fire11.tga");

    // Opacity frames number the opacity name and keep the texture name; both frames number both.
    const ShaderUser* opacity =
        manager->GetShader(Animated(ShaderStage::kAnimationOpacityFrames, 3, 1, "smoke.tga", "puff1.tga"));
    EXPECT_EQ(FrameNames(*opacity)[2], "diffuse_data\\smoke.tga_plus_opacity_data\\puff2.tga");
    const ShaderUser* both =
        manager->GetShader(Animated(ShaderStage::kAnimationBothFrames, 3, 1, "smoke0.tga", "puff0.tga"));
    EXPECT_EQ(FrameNames(*both)[1], "diffuse_data\\smoke1.tga_plus_opacity_data\\puff1.tga");

    // A name too short for the frame number's digits is used as it is.
    const ShaderUser* shortName = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 12, 1, "a.tga"));
    EXPECT_EQ(FrameNames(*shortName), Names(12, "diffuse_data\\a.tga"));
    EXPECT_EQ(shortName->GetShader()->GetTexture(0, 0)->GetReferenceCount(), 12u);

    // A stage without textures loads none.
    const std::size_t before = LoadedTextures();
    const ShaderUser* none = manager->GetShader(
        Animated(ShaderStage::kAnimationTextureFrames, 4, 1, "never.tga", "", ShaderStage::kNoTextures));
    EXPECT_EQ(none->GetShader()->GetFrameCount(0), 4u);
    EXPECT_EQ(none->GetShader()->GetTexture(0, 2), nullptr);
    EXPECT_EQ(LoadedTextures(), before);
}

TEST_F(ShaderManagerTest, FrameAnimationsWrapOnlyPastTheFrameCount)
{
    ShaderUser* user = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 4, 10, "fx\\anim0.tga"));
    timers.m_frameTime = 0.1f;
    EXPECT_EQ(Frames(*user, 6), (std::vector<std::uint32_t>{1, 2, 3, 0, 1, 2}));

    // Without animation the frame stays 0 and the position does not move.
    ShaderUser* still = manager->GetShader(ShaderDescriptor("still.tga", ""));
    Frames(*still, 3);
    EXPECT_EQ(still->m_stages[0].m_currentFrame, 0u);
    EXPECT_EQ(still->GetPosition(0), 0.0f);
}

TEST_F(ShaderManagerTest, BrokenRatesAndCountsNeverStopTheAnimation)
{
    timers.m_frameTime = 1.0f;
    ShaderUser* huge = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 4, 1e30f, "a0.tga"));
    ShaderUser* nan = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 4, NAN, "b0.tga"));
    ShaderUser* infinite = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 4, INFINITY, "c0.tga"));
    ShaderUser* backward = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 4, -3, "d0.tga"));
    ShaderUser* empty = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 0, 5, "e0.tga"));
    ShaderDescriptor noCells;
    noCells.AddStage(ShaderStage::kAnimationGrid, 0, 0, 0, 6, 2, "cells.tga", "", 0);
    ShaderUser* grid = manager->GetShader(noCells);
    // A description made in code keeps any count; played backwards its position wraps to 2^32.
    ShaderDescriptor endless;
    endless.AddStage(ShaderStage::kAnimationGrid, 0, 65535, 65537, 0xFFFFFFFFu, -1, "endless.tga", "", 0);
    ShaderUser* backwardGrid = manager->GetShader(endless);
    manager->Update();
    EXPECT_EQ(backwardGrid->GetPosition(0), 4294967296.0f);
    EXPECT_LT(backwardGrid->m_stages[0].m_offsetU, 1.0f);
    EXPECT_GE(backwardGrid->m_stages[0].m_offsetV, 0.0f);
    EXPECT_GT(huge->GetPosition(0), 0.0f);
    EXPECT_LE(huge->GetPosition(0), 4.0f);
    EXPECT_EQ(nan->GetPosition(0), 0.0f);
    EXPECT_EQ(infinite->GetPosition(0), 0.0f);
    EXPECT_EQ(backward->GetPosition(0), 1.0f);
    EXPECT_EQ(backward->m_stages[0].m_currentFrame, 1u);
    EXPECT_EQ(empty->GetPosition(0), 0.0f);
    EXPECT_EQ(empty->m_stages[0].m_currentFrame, 0u);
    EXPECT_TRUE(std::isfinite(grid->m_stages[0].m_offsetV));
    empty->GetShader()->Apply(*empty);
    EXPECT_EQ(render->GetTexture(0), nullptr);
}

TEST_F(ShaderManagerTest, GridAnimationsShowEachCellInsetThroughTheTextureMatrix)
{
    ShaderUser* user = manager->GetShader(ShaderDescriptor::FromTexture("font.tga", 4, 2, ""));
    ASSERT_EQ(user->m_stages[0].m_animationMode, ShaderStage::kAnimationGrid);
    user->m_stages[0].m_frameRate = 5.0f;
    timers.m_frameTime = 1.0f;
    manager->Update();
    const ShaderStage& stage = user->m_stages[0];
    EXPECT_FLOAT_EQ(stage.m_scaleU, 0.2475f);
    EXPECT_FLOAT_EQ(stage.m_scaleV, 0.495f);
    EXPECT_FLOAT_EQ(stage.m_offsetU, 0.25125f);
    EXPECT_FLOAT_EQ(stage.m_offsetV, 0.0025f);
    EXPECT_EQ(stage.m_currentFrame, 0u);
    // Frame 0 is the top left cell, also at the position of the frame count.
    timers.m_frameTime = 0.6f;
    manager->Update();
    EXPECT_FLOAT_EQ(stage.m_offsetU, 0.00125f);
    EXPECT_FLOAT_EQ(stage.m_offsetV, 0.5025f);
}

TEST_F(ShaderManagerTest, SetFrameShowsItsFrameFromTheNextUpdateOn)
{
    ShaderUser* grid = manager->GetShader(ShaderDescriptor::FromTexture("button.tga", 2, 2, ""));
    ShaderUser* frames = manager->GetShader(Animated(ShaderStage::kAnimationTextureFrames, 4, 0.0f, "anim.tga"));
    grid->SetFrame(0, 3);
    frames->SetFrame(0, 2);
    grid->SetFrame(1, 1); // no second stage
    for (int update = 0; update < 2; ++update) {
        manager->Update();
        EXPECT_EQ(frames->m_stages[0].m_currentFrame, 2u);
        EXPECT_FLOAT_EQ(grid->m_stages[0].m_offsetU, 0.5025f) << "the bottom right cell";
        EXPECT_FLOAT_EQ(grid->m_stages[0].m_offsetV, 0.0025f);
    }
    EXPECT_EQ(grid->GetPosition(1), 0.0f);
    frames->SetFrame(0, 0);
    manager->Update();
    EXPECT_EQ(frames->m_stages[0].m_currentFrame, 0u);
}

TEST_F(ShaderManagerTest, ARandomStartTakesOneDrawOfTheEngineGenerator)
{
    const ShaderDescriptor description =
        Animated(ShaderStage::kAnimationTextureFrames, 8, 1, "spark0.tga", "", ShaderStage::kRandomStart);
    KeystrelEngine::RandomSeed = 12345;
    const std::uint32_t firstDraw = KeystrelEngine::RandomNext();
    const std::uint32_t secondDraw = KeystrelEngine::RandomNext();
    KeystrelEngine::RandomSeed = 12345;
    const ShaderUser* first = manager->GetShader(description);
    const ShaderUser* second = manager->GetShader(description);
    EXPECT_FLOAT_EQ(first->GetPosition(0), 8.0f * static_cast<float>(firstDraw) / 32768.0f);
    EXPECT_FLOAT_EQ(second->GetPosition(0), 8.0f * static_cast<float>(secondDraw) / 32768.0f);
    EXPECT_NE(first->GetPosition(0), second->GetPosition(0));
    EXPECT_EQ(first->GetShader(), second->GetShader());
}

TEST_F(ShaderManagerTest, ADeviceWithFewerStagesDrawsTheStagesItHas)
{
    std::vector<PlatformTesting::ScriptedDriver> drivers = PlatformTesting::DefaultDisplayDrivers();
    for (PlatformTesting::ScriptedDevice& device : drivers[0].devices)
        device.textureStages = 1;
    PlatformTesting::SetDisplayDrivers(drivers);
    Start();
    ShaderDescriptor twoStages("base.tga", "");
    twoStages.AddStage(ShaderStage::kAnimationNone, 0, 1, 1, 1, 0, "detail.tga", "", 1);
    const ShaderUser* user = manager->GetShader(twoStages);
    user->GetShader()->Apply(*user);
    EXPECT_EQ(render->GetTexture(0), user->GetShader()->GetTexture(0, 0));
    EXPECT_EQ(render->GetTextureStageCount(), 1u);
}

TEST_F(ShaderManagerTest, TheManagerDeletesItsUsersAndTheirTextures)
{
    WriteFlatPicture("wall.tga", 2, 2, 24, {1, 2, 3, 255});
    ShaderUser* user = manager->GetShader(ShaderDescriptor("wall.tga", ""));
    manager->GetShader(ShaderDescriptor("floor.tga", ""));
    user->GetShader()->Apply(*user);
    ASSERT_NE(render->GetTexture(0), nullptr);
    manager.reset();
    EXPECT_EQ(render->GetTexture(0), nullptr);
    EXPECT_EQ(Device().textures[0], nullptr);
}

TEST_F(ShaderManagerTest, DamagedDescriptionFilesMakeNoUser)
{
    ShaderFile file = OneTexture("bark.tga", 4);
    ShaderFileStage grid;
    grid.mode = ShaderStage::kAnimationGrid;
    grid.frameCount = 8;
    grid.frameRate = 3.0f;
    grid.columns = 4;
    grid.rows = 2;
    grid.texture = "fire.tga";
    grid.opacity = "fire_alpha.tga";
    file.stages.push_back(grid);
    const TestSupport::Bytes good = Formats::BuildShaderFile(file);
    const auto tryLoad = [&](const TestSupport::Bytes& bytes) {
        TestSupport::WriteFile(TestSupport::BaseFolder() + "/Data/models/damaged.srf", bytes);
        try {
            manager->RemoveShader(manager->LoadShader("models\\damaged.srf"));
            return true;
        } catch (const KeystrelEngine::FatalError& error) {
            EXPECT_EQ(error.GetText(), "Shader Stages: buffer is overflowed");
        } catch (const KeystrelEngine::Error& error) {
            EXPECT_FALSE(error.GetText().empty());
        }
        return false;
    };
    for (std::size_t size = 0; size < good.size(); ++size)
        EXPECT_FALSE(tryLoad(TestSupport::Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size))));

    std::mt19937 random(11);
    int loaded = 0;
    for (int i = 0; i < 500; ++i) {
        TestSupport::Bytes damaged = good;
        for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n)
            damaged[13 + random() % (damaged.size() - 13)] = static_cast<std::uint8_t>(random());
        if (tryLoad(damaged)) {
            ++loaded;
            // A damaged but readable file animates like any other.
            manager->Update();
        }
        EXPECT_EQ(manager->GetUserCount(), 0u);
        EXPECT_EQ(manager->GetShaderCount(), 0u);
    }
    EXPECT_GT(loaded, 0);
    EXPECT_EQ(LoadedTextures(), 0u);
}

} // namespace
