#include "SoundTestBed.h"

#include "engine/foundation/Error.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundBufferManager.h"
#include "engine/sound/SoundBuffer_DS7.h"
#include "platform/testing.h"
#include "tests/support/TestEnvironment.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

using namespace KeystrelEngine;
using namespace SoundTesting;
using namespace Formats;
using namespace TestSupport;

namespace {

SoundBytes Mono16(std::initializer_list<std::int16_t> samples)
{
    SoundBytes pcm;
    for (std::int16_t sample : samples) {
        pcm.push_back(static_cast<std::uint8_t>(sample));
        pcm.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(sample) >> 8));
    }
    return pcm;
}

std::vector<std::uint32_t> Progress(StreamProgress& progress, DWORD cursor)
{
    std::vector<std::uint32_t> played;
    progress.Advance(cursor, played);
    return played;
}

class SoundBufferTest : public ::testing::Test
{
protected:
    SoundBufferManager& Buffers() { return *bed.manager->GetBufferManager(); }

    SoundTestBed bed;
};

} // namespace

TEST_F(SoundBufferTest, DataAboveOneRingAreStreamed)
{
    bed.WriteSound("ring.wav", MakeWav(1, 8, 22050, SoundBytes(SoundBuffer::kRingSize, 0x80)));
    bed.WriteSound("more.wav", MakeWav(1, 8, 22050, SoundBytes(SoundBuffer::kRingSize + 1, 0x80)));
    EXPECT_FALSE(bed.manager->CreateSound("ring.wav")->GetBuffer()->IsStreamed());
    EXPECT_TRUE(bed.manager->CreateSound("more.wav")->GetBuffer()->IsStreamed());
}

TEST_F(SoundBufferTest, StaticFilesAreSharedByNameAndEachVoiceKeepsItsCursor)
{
    bed.WriteSound("boom.wav", MakeWav(1, 16, 22050, Mono16({100, 200, 300, 400, 500})));
    Sound* first = bed.manager->CreateSound("Boom.WAV");
    std::filesystem::remove(BaseFolder() + "/data/boom.wav");
    Sound* second = bed.manager->CreateSound("boom.wav");
    EXPECT_EQ(second->GetBuffer()->GetPcmSize(), 10u) << "the second voice shares the loaded samples";

    bed.manager->Play(first, true);
    bed.Render(2);
    bed.manager->Play(second, true);
    EXPECT_EQ(bed.Render(3), (std::vector<std::int16_t>{400, 400, 600, 600, 800, 800}));

    bed.manager->DeleteSound(first);
    EXPECT_EQ(bed.Render(2), (std::vector<std::int16_t>{400, 400, 500, 500})) << "a duplicate outlives its model";
}

TEST_F(SoundBufferTest, StreamsAreNeverShared)
{
    bed.WriteSound("long.wav", MakeWav(2, 16, 22050, CounterPattern(SoundBuffer::kRingSize / 4 + 100)));
    Sound* first = bed.manager->CreateSound("long.wav");
    EXPECT_TRUE(first->GetBuffer()->IsStreamed());
    std::filesystem::remove(BaseFolder() + "/data/long.wav");
    EXPECT_THROW(bed.manager->CreateSound("long.wav"), FileError) << "a stream opens its own file";
}

