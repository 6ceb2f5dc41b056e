// Sound files: the input is a sound file of the target's format (FUZZ_SOUND_EXTENSION: "wav" or "ogg", given by
// the build), opened by its reader as a sound buffer opens it, read to its end in chunks, rewound and read again.
// Ogg pages carry checksums that almost every change breaks, which would keep the decoder behind the page check;
// the target seals every whole page of the input again before the reader sees it.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/sound/SoundFileReaderOGG.h"
#include "engine/sound/SoundFileReaderWAV.h"
#include "tools/formats/SoundWriters.h"

#include <cmath>
#include <memory>
#include <string>
#include <string_view>

using namespace KeystrelEngine;
using Formats::SoundBytes;

namespace {

constexpr std::string_view kExtension = FUZZ_SOUND_EXTENSION;
constexpr bool kOgg = kExtension == "ogg";
constexpr std::uint32_t kChunkSize = 16384;
// Enough for every seed; a damaged stream may decode far more than its file holds.
constexpr std::uint32_t kMostBytes = 16u << 20;

std::unique_ptr<SoundFileReader> OpenReader(FileManager& files, const std::string& name, MessageManager& log)
{
    if constexpr (kOgg)
        return std::make_unique<SoundFileReaderOGG>(&files, name, &log);
    else
        return std::make_unique<SoundFileReaderWAV>(&files, name, &log);
}

void ReadToEnd(SoundFileReader& reader, std::vector<std::uint8_t>& chunk)
{
    bool atEnd = false;
    for (std::uint32_t total = 0; !atEnd && total < kMostBytes;) {
        std::uint32_t got = 0;
        reader.Read(chunk.data(), kChunkSize, got, atEnd);
        total += got;
    }
}

float Tone(std::uint32_t frame, unsigned channel)
{
    return 0.5f * std::sin(0.05f * static_cast<float>(frame) * static_cast<float>(channel + 1));
}

void WriteWavSeeds(Fuzzing::SeedFolder& seeds)
{
    seeds.Add("mono8.wav", Formats::MakeWav(1, 8, 22050, SoundBytes(101, 0x90)));
    seeds.Add("stereo16.wav", Formats::MakeWav(2, 16, 44100, Formats::CounterPattern(64)));
    seeds.Add("chunks.wav",
              Formats::RiffWave({Formats::WavChunk("LIST", {'i', 'n', 'f'}), Formats::FormatChunk(1, 16, 11025),
                                 Formats::WavChunk("data", SoundBytes(30, 1), 1000)}));
}

void WriteOggSeeds(Fuzzing::SeedFolder& seeds)
{
    seeds.Add("mono.ogg", Formats::EncodeOgg(1, 22050, 3000, Tone));
    seeds.Add("stereo.ogg", Formats::EncodeOgg(2, 44100, 1500, Tone));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    static MessageManager log("", "Quellhaven", "", false, false);
    static FileManager files(&log, folder.GetBase(), "Data");
    static std::vector<std::uint8_t> chunk(kChunkSize);
    const std::string name = "fuzz." + std::string(kExtension);
    SoundBytes file(data, data + size);
    if constexpr (kOgg)
        Formats::SealOggPages(file);
    folder.Write("Data/" + name, file);
    try {
        const std::unique_ptr<SoundFileReader> reader = OpenReader(files, name, log);
        ReadToEnd(*reader, chunk);
        reader->Rewind();
        ReadToEnd(*reader, chunk);
    } catch (const Error&) {
        // The reader's refusal, which the sound buffer passes on to whoever made the sound.
    }
    log.m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    if constexpr (kOgg)
        WriteOggSeeds(seeds);
    else
        WriteWavSeeds(seeds);
}
