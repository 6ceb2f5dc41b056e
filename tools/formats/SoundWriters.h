// Sound files for the content tool, tests and benchmarks: RIFF/WAVE files chunk by chunk (damaged ones too)
// and Ogg Vorbis files encoded with libvorbisenc.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace Formats {

using SoundBytes = std::vector<std::uint8_t>;

// Four-character id, little-endian size (claimedSize when given), body and the pad byte of an odd body.
SoundBytes WavChunk(const char* id, const SoundBytes& body, std::int64_t claimedSize = -1);
SoundBytes FormatChunk(unsigned channels, unsigned bits, unsigned rate, unsigned formatTag = 1);
// "RIFF", the size of what follows, "WAVE" and the chunks.
SoundBytes RiffWave(const std::vector<SoundBytes>& chunks);
SoundBytes MakeWav(unsigned channels, unsigned bits, unsigned rate, const SoundBytes& pcm);

// 16-bit stereo frames whose left sample is the frame number's low 16 bits and whose right sample is its high
// bits plus 0x4000: no two frames of a file below 2^30 frames are equal.
SoundBytes CounterPattern(std::uint32_t frames);

// Encodes frames frames of sample(frame, channel) in -1..1.
SoundBytes EncodeOgg(unsigned channels, unsigned rate, std::uint32_t frames,
                     const std::function<float(std::uint32_t, unsigned)>& sample);

// Recomputes the checksum of every whole page of an Ogg stream, so that a stream changed after encoding (a header
// field, a granule position) still passes the decoder's page check. Bytes that form no whole page stay as they are.
void SealOggPages(SoundBytes& stream);

} // namespace Formats
