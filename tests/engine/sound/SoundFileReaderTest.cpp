#include "SoundTestBed.h"

#include "engine/foundation/Error.h"
#include "engine/sound/SoundFileReaderEMP.h"
#include "engine/sound/SoundFileReaderOGG.h"
#include "engine/sound/SoundFileReaderWAV.h"
#include "tests/support/TestEnvironment.h"
#include "tools/formats/ByteWriter.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace KeystrelEngine;
using namespace SoundTesting;
using namespace Formats;

namespace {

class SoundFileReaderTest : public ::testing::Test
{
protected:
    SoundBytes ReadAll(SoundFileReader& reader, std::uint32_t step = 1000)
    {
        SoundBytes all;
        for (;;) {
            SoundBytes part(step);
            std::uint32_t got = 0;
            bool atEnd = false;
            reader.Read(part.data(), step, got, atEnd);
            all.insert(all.end(), part.begin(), part.begin() + got);
            if (atEnd || got == 0)
                return all;
        }
    }

    template <class Reader> std::string Failure(const std::string& name, const SoundBytes& bytes)
    {
        bed.WriteSound(name, bytes);
        try {
            Reader reader(bed.files.get(), name, &bed.log);
        } catch (const FileError& error) {
            return error.GetText();
        }
        return "no error";
    }

    std::string WavFailure(const std::string& name, const SoundBytes& bytes)
    {
        return Failure<SoundFileReaderWAV>(name, bytes);
    }

    SoundTestBed bed;
};

SoundBytes Ramp(std::size_t size)
{
    SoundBytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return bytes;
}

float Sine(std::uint32_t frame, unsigned channel)
{
    return 0.5f * std::sin(0.05f * frame + channel);
}

} // namespace

TEST_F(SoundFileReaderTest, WavReadsEveryLayoutOfEightAndSixteenBits)
{
    for (unsigned channels : {1u, 2u}) {
        for (unsigned bits : {8u, 16u}) {
            const SoundBytes pcm = Ramp(1001 * channels * bits / 8);
            bed.WriteSound("layout.wav", MakeWav(channels, bits, 11025, pcm));
            SoundFileReaderWAV reader(bed.files.get(), "layout.wav", &bed.log);
            EXPECT_EQ(reader.GetChannels(), channels);
            EXPECT_EQ(reader.GetBitsPerSample(), bits);
            EXPECT_EQ(reader.GetSamplingRate(), 11025u);
            EXPECT_EQ(reader.GetPcmSize(), pcm.size());
            EXPECT_EQ(ReadAll(reader, 333), pcm);
            reader.Rewind();
            EXPECT_EQ(ReadAll(reader), pcm);
        }
    }
}

