// The AVIFile objects of the stand-in. A file owns its writer; its one stream holds a reference to it, and a
// compressed stream holds one to the stream it feeds, so the file is finished (index written, sizes patched) only
// when the program has released the file and every stream, in whatever order it releases them.
#include "platform/testing.h"
#include "platform/vfw/AviWriter.h"
#include "platform/vfw/Vfw.h"
#include "platform/win32/Files.h"

#include <memory>

struct IAVIFile
{
    ULONG references = 1;
    std::unique_ptr<VfwHost::AviWriter> writer;
    bool hasStream = false;
};

struct IAVIStream
{
    ULONG references = 1;
    IAVIFile* file = nullptr;     // the file a plain stream writes (a reference)
    IAVIStream* source = nullptr; // the stream a compressed stream feeds (a reference)

    VfwHost::AviWriter& Writer() { return source ? source->Writer() : *file->writer; }
};

namespace {

constexpr DWORD kVersion = 0x010A0000; // 1.10
constexpr std::uint64_t kDefaultSizeLimit = std::uint64_t{1} << 30;
constexpr FOURCC kUncompressed = mmioFOURCC('D', 'I', 'B', ' ');

struct TestState
{
    DWORD version = 0;
    bool cancelCodecChoice = false;
    std::uint64_t sizeLimit = 0;
    int liveObjects = 0;
};

TestState& State()
{
    static TestState state;
    return state;
}

template <typename Object> Object* Make()
{
    ++State().liveObjects;
    return new Object;
}

template <typename Object> void Destroy(Object* object)
{
    --State().liveObjects;
    delete object;
}

} // namespace

DWORD VideoForWindowsVersion()
{
    return State().version ? State().version : kVersion;
}

void AVIFileInit() {}

void AVIFileExit() {}

HRESULT AVIFileOpenA(PAVIFILE* file, LPCSTR name, UINT mode, const GUID* handler)
{
    if (!file || !name || handler || (mode & (OF_WRITE | OF_CREATE)) != (OF_WRITE | OF_CREATE))
        return AVIERR_UNSUPPORTED;
    *file = nullptr;
    std::FILE* stream = nullptr;
    if (fopen_s(&stream, name, "wb") != 0)
        return AVIERR_FILEOPEN;
    IAVIFile* opened = Make<IAVIFile>();
    opened->writer =
        std::make_unique<VfwHost::AviWriter>(stream, State().sizeLimit ? State().sizeLimit : kDefaultSizeLimit);
    *file = opened;
    return AVIERR_OK;
}

ULONG AVIFileRelease(PAVIFILE file)
{
    if (!file)
        return 0;
    const ULONG left = --file->references;
    if (left == 0)
        Destroy(file);
    return left;
}

HRESULT AVIFileCreateStreamA(PAVIFILE file, PAVISTREAM* stream, AVISTREAMINFOA* info)
{
    if (!file || !stream || !info)
        return AVIERR_BADPARAM;
    *stream = nullptr;
    if (file->hasStream || info->fccType != streamtypeVIDEO)
        return AVIERR_UNSUPPORTED;
    file->writer->SetStream(*info);
    file->hasStream = true;
    ++file->references;
    *stream = Make<IAVIStream>();
    (*stream)->file = file;
    return AVIERR_OK;
}

ULONG AVIStreamRelease(PAVISTREAM stream)
{
    if (!stream)
        return 0;
    const ULONG left = --stream->references;
    if (left == 0) {
        if (stream->source)
            AVIStreamRelease(stream->source);
        else
            AVIFileRelease(stream->file);
        Destroy(stream);
    }
    return left;
}

BOOL AVISaveOptions(HWND /*window*/, UINT /*flags*/, int streamCount, PAVISTREAM* streams,
                    LPAVICOMPRESSOPTIONS* options)
{
    if (State().cancelCodecChoice || streamCount <= 0 || !streams || !options)
        return FALSE;
    for (int i = 0; i < streamCount; ++i) {
        if (!options[i])
            return FALSE;
        options[i]->fccType = streamtypeVIDEO;
        options[i]->fccHandler = kUncompressed;
    }
    return TRUE;
}

HRESULT AVIMakeCompressedStream(PAVISTREAM* compressed, PAVISTREAM source, AVICOMPRESSOPTIONS* options,
                                const GUID* handler)
{
    if (!compressed || !source || !options || handler)
        return AVIERR_BADPARAM;
    *compressed = nullptr;
    if (options->fccHandler != kUncompressed)
        return AVIERR_NOCOMPRESSOR;
    source->Writer().SetHandler(kUncompressed);
    ++source->references;
    *compressed = Make<IAVIStream>();
    (*compressed)->source = source;
    return AVIERR_OK;
}

HRESULT AVIStreamSetFormat(PAVISTREAM stream, LONG position, LPVOID format, LONG size)
{
    if (!stream || size < 0)
        return AVIERR_BADPARAM;
    if (position != 0)
        return AVIERR_UNSUPPORTED;
    return stream->Writer().SetFormat(format, static_cast<std::size_t>(size));
}

HRESULT AVIStreamWrite(PAVISTREAM stream, LONG start, LONG samples, LPVOID buffer, LONG bufferSize, DWORD flags,
                       LONG* samplesWritten, LONG* bytesWritten)
{
    if (!stream || samples != 1 || bufferSize < 0)
        return AVIERR_BADPARAM;
    VfwHost::AviWriter& writer = stream->Writer();
    if (start < 0 || static_cast<std::uint32_t>(start) != writer.GetFrameCount())
        return AVIERR_BADPARAM;
    const HRESULT result =
        writer.WriteFrame(buffer, static_cast<std::size_t>(bufferSize), (flags & AVIIF_KEYFRAME) != 0);
    if (samplesWritten)
        *samplesWritten = SUCCEEDED(result) ? 1 : 0;
    if (bytesWritten)
        *bytesWritten = SUCCEEDED(result) ? bufferSize : 0;
    return result;
}

void PlatformTesting::SetVideoForWindowsVersion(DWORD version)
{
    State().version = version;
}

void PlatformTesting::CancelCodecChoice(bool cancel)
{
    State().cancelCodecChoice = cancel;
}

void PlatformTesting::SetAviFileSizeLimit(std::uint64_t bytes)
{
    State().sizeLimit = bytes;
}

int PlatformTesting::LiveAviObjects()
{
    return State().liveObjects;
}
