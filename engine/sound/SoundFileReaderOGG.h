// Ogg Vorbis files, decoded by libvorbisfile to 16-bit samples through callbacks over the engine's file object.
#pragma once

#include "SoundFileReader.h"

struct OggVorbis_File;

namespace KeystrelEngine {

class SoundFileReaderOGG : public SoundFileReader
{
public:
    // Throws FileError ("incorrect format") when libvorbisfile rejects the file, cannot tell its length or cannot
    // start decoding it, and for streams of more than two channels or more PCM bytes than a 32-bit size counts.
    SoundFileReaderOGG(FileManager* files, const std::string& name, MessageManager* log);
    ~SoundFileReaderOGG() override;

    void Rewind() override;
    void Read(void* destination, std::uint32_t bytes, std::uint32_t& got, bool& atEnd) override;

private:
    bool IsPlayable(std::int64_t samples) const;
    bool StartDecoding();

    std::unique_ptr<OggVorbis_File> m_vorbis;
    bool m_decoderFailed = false; // the decoder reported an error other than a hole and is not called again
};

} // namespace KeystrelEngine
