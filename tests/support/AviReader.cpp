#include "tests/support/AviReader.h"

#include <stdexcept>

namespace TestSupport {
namespace {

// A window of the file: one chunk's data or one list's contents.
struct Span
{
    std::size_t begin;
    std::size_t end;
};

class Reader
{
public:
    explicit Reader(const Bytes& bytes) : m_bytes(bytes) {}

    std::uint32_t U32(std::size_t at) const
    {
        Need(at, 4);
        return m_bytes[at] | m_bytes[at + 1] << 8 | m_bytes[at + 2] << 16 | std::uint32_t{m_bytes[at + 3]} << 24;
    }
    std::string Tag(std::size_t at) const
    {
        Need(at, 4);
        return std::string(m_bytes.begin() + at, m_bytes.begin() + at + 4);
    }
    // The chunk with the id at `at` inside `within`: its data.
    Span Chunk(std::size_t at, const Span& within, const std::string& id) const
    {
        if (at + 8 > within.end || Tag(at) != id)
            throw std::runtime_error("expected chunk '" + id + "' at " + std::to_string(at));
        const std::size_t size = U32(at + 4);
        if (at + 8 + size > within.end)
            throw std::runtime_error("chunk '" + id + "' runs past its list");
        return {at + 8, at + 8 + size};
    }
    // The list of the given type at `at`: its contents after the type.
    Span List(std::size_t at, const Span& within, const std::string& type) const
    {
        const Span data = Chunk(at, within, "LIST");
        if (Tag(data.begin) != type)
            throw std::runtime_error("expected list '" + type + "'");
        return {data.begin + 4, data.end};
    }
    Bytes Copy(const Span& span) const { return Bytes(m_bytes.begin() + span.begin, m_bytes.begin() + span.end); }

private:
    void Need(std::size_t at, std::size_t size) const
    {
        if (at + size > m_bytes.size())
            throw std::runtime_error("read past the end of the file");
    }

    const Bytes& m_bytes;
};

std::size_t Next(const Span& chunk)
{
    return chunk.end + chunk.end % 2;
}

void ReadHeaders(const Reader& in, const Span& list, AviMovie& movie)
{
    const Span main = in.Chunk(list.begin, list, "avih");
    if (main.end - main.begin != 56)
        throw std::runtime_error("avih is not 56 bytes");
    movie.microSecondsPerFrame = in.U32(main.begin);
    movie.flags = in.U32(main.begin + 12);
    movie.totalFrames = in.U32(main.begin + 16);
    movie.streams = in.U32(main.begin + 24);
    movie.width = in.U32(main.begin + 32);
    movie.height = in.U32(main.begin + 36);
    const Span streamList = in.List(Next(main), list, "strl");
    const Span stream = in.Chunk(streamList.begin, streamList, "strh");
    if (stream.end - stream.begin != 56)
        throw std::runtime_error("strh is not 56 bytes");
    movie.type = in.Tag(stream.begin);
    movie.handler = in.Tag(stream.begin + 4);
    movie.scale = in.U32(stream.begin + 20);
    movie.rate = in.U32(stream.begin + 24);
    movie.length = in.U32(stream.begin + 32);
    movie.suggestedBufferSize = in.U32(stream.begin + 36);
    movie.format = in.Copy(in.Chunk(Next(stream), streamList, "strf"));
}

// The frame chunks, and the index checked against them.
void ReadFrames(const Reader& in, const Span& movi, const Span& riff, AviMovie& movie)
{
    std::vector<std::size_t> offsets; // from the 'movi' tag
    for (std::size_t at = movi.begin; at < movi.end;) {
        const std::string id = in.Tag(at);
        const Span frame = in.Chunk(at, movi, id);
        offsets.push_back(at - (movi.begin - 4));
        movie.frameIds.push_back(id);
        movie.frames.push_back(in.Copy(frame));
        at = Next(frame);
    }
    const Span index = in.Chunk(Next(movi), riff, "idx1");
    if ((index.end - index.begin) / 16 != offsets.size() || (index.end - index.begin) % 16)
        throw std::runtime_error("the index does not have one entry per frame");
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        const std::size_t entry = index.begin + 16 * i;
        if (in.Tag(entry) != movie.frameIds[i] || in.U32(entry + 8) != offsets[i] ||
            in.U32(entry + 12) != movie.frames[i].size())
            throw std::runtime_error("index entry " + std::to_string(i) + " does not match its chunk");
        movie.indexFlags.push_back(in.U32(entry + 4));
    }
}

} // namespace

bool ReadAvi(const Bytes& file, AviMovie& movie, std::string& problem)
{
    movie = {};
    try {
        const Reader in(file);
        const Span whole{0, file.size()};
        const Span riff = in.Chunk(0, whole, "RIFF");
        if (riff.end != file.size() || in.Tag(riff.begin) != "AVI ")
            throw std::runtime_error("the RIFF chunk is not an AVI chunk that fills the file");
        const Span contents{riff.begin + 4, riff.end};
        const Span headers = in.List(contents.begin, contents, "hdrl");
        ReadHeaders(in, headers, movie);
        const Span movi = in.List(Next(headers), contents, "movi");
        ReadFrames(in, movi, contents, movie);
        if (movie.totalFrames != movie.frames.size() || movie.length != movie.frames.size())
            throw std::runtime_error("the headers do not count the frames written");
    } catch (const std::runtime_error& error) {
        problem = error.what();
        return false;
    }
    return true;
}

} // namespace TestSupport