TEST_F(SoundFileReaderTest, WavFailuresNameTheMissingPart)
{
    const std::string prefix = "Failed to load \"data\\bad.wav\" sound file - ";
    const SoundBytes data = WavChunk("data", Ramp(8));
    EXPECT_EQ(WavFailure("bad.wav", {'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}), prefix + "no RIFF header");
    EXPECT_EQ(WavFailure("bad.wav", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}), prefix + "no RIFF header");
    EXPECT_EQ(WavFailure("bad.wav", RiffWave({data})), prefix + "no format chunk");
    EXPECT_EQ(WavFailure("bad.wav", RiffWave({FormatChunk(3, 16, 22050), data})), prefix + "no format chunk");
    EXPECT_EQ(WavFailure("bad.wav", RiffWave({FormatChunk(2, 24, 22050), data})), prefix + "no format chunk");
    EXPECT_EQ(WavFailure("bad.wav", RiffWave({FormatChunk(2, 16, 22050, 3), data})), prefix + "no format chunk");
    EXPECT_EQ(WavFailure("bad.wav", RiffWave({FormatChunk(1, 8, 22050), WavChunk("LIST", Ramp(6))})),
              prefix + "no data chunk");
}

TEST_F(SoundFileReaderTest, WavChunkWalkSkipsShortFormatsAndHonoursPadBytes)
{
    const SoundBytes pcm = Ramp(10);
    const SoundBytes file = RiffWave({WavChunk("fmt ", Ramp(14)), WavChunk("LIST", Ramp(5)), FormatChunk(1, 8, 8000),
                                      WavChunk("odd ", Ramp(3)), WavChunk("data", pcm)});
    bed.WriteSound("walk.wav", file);
    SoundFileReaderWAV reader(bed.files.get(), "walk.wav", &bed.log);
    EXPECT_EQ(reader.GetSamplingRate(), 8000u);
    EXPECT_EQ(ReadAll(reader), pcm);
}

TEST_F(SoundFileReaderTest, WavChunkSizesNearFourGigabytesEndTheWalk)
{
    // A 32-bit walk would wrap back to the start of the file and loop for ever.
    const SoundBytes huge = WavChunk("junk", Ramp(4), 0xFFFFFFF4);
    EXPECT_EQ(WavFailure("huge.wav", RiffWave({huge, FormatChunk(1, 8, 8000), WavChunk("data", Ramp(4))})),
              "Failed to load \"data\\huge.wav\" sound file - no format chunk");
    EXPECT_EQ(WavFailure("huge.wav", RiffWave({FormatChunk(1, 8, 8000), huge, WavChunk("data", Ramp(4))})),
              "Failed to load \"data\\huge.wav\" sound file - no data chunk");
}

TEST_F(SoundFileReaderTest, WavDataChunkClaimingTooMuchDeliversWhatTheFileHas)
{
    const SoundBytes pcm = Ramp(100);
    bed.WriteSound("short.wav", RiffWave({FormatChunk(1, 8, 8000), WavChunk("data", pcm, 1000000)}));
    SoundFileReaderWAV reader(bed.files.get(), "short.wav", &bed.log);
    EXPECT_EQ(reader.GetPcmSize(), pcm.size());
    EXPECT_EQ(ReadAll(reader, 64), pcm);
}

TEST_F(SoundFileReaderTest, WavHeaderCutShortRaisesTheReadError)
{
    const SoundBytes cut = {'R', 'I', 'F', 'F', 4, 0};
    EXPECT_EQ(WavFailure("cut.wav", cut),
              "Failed to read 12 bytes from \"" + bed.files->MakeDiskPath("data\\cut.wav") + "\" file");
}

TEST_F(SoundFileReaderTest, OggSizeMatchesTheDecodedBytesAndRewindRepeatsThem)
{
    bed.WriteSound("tone.ogg", EncodeOgg(2, 22050, 30000, Sine));
    SoundFileReaderOGG reader(bed.files.get(), "tone.ogg", &bed.log);
    EXPECT_EQ(reader.GetChannels(), 2u);
    EXPECT_EQ(reader.GetSamplingRate(), 22050u);
    EXPECT_EQ(reader.GetBitsPerSample(), 16u);
    EXPECT_EQ(reader.GetPcmSize(), 30000u * 4);
    const SoundBytes first = ReadAll(reader, 5000);
    EXPECT_EQ(first.size(), reader.GetPcmSize());
    reader.Rewind();
    EXPECT_EQ(ReadAll(reader, 7777), first);
}

TEST_F(SoundFileReaderTest, OggGarbageIsAFormatError)
{
    bed.WriteSound("noise.ogg", Ramp(5000));
    try {
        SoundFileReaderOGG reader(bed.files.get(), "noise.ogg", &bed.log);
        FAIL() << "garbage was accepted";
    } catch (const FileError& error) {
        EXPECT_EQ(error.GetText(), "Failed to load \"data\\noise.ogg\" sound file - incorrect format");
    }
}

TEST_F(SoundFileReaderTest, FormatsTheDeviceCannotPlayAreFormatErrors)
{
    const std::string wavError = " sound file - no format chunk";
    EXPECT_EQ(WavFailure("none.wav", MakeWav(0, 16, 22050, Ramp(64))), "Failed to load \"data\\none.wav\"" + wavError);
    EXPECT_EQ(WavFailure("still.wav", MakeWav(1, 16, 0, Ramp(64))), "Failed to load \"data\\still.wav\"" + wavError);

    // A stream whose last page claims 2^31 sample frames: four bytes each are more than a 32-bit size counts.
    SoundBytes endless = EncodeOgg(2, 22050, 100000, Sine);
    const std::size_t lastPage = std::string(endless.begin(), endless.end()).rfind("OggS");
    SetLE32(endless, lastPage + 6, 0x80000000u); // the granule position's low half
    SealOggPages(endless);
    const std::string oggError = " sound file - incorrect format";
    EXPECT_EQ(Failure<SoundFileReaderOGG>("surround.ogg", EncodeOgg(3, 22050, 3000, Sine)),
              "Failed to load \"data\\surround.ogg\"" + oggError);
    EXPECT_EQ(Failure<SoundFileReaderOGG>("endless.ogg", endless), "Failed to load \"data\\endless.ogg\"" + oggError);
}

// Found by fuzzing: a setup whose codebooks the decoder cannot build. After the failure libvorbis set itself up
// again from the half-built books at the next read or seek, and divided by zero.
TEST_F(SoundFileReaderTest, ASetupTheDecoderCannotBuildIsAFormatError)
{
    SoundBytes broken = TestSupport::ReadFile(KEYSTREL_FUZZ_REGRESSIONS "/ogg/setup-the-decoder-cannot-build.ogg");
    SealOggPages(broken);
    EXPECT_EQ(Failure<SoundFileReaderOGG>("broken.ogg", broken),
              "Failed to load \"data\\broken.ogg\" sound file - incorrect format");

    // Chained after a good stream (under a serial number of its own), it spoils the whole file.
    SoundBytes chained = EncodeOgg(1, 22050, 3000, Sine);
    const std::size_t second = chained.size();
    chained.insert(chained.end(), broken.begin(), broken.end());
    for (std::size_t page = second; page + 18 <= chained.size(); ++page) {
        if (std::memcmp(&chained[page], "OggS", 4) == 0)
            SetLE32(chained, page + 14, 0x5EC0D);
    }
    SealOggPages(chained);
    EXPECT_EQ(Failure<SoundFileReaderOGG>("chained.ogg", chained),
              "Failed to load \"data\\chained.ogg\" sound file - incorrect format");
}

TEST_F(SoundFileReaderTest, OggDamagedInTheMiddleStillEnds)
{
    SoundBytes file = EncodeOgg(1, 22050, 40000, Sine);
    for (std::size_t i = file.size() * 2 / 3; i < file.size() * 2 / 3 + 400; ++i)
        file[i] ^= 0x5A;
    bed.WriteSound("damaged.ogg", file);
    SoundFileReaderOGG reader(bed.files.get(), "damaged.ogg", &bed.log);
    EXPECT_LE(ReadAll(reader, 4096).size(), 2u * 40000);
}

TEST_F(SoundFileReaderTest, SilentReaderDeliversEightBytesOfSilence)
{
    SoundFileReaderEMP reader(bed.files.get(), "anything.mp3", &bed.log);
    EXPECT_EQ(reader.GetPcmSize(), 8u);
    EXPECT_EQ(reader.GetChannels(), 1u);
    EXPECT_EQ(reader.GetBitsPerSample(), 8u);
    EXPECT_EQ(reader.GetSamplingRate(), 22050u);
    std::uint8_t bytes[16] = {};
    std::uint32_t got = 0;
    bool atEnd = false;
    reader.Read(bytes, 5, got, atEnd);
    EXPECT_EQ(got, 5u);
    EXPECT_FALSE(atEnd);
    reader.Read(bytes + 5, 10, got, atEnd);
    EXPECT_EQ(got, 3u);
    EXPECT_TRUE(atEnd);
    EXPECT_EQ(SoundBytes(bytes, bytes + 8), SoundBytes(8, 0x80));
    reader.Read(bytes, 0, got, atEnd);
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(atEnd);
}
