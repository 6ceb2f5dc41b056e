#include "framework/DataKeeper.h"
#include "framework/GUILoadingWindowBase.h"

#include "engine/foundation/Error.h"
#include "engine/render/Image.h"
#include "engine/render/ModelManager.h"
#include "engine/render/TextureManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem_DS7.h"
#include "tests/engine/render/CountingRenderSystem.h"
#include "tests/engine/render/ModelFixture.h"
#include "tools/formats/SoundWriters.h"

#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

using GameFramework::DataKeeper;

namespace {

// A keeper whose load is a script the test owns, so that the script outlives the keeper on its own thread.
class ScriptedKeeper : public DataKeeper
{
public:
    using Script = std::function<void(ScriptedKeeper&)>;

    ScriptedKeeper(const GameFramework::DataKeeperServices& services, const Script& script)
        : DataKeeper(services), m_script(&script)
    {
    }

    using DataKeeper::m_abort;
    using DataKeeper::m_models;
    using DataKeeper::m_progress;
    using DataKeeper::m_shaders;
    using DataKeeper::m_threaded;

protected:
    void DoLoad() override { (*m_script)(*this); }

private:
    const Script* m_script;
};

// Counts the presentations of the loading loop (one per turn) and lets a test act inside a turn.
class PresentingRenderSystem : public RenderTesting::CountingRenderSystem
{
public:
    PresentingRenderSystem(KeystrelEngine::MessageManager* log, KeystrelEngine::Config* config)
        : CountingRenderSystem(log, config, 1, 1)
    {
    }

    void SwapBuffers() override
    {
        ++presents;
        if (onPresent)
            onPresent(presents);
    }

    int presents = 0;
    std::function<void(int)> onPresent;
};

void WaitFor(const std::function<bool()>& condition)
{
    while (!condition())
        std::this_thread::yield();
}

class LoadingTest : public RenderTesting::ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        PlatformTesting::UseManualSoundOutput(22050);
        RenderTesting::WriteDataFile("audio\\click.wav", Formats::MakeWav(1, 16, 22050, Formats::SoundBytes(4000, 1)));
        // More than the ring of a static buffer: streamed.
        RenderTesting::WriteDataFile("audio\\music.wav",
                                     Formats::MakeWav(1, 16, 22050, Formats::SoundBytes(900000, 1)));
        soundSystem = std::make_unique<KeystrelEngine::SoundSystem_DS7>(&services.log, &services.files, nullptr,
                                                                        reinterpret_cast<HWND>(0x1), false);
        sounds = std::make_unique<KeystrelEngine::SoundManager>(&services.log, &services.files, soundSystem.get());
        models = std::make_unique<KeystrelEngine::ModelManager>(modelServices);
        presenting = std::make_unique<PresentingRenderSystem>(&services.log, &services.config);
    }

    void TearDown() override
    {
        PlatformTesting::FailCreateThread(false);
        models.reset();
        sounds.reset();
        soundSystem.reset();
        PlatformTesting::UseManualSoundOutput(0);
        ModelFixture::TearDown();
    }

    GameFramework::DataKeeperServices KeeperServices()
    {
        return {&services.log, &services.files, shaders.get(), models.get(), nullptr, nullptr};
    }

    GameFramework::GUILoadingWindowBase MakeLoading(KeystrelEngine::RenderSystem* renderSystem)
    {
        return GameFramework::GUILoadingWindowBase(
            {&services.log, timers.get(), window.get(), renderSystem, sounds.get()});
    }

    // Runs the loading of a keeper with the script; what RunLoading throws passes on.
    void Run(const ScriptedKeeper::Script& script, KeystrelEngine::RenderSystem* renderSystem)
    {
        ScriptedKeeper keeper(KeeperServices(), script);
        GameFramework::GUILoadingWindowBase loading = MakeLoading(renderSystem);
        loading.Open(&keeper);
        loading.RunLoading();
    }

    std::unique_ptr<KeystrelEngine::SoundSystem_DS7> soundSystem;
    std::unique_ptr<KeystrelEngine::SoundManager> sounds;
    std::unique_ptr<KeystrelEngine::ModelManager> models;
    std::unique_ptr<PresentingRenderSystem> presenting;
};

