// Mixes 32 looping voices (mixed rates, 8 and 16 bits, mono and stereo) and one looping streamed Ogg Vorbis file
// for 60 seconds of 44.1 kHz output, with a sound-manager update per 60th of a second, and reports the CPU time
// and the real-time factor.
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem_DS7.h"
#include "platform/testing.h"
#include "tools/formats/SoundWriters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace KeystrelEngine;
using Formats::SoundBytes;

namespace {

constexpr unsigned kOutputRate = 44100;
constexpr unsigned kSeconds = 60;
constexpr unsigned kFramesPerUpdate = kOutputRate / 60;

struct VoiceFile
{
    unsigned channels;
    unsigned bits;
    unsigned rate;
};

void Write(const std::filesystem::path& path, const SoundBytes& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// One second of a tone in the given layout.
SoundBytes Tone(const VoiceFile& file, unsigned index)
{
    SoundBytes pcm;
    for (unsigned frame = 0; frame < file.rate; ++frame) {
        for (unsigned channel = 0; channel < file.channels; ++channel) {
            const double value = 0.2 * std::sin(0.01 * (index + 1) * frame + channel);
            if (file.bits == 8) {
                pcm.push_back(static_cast<std::uint8_t>(128 + std::lround(value * 127)));
            } else {
                const auto sample = static_cast<std::uint16_t>(std::lround(value * 32767));
                pcm.push_back(static_cast<std::uint8_t>(sample));
                pcm.push_back(static_cast<std::uint8_t>(sample >> 8));
            }
        }
    }
    return Formats::MakeWav(file.channels, file.bits, file.rate, pcm);
}

double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

// Plays every voice for one minute of output; returns the CPU seconds the mixing and streaming took.
double MixOneMinute(MessageManager& log, FileManager& fileManager)
{
    SoundSystem_DS7 system(&log, &fileManager, nullptr, reinterpret_cast<HWND>(0x1), false);
    SoundManager manager(&log, &fileManager, &system);
    for (unsigned voice = 0; voice < 32; ++voice) {
        Sound* sound = manager.CreateSound("voice" + std::to_string(voice % 8) + ".wav");
        sound->SetLoop(true);
        sound->SetVolume(0.1f);
        manager.Play(sound, true);
    }
    Sound* music = manager.CreateSound("music.ogg");
    music->SetLoop(true);
    manager.Play(music, true);

    std::vector<std::int16_t> output(2 * kFramesPerUpdate);
    const double start = CpuSeconds();
    for (unsigned update = 0; update < kSeconds * 60; ++update) {
        PlatformTesting::RenderSoundOutput(output.data(), kFramesPerUpdate);
        system.Refresh();
        manager.Update(true);
    }
    return CpuSeconds() - start;
}

} // namespace

int main()
{
    std::string folder = (std::filesystem::temp_directory_path() / "bench-sound-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        return 0;
    const VoiceFile files[] = {{1, 8, 11025},  {2, 8, 22050},  {1, 16, 22050}, {2, 16, 44100},
                               {1, 16, 32000}, {2, 16, 48000}, {1, 8, 44100},  {2, 8, 16000}};
    for (unsigned i = 0; i < 8; ++i)
        Write(folder + "/data/voice" + std::to_string(i) + ".wav", Tone(files[i], i));
    Write(folder + "/data/music.ogg", Formats::EncodeOgg(2, 44100, 44100 * 20, [](std::uint32_t frame, unsigned c) {
              return 0.3f * std::sin(0.002f * frame * (c + 1));
          }));

    PlatformTesting::UseManualSoundOutput(kOutputRate);
    MessageManager log("", "Bench", "", false, false);
    FileManager fileManager(&log, folder, "Data");
    std::vector<double> rounds;
    for (int round = 0; round < 3; ++round)
        rounds.push_back(MixOneMinute(log, fileManager));
    std::sort(rounds.begin(), rounds.end());
    std::printf("bench_sound: 32 looping voices + 1 streamed Ogg, %u s of %u Hz output, %zu rounds\n", kSeconds,
                kOutputRate, rounds.size());
    std::printf("  CPU time best %.3f s, median %.3f s\n", rounds.front(), rounds[rounds.size() / 2]);
    std::printf("  real-time factor (median) %.0fx (target >= 300x)\n", kSeconds / rounds[rounds.size() / 2]);
    PlatformTesting::UseManualSoundOutput(0);
    std::filesystem::remove_all(folder);
    return 0;
}
