#include "SoundFileReaderOGG.h"

#include "engine/foundation/FileBinary.h"

#include <algorithm>
#include <climits>

// The header's ready-made callback sets would go unused here.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

namespace KeystrelEngine {
namespace {

// A damaged stream may report holes without end; after this many in one read the data count as ended.
constexpr int kMaxHolesPerRead = 32;

std::size_t ReadCallback(void* destination, std::size_t size, std::size_t count, void* source)
{
    auto* file = static_cast<FileBinary*>(source);
    const auto wanted = static_cast<std::uint32_t>(std::min<std::size_t>(size * count, UINT32_MAX));
    std::uint32_t got = 0;
    file->Read(wanted, destination, &got);
    return got;
}

int SeekCallback(void* source, ogg_int64_t offset, int whence)
{
    auto* file = static_cast<FileBinary*>(source);
    const auto low = static_cast<std::int32_t>(offset);
    switch (whence) {
    case SEEK_SET:
        file->Seek(FileBinary::SeekFromStart, low);
        return 0;
    case SEEK_CUR:
        file->Seek(FileBinary::SeekRelative, low);
        return 0;
    case SEEK_END:
        file->Seek(FileBinary::SeekBackFromEnd, -static_cast<std::int64_t>(low));
        return 0;
    default:
        return -1;
    }
}

// The reader owns the file; the decoder never closes it.
int CloseCallback(void*)
{
    return 0;
}

long TellCallback(void* source)
{
    return static_cast<long>(static_cast<FileBinary*>(source)->GetPosition());
}

} // namespace

SoundFileReaderOGG::SoundFileReaderOGG(FileManager* files, const std::string& name, MessageManager* log)
    : SoundFileReader(files, name, log), m_vorbis(std::make_unique<OggVorbis_File>())
{
    m_bitsPerSample = 16;
    const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
    ogg_int64_t samples = OV_EINVAL;
    if (ov_open_callbacks(m_file.get(), m_vorbis.get(), nullptr, 0, callbacks) >= 0) {
        const vorbis_info* info = ov_info(m_vorbis.get(), -1);
        m_channels = static_cast<std::uint32_t>(info->channels);
        m_samplingRate = static_cast<std::uint32_t>(info->rate);
        samples = ov_pcm_total(m_vorbis.get(), -1);
    }
    if (!IsPlayable(samples) || !StartDecoding()) {
        ov_clear(m_vorbis.get());
        m_vorbis.reset();
        Fail("incorrect format");
    }
    m_pcmSize = m_channels * static_cast<std::uint32_t>(samples) * 2;
}

// Mono or stereo at a real rate, with a known length whose PCM bytes a 32-bit size can count; a damaged stream
// may claim any length.
bool SoundFileReaderOGG::IsPlayable(std::int64_t samples) const
{
    if (m_channels == 0 || m_channels > 2 || m_samplingRate == 0 || samples < 0)
        return false;
    return static_cast<std::uint64_t>(samples) <= UINT32_MAX / (2 * m_channels);
}

// The decoder sets itself up from the stream's setup header when it decodes the first audio. It is made to do so
// here, so that a setup it cannot build is a format error of the file rather than silence, and is then rewound.
bool SoundFileReaderOGG::StartDecoding()
{
    char first[4096];
    int section = 0;
    long result = OV_HOLE;
    for (int holes = 0; result == OV_HOLE && holes <= kMaxHolesPerRead; ++holes)
        result = ov_read(m_vorbis.get(), first, sizeof(first), 0, 2, 1, &section);
    if (result < 0 && result != OV_HOLE)
        return false;
    ov_pcm_seek(m_vorbis.get(), 0);
    return true;
}

SoundFileReaderOGG::~SoundFileReaderOGG()
{
    if (m_vorbis)
        ov_clear(m_vorbis.get());
}

void SoundFileReaderOGG::Rewind()
{
    if (!m_decoderFailed)
        ov_pcm_seek(m_vorbis.get(), 0);
}

// Holes (lost pages) are skipped, a bounded number of times, and end the data of this read. Every other error
// ends the data for good: after a setup it could not build (a damaged later link of a chained stream),
// libvorbis 1.3.7 would set itself up again from the half-built codebooks at the next read or seek and divide by
// zero, so the decoder is not called again. The decoder hands out whole sample frames only, so a rest smaller
// than one frame stays unread.
void SoundFileReaderOGG::Read(void* destination, std::uint32_t bytes, std::uint32_t& got, bool& atEnd)
{
    const std::uint32_t frameBytes = 2 * m_channels;
    got = 0;
    atEnd = bytes == 0 || m_decoderFailed;
    int holes = 0;
    while (bytes - got >= frameBytes && !atEnd) {
        int section = 0;
        const int wanted = static_cast<int>(std::min<std::uint32_t>(bytes - got, INT_MAX));
        const long result = ov_read(m_vorbis.get(), static_cast<char*>(destination) + got, wanted, 0, 2, 1, &section);
        if (result > 0) {
            got += static_cast<std::uint32_t>(result);
        } else if (result != OV_HOLE) {
            m_decoderFailed = result < 0;
            atEnd = true;
        } else if (++holes > kMaxHolesPerRead) {
            atEnd = true;
        }
    }
}

} // namespace KeystrelEngine