TEST_F(LoadingTest, WorkerMakesModelsTexturesAndSoundsWhileTheMainThreadPresentsAndStreams)
{
    const std::string model = WriteModel("models\\quad", RenderTesting::StaticQuad());
    KeystrelEngine::Image picture;
    picture.Create(&services.log, 4, 4, 32);
    ASSERT_TRUE(
        KeystrelEngine::Image::SaveTGA(picture, TestSupport::BaseFolder() + "/Data/ui/picture.tga", &services.files));
    Formats::ShaderFile textured;
    textured.stages.push_back({});
    textured.stages[0].texture = "ui\\picture.tga";
    RenderTesting::WriteDataFile("ui\\picture.srf", Formats::BuildShaderFile(textured));

    KeystrelEngine::Sound* music = sounds->CreateSound("audio\\music.wav");
    ASSERT_NE(music, nullptr);
    music->SetLoop(true);
    sounds->Play(music, true);
    for (int run = 0; run < 5; ++run) {
        std::thread::id worker;
        std::vector<KeystrelEngine::Texture2D*> textures;
        const ScriptedKeeper::Script script = [&](ScriptedKeeper& keeper) {
            worker = std::this_thread::get_id();
            keeper.m_models.push_back(models->LoadModelUnmanaged(model, 0));
            keeper.m_shaders.push_back(shaders->LoadShader("ui\\picture.srf"));
            shaders->GetTextureManager()->GetLoadedTextures(textures);
            for (int i = 0; i < 200; ++i)
                sounds->CreateSound("audio\\click.wav");
            keeper.m_progress = 1.0f;
        };
        Run(script, render.get());
        EXPECT_NE(worker, std::this_thread::get_id());
        EXPECT_EQ(textures.size(), 1u);
        textures.clear();
        shaders->GetTextureManager()->GetLoadedTextures(textures);
        EXPECT_TRUE(textures.empty()) << "the keeper gave its shader back";
        ASSERT_EQ(sounds->GetSounds().GetUsedSlots().size(), 201u);
        EXPECT_EQ(music->GetState(), KeystrelEngine::Sound::Playing);
        while (sounds->GetSounds().GetUsedSlots().size() > 1)
            sounds->DeleteSound(sounds->GetSounds().GetSlots()[sounds->GetSounds().GetUsedSlots().back()]);
    }
}

TEST_F(LoadingTest, LoopEndsAtTheFirstTestAfterTheLoadAndWithoutAThreadLoadsOnTheMainThread)
{
    std::atomic<bool> release{false};
    GameFramework::GUILoadingWindowBase loading = MakeLoading(presenting.get());
    // The load ends inside the third turn, between its presentation and its test.
    presenting->onPresent = [&](int turn) {
        if (turn == 3) {
            release = true;
            WaitFor([&] { return loading.IsDone(); });
        }
    };
    const ScriptedKeeper::Script waiting = [&](ScriptedKeeper&) { WaitFor([&] { return release.load(); }); };
    ScriptedKeeper keeper(KeeperServices(), waiting);
    loading.Open(&keeper);
    loading.RunLoading();
    EXPECT_EQ(presenting->presents, 3);
    loading.Close();
    EXPECT_FALSE(loading.IsDone());
    EXPECT_EQ(loading.GetKeeper(), nullptr);

    PlatformTesting::FailCreateThread(true);
    presenting->presents = 0;
    presenting->onPresent = nullptr;
    std::thread::id loader;
    const ScriptedKeeper::Script recording = [&](ScriptedKeeper&) { loader = std::this_thread::get_id(); };
    ScriptedKeeper unthreaded(KeeperServices(), recording);
    loading.Open(&unthreaded);
    loading.RunLoading();
    EXPECT_EQ(loader, std::this_thread::get_id());
    EXPECT_EQ(presenting->presents, 1);
    EXPECT_TRUE(loading.IsDone());

    ScriptedKeeper threaded(KeeperServices(), recording);
    threaded.m_threaded = true;
    try {
        threaded.Load();
        ADD_FAILURE() << "no thread, no error";
    } catch (const KeystrelEngine::FatalError& error) {
        EXPECT_EQ(error.GetText(), "Failed to create \"DataKeeper::Load\" thread");
    }
}

template <class Thrown> void ExpectRethrown(const std::function<void(const ScriptedKeeper::Script&)>& run)
{
    const ScriptedKeeper::Script script = [](ScriptedKeeper&) { throw Thrown("lost on the worker"); };
    try {
        run(script);
        ADD_FAILURE() << "nothing was thrown";
    } catch (const Thrown& error) {
        EXPECT_EQ(error.GetText(), "lost on the worker");
    }
}

TEST_F(LoadingTest, ErrorsOfTheWorkerReachTheCallerOfRunLoading)
{
    const auto run = [&](const ScriptedKeeper::Script& script) { Run(script, presenting.get()); };
    ExpectRethrown<KeystrelEngine::FatalError>(run);
    ExpectRethrown<KeystrelEngine::FileError>(run);
}

// A keeper on its own thread: at its end it is not waited for; before it, it is asked to stop and waited for.
TEST_F(LoadingTest, KeeperOnItsOwnThreadIsWaitedForOnlyBeforeItsEnd)
{
    for (const float progress : {1.0f, 0.5f}) {
        SCOPED_TRACE(progress);
        std::atomic<bool> reached{false}, release{false}, left{false}, aborted{false};
        // At its end the script no longer touches the keeper, which may be gone.
        const ScriptedKeeper::Script script = [&](ScriptedKeeper& keeper) {
            keeper.m_progress = progress;
            reached = true;
            if (progress < 1.0f) {
                WaitFor([&] { return keeper.m_abort.load(); });
                aborted = true;
            } else {
                WaitFor([&] { return release.load(); });
            }
            left = true;
        };
        auto keeper = std::make_unique<ScriptedKeeper>(KeeperServices(), script);
        keeper->m_threaded = true;
        keeper->Load();
        WaitFor([&] { return reached.load(); });
        keeper.reset();
        EXPECT_EQ(left.load(), progress < 1.0f);
        EXPECT_EQ(aborted.load(), progress < 1.0f);
        release = true;
        WaitFor([&] { return left.load(); });
    }
}

} // namespace