TEST_F(SoundBufferTest, FreedSlotsAreReusedLastInFirstOut)
{
    for (const char* name : {"a.wav", "b.wav", "c.wav"})
        bed.WriteSound(name, MakeWav(1, 8, 22050, SoundBytes(16, 0x90)));
    Sound* a = bed.manager->CreateSound("a.wav");
    bed.manager->CreateSound("b.wav");
    Sound* c = bed.manager->CreateSound("c.wav");
    bed.manager->DeleteSound(a);
    bed.manager->DeleteSound(c);
    EXPECT_EQ(bed.manager->GetSounds().GetUsedSlots(), (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(Buffers().GetBuffers().GetUsedSlots(), (std::vector<std::uint32_t>{1}));
    Sound* again = bed.manager->CreateSound("c.wav");
    EXPECT_EQ(bed.manager->GetSounds().GetSlots()[2], again);
    EXPECT_NE(Buffers().GetBuffers().GetSlots()[2], nullptr);
    bed.manager->CreateSound("a.wav");
    EXPECT_EQ(bed.manager->GetSounds().GetUsedSlots(), (std::vector<std::uint32_t>{1, 2, 0}));
    EXPECT_EQ(Buffers().GetBuffers().GetUsedSlots(), (std::vector<std::uint32_t>{1, 2, 0}));
}

TEST_F(SoundBufferTest, AFailedLoadTakesNoSlot)
{
    bed.WriteSound("good.wav", MakeWav(1, 8, 22050, SoundBytes(16, 0x90)));
    bed.WriteSound("bad.wav", RiffWave({FormatChunk(1, 8, 22050)}));
    bed.manager->CreateSound("good.wav");
    EXPECT_THROW(bed.manager->CreateSound("bad.wav"), FileError);
    EXPECT_THROW(bed.manager->CreateSound("missing.wav"), FileError);
    EXPECT_EQ(bed.manager->GetSounds().GetUsedSlots(), (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(Buffers().GetBuffers().GetUsedSlots(), (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(Buffers().GetBuffers().GetSlots().size(), 1u);
    bed.manager->CreateSound("good.wav");
    EXPECT_EQ(Buffers().GetBuffers().GetUsedSlots(), (std::vector<std::uint32_t>{0, 1}));
    bed.manager->Update(true);
}

TEST_F(SoundBufferTest, UnknownTypesPlayAsSilence)
{
    for (const char* name : {"a.b.wav", "music.mp3"}) {
        bed.ClearLog();
        Sound* sound = bed.manager->CreateSound(name);
        EXPECT_TRUE(bed.Logged("Failed to load \"" + std::string(name) + "\" sound file - unknown type")) << name;
        EXPECT_EQ(sound->GetBuffer()->GetPcmSize(), 8u);
        bed.manager->Play(sound, true);
        EXPECT_EQ(bed.Render(12), std::vector<std::int16_t>(24, 0));
        bed.manager->Update(true);
        EXPECT_EQ(sound->GetState(), Sound::Stopped);
    }
    bed.ClearLog();
    bed.manager->CreateSound("");
    EXPECT_FALSE(bed.Logged("unknown type")) << "an empty name is silent without a line";
}

TEST_F(SoundBufferTest, EmptyDataAndRefusedFormatsAreLoggedAndPlayNothing)
{
    bed.WriteSound("empty.wav", MakeWav(1, 16, 22050, {}));
    bed.manager->CreateSound("empty.wav");
    EXPECT_TRUE(bed.Logged("\"empty.wav\" sound file - incorrect format"));

    // A format without channels is the reader's format error, not a buffer the device refuses.
    bed.ClearLog();
    bed.WriteSound("none.wav", MakeWav(0, 16, 22050, SoundBytes(64, 1)));
    EXPECT_THROW(bed.manager->CreateSound("none.wav"), FileError);
    EXPECT_FALSE(bed.Logged("Sound System: DirectSound buffers overflow"));
}

TEST_F(SoundBufferTest, VolumeMapsToHundredthsOfADecibel)
{
    bed.WriteSound("level.wav", MakeWav(1, 16, 22050, Mono16({10000, 10000})));
    Sound* sound = bed.manager->CreateSound("level.wav");
    sound->SetLoop(true);
    bed.manager->Play(sound, true);
    EXPECT_EQ(bed.Render(1)[0], 10000);
    sound->SetVolume(0.5f); // -693
    EXPECT_EQ(bed.Render(1)[0], static_cast<std::int16_t>(std::lround(10000 * std::pow(10.0, -693 / 2000.0))));
    sound->SetVolume(0.00005f);
    EXPECT_EQ(bed.Render(1)[0], 0);
    bed.ClearLog();
    sound->SetVolume(1.5f);
    EXPECT_EQ(bed.CountLogged("DirectSound Subsystem (SoundBuffer_DS7::SetVolume): An invalid parameter was passed "
                              "to the returning function."),
              1u);
    EXPECT_EQ(bed.Render(1)[0], 0) << "the refused volume leaves the last one";
}

TEST(StreamProgress, ReportsEveryChunkOnceInPlayOrderAcrossTheRingWrap)
{
    StreamProgress progress;
    EXPECT_TRUE(Progress(progress, 3 * SoundBuffer::kChunkSize).empty()) << "the refill stays two chunks behind";
    EXPECT_EQ(Progress(progress, 3 * SoundBuffer::kChunkSize + 1), (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(Progress(progress, 7 * SoundBuffer::kChunkSize + 5), (std::vector<std::uint32_t>{1, 2, 3, 4}));
    // Past the end of the ring: the cursor comes back below the last one.
    EXPECT_EQ(Progress(progress, 2 * SoundBuffer::kChunkSize),
              (std::vector<std::uint32_t>{5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                                          18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30}));
    EXPECT_EQ(Progress(progress, 2 * SoundBuffer::kChunkSize + 10), (std::vector<std::uint32_t>{31}));
    progress.Reset();
    EXPECT_TRUE(Progress(progress, 3 * SoundBuffer::kChunkSize).empty());
}

TEST(StreamProgress, KeepsCountingPastFourGigabytes)
{
    StreamProgress progress;
    std::vector<std::uint32_t> played;
    std::uint64_t expectedChunk = 0;
    DWORD cursor = 0;
    // Steps of 300,000 bytes: several chunks per step, a wrap every few steps.
    while (progress.GetTotalPlayed() < (std::uint64_t{1} << 32) + 5 * SoundBuffer::kRingSize) {
        cursor = (cursor + 300000) % SoundBuffer::kRingSize;
        played.clear();
        progress.Advance(cursor, played);
        for (const std::uint32_t index : played) {
            ASSERT_EQ(index, expectedChunk % SoundBuffer::kChunkCount) << "at chunk " << expectedChunk;
            ++expectedChunk;
        }
    }
    EXPECT_EQ(expectedChunk, (progress.GetTotalPlayed() - 2 * SoundBuffer::kChunkSize - 1) / SoundBuffer::kChunkSize);
}
