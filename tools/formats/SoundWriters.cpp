#include "tools/formats/SoundWriters.h"

#include "tools/formats/ByteWriter.h"

#include <cstring>
#include <stdexcept>
#include <vorbis/vorbisenc.h>

namespace Formats {
namespace {

void AppendPage(SoundBytes& to, const ogg_page& page)
{
    to.insert(to.end(), page.header, page.header + page.header_len);
    to.insert(to.end(), page.body, page.body + page.body_len);
}

// Moves every finished block of the encoder into pages.
void Drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, SoundBytes& out)
{
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page))
                AppendPage(out, page);
        }
    }
}

} // namespace

SoundBytes WavChunk(const char* id, const SoundBytes& body, std::int64_t claimedSize)
{
    SoundBytes chunk(id, id + 4);
    PutLE32(chunk, claimedSize < 0 ? static_cast<std::uint32_t>(body.size()) : static_cast<std::uint32_t>(claimedSize));
    Append(chunk, body);
    if (body.size() % 2 == 1)
        chunk.push_back(0);
    return chunk;
}

SoundBytes FormatChunk(unsigned channels, unsigned bits, unsigned rate, unsigned formatTag)
{
    SoundBytes body;
    PutLE16(body, formatTag);
    PutLE16(body, channels);
    PutLE32(body, rate);
    PutLE32(body, rate * channels * bits / 8);
    PutLE16(body, channels * bits / 8);
    PutLE16(body, bits);
    return WavChunk("fmt ", body);
}

SoundBytes RiffWave(const std::vector<SoundBytes>& chunks)
{
    SoundBytes body{'W', 'A', 'V', 'E'};
    for (const SoundBytes& chunk : chunks)
        Append(body, chunk);
    SoundBytes file{'R', 'I', 'F', 'F'};
    PutLE32(file, static_cast<std::uint32_t>(body.size()));
    Append(file, body);
    return file;
}

SoundBytes MakeWav(unsigned channels, unsigned bits, unsigned rate, const SoundBytes& pcm)
{
    return RiffWave({FormatChunk(channels, bits, rate), WavChunk("data", pcm)});
}

SoundBytes CounterPattern(std::uint32_t frames)
{
    SoundBytes pcm;
    pcm.reserve(4 * static_cast<std::size_t>(frames));
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        PutLE16(pcm, frame & 0xFFFF);
        PutLE16(pcm, (frame >> 16) + 0x4000);
    }
    return pcm;
}

SoundBytes EncodeOgg(unsigned channels, unsigned rate, std::uint32_t frames,
                     const std::function<float(std::uint32_t, unsigned)>& sample)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, static_cast<long>(channels), static_cast<long>(rate), 0.3f) != 0)
        throw std::runtime_error("the Vorbis encoder refused the format");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    SoundBytes out;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        AppendPage(out, page);

    constexpr std::uint32_t kStep = 4096;
    for (std::uint32_t start = 0; start < frames; start += kStep) {
        const std::uint32_t count = std::min(kStep, frames - start);
        float** buffers = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (unsigned channel = 0; channel < channels; ++channel) {
            for (std::uint32_t i = 0; i < count; ++i)
                buffers[channel][i] = sample(start + i, channel);
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        Drain(dsp, block, stream, out);
    }
    vorbis_analysis_wrote(&dsp, 0);
    Drain(dsp, block, stream, out);
    while (ogg_stream_flush(&stream, &page))
        AppendPage(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

void SealOggPages(SoundBytes& stream)
{
    constexpr std::size_t kPageHeaderSize = 27; // up to the segment count; the segment table follows
    std::size_t at = 0;
    while (at + kPageHeaderSize <= stream.size()) {
        std::uint8_t* page = stream.data() + at;
        const std::size_t headerSize = kPageHeaderSize + page[26];
        if (std::memcmp(page, "OggS", 4) != 0 || at + headerSize > stream.size()) {
            ++at;
            continue;
        }
        std::size_t bodySize = 0;
        for (std::size_t segment = kPageHeaderSize; segment < headerSize; ++segment)
            bodySize += page[segment];
        if (at + headerSize + bodySize > stream.size()) {
            ++at;
            continue;
        }
        ogg_page whole{page, static_cast<long>(headerSize), page + headerSize, static_cast<long>(bodySize)};
        ogg_page_checksum_set(&whole);
        at += headerSize + bodySize;
    }
}

} // namespace Formats
