#include "SoundTestBed.h"

#include "engine/sound/Sound.h"
#include "engine/sound/SoundBuffer.h"

#include <gtest/gtest.h>

using namespace KeystrelEngine;
using namespace SoundTesting;
using namespace Formats;

namespace {

SoundBytes Constant16(std::int16_t value, int frames, unsigned channels)
{
    SoundBytes pcm;
    for (int i = 0; i < frames * static_cast<int>(channels); ++i) {
        pcm.push_back(static_cast<std::uint8_t>(value));
        pcm.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8));
    }
    return pcm;
}

void ExpectVector(const Vector3& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

} // namespace

TEST(SoundPlacement, TheListenerStartsAtTheOriginLookingDownTheNegativeZAxis)
{
    SoundTestBed bed(22050, true);
    ExpectVector(bed.system->GetListenerPosition(), 0, 0, 0);
    ExpectVector(bed.system->GetListenerFront(), 0, 0, -1);
    ExpectVector(bed.system->GetListenerTop(), 0, 1, 0);
    bed.system->SetListenerOrientation(Vector3{1, 0, 0}, Vector3{0, 0, 1});
    bed.system->SetListenerPosition(Vector3{4, 5, 6});
    ExpectVector(bed.system->GetListenerPosition(), 4, 5, 6);
    ExpectVector(bed.system->GetListenerFront(), 1, 0, 0);
    ExpectVector(bed.system->GetListenerTop(), 0, 0, 1);
    bed.system->ResetListener();
    ExpectVector(bed.system->GetListenerPosition(), 0, 0, 0);
}

TEST(SoundPlacement, MonoSoundsAreHeardWhereTheyAreOnceTheFrameCommits)
{
    SoundTestBed bed(22050, true);
    bed.WriteSound("hum.wav", MakeWav(1, 16, 22050, Constant16(8000, 4, 1)));
    Sound* sound = bed.manager->CreateSound("hum.wav");
    sound->SetLoop(true);
    bed.manager->Play(sound, true);
    // Looking down -z with +y up, +x lies to the left; two units away halve the gain.
    sound->SetPosition(Vector3{2, 0, 0});
    ExpectVector(sound->GetPosition(), 2, 0, 0);
    EXPECT_EQ(bed.Render(1), (std::vector<std::int16_t>{8000, 8000})) << "deferred until the next refresh";
    bed.system->Refresh();
    EXPECT_EQ(bed.Render(1), (std::vector<std::int16_t>{4000, 0}));
    bed.system->SetListenerPosition(Vector3{2, 0, 0});
    bed.system->Refresh();
    EXPECT_EQ(bed.Render(1), (std::vector<std::int16_t>{8000, 8000}));
}

TEST(SoundPlacement, WithoutThreeDimensionalSoundPositionsAreOnlyStored)
{
    SoundTestBed bed(22050, false);
    bed.WriteSound("hum.wav", MakeWav(1, 16, 22050, Constant16(8000, 4, 1)));
    Sound* sound = bed.manager->CreateSound("hum.wav");
    sound->SetLoop(true);
    sound->SetPosition(Vector3{50, 0, 0});
    bed.manager->Play(sound, true);
    bed.system->Refresh();
    EXPECT_EQ(bed.Render(1), (std::vector<std::int16_t>{8000, 8000}));
    EXPECT_FALSE(bed.Logged("3D"));
}

TEST(SoundPlacement, StereoSoundsGetNoThreeDimensionalControl)
{
    SoundTestBed bed(22050, true);
    bed.WriteSound("wide.wav", MakeWav(2, 16, 22050, Constant16(8000, 4, 2)));
    Sound* sound = bed.manager->CreateSound("wide.wav");
    sound->SetLoop(true);
    sound->SetPosition(Vector3{50, 0, 0});
    bed.manager->Play(sound, true);
    bed.system->Refresh();
    EXPECT_EQ(bed.Render(1), (std::vector<std::int16_t>{8000, 8000}));
    EXPECT_FALSE(bed.Logged("Failed to get the 3D buffer"));
}

TEST(SoundPlacement, ACopiedSoundTakesTheSettingsAndAVoiceOfItsOwn)
{
    SoundTestBed bed(22050, true);
    bed.WriteSound("hum.wav", MakeWav(1, 16, 22050, Constant16(8000, 4, 1)));
    Sound* source = bed.manager->CreateSound("hum.wav");
    source->SetLoop(true);
    source->SetVolume(0.25f);
    source->SetPosition(Vector3{0, 0, -3});
    Sound* copy = bed.system->CreateSound(*source);
    EXPECT_TRUE(copy->GetLoop());
    EXPECT_FLOAT_EQ(copy->GetVolume(), 0.25f);
    ExpectVector(copy->GetPosition(), 0, 0, -3);
    EXPECT_NE(copy->GetBuffer(), source->GetBuffer());
    EXPECT_EQ(copy->GetState(), Sound::Stopped);
    delete copy;
}
