// JPEG files go through libjpeg. The reader feeds the library from the engine's file object through a data
// source of its own (refills of 4096 bytes), so JPEG files in packs read like any other; when the file has no
// more bytes the source hands over an end-of-image marker, so a file that only lacks its final marker still
// loads. A file whose picture data ends early is refused: the library then warns that data is missing. A header
// that claims more than Image::kMaxReadSide pixels a side is refused before the library sizes its buffers. The
// writer hands the library a stdio file.
//
// The library reports a fatal error through its error manager's exit hook, which must not return. Ours jumps
// (longjmp) back into the reader or writer call that started the library, which gives up, lets its owner clean
// up, and reports the library's message as an error line. The functions holding the jump target create no object
// with a destructor that would be live across a library call, so the jump skips no cleanup. Library warnings
// (corrupt data it could decode past) become warning lines.
#include "Image.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"
#include "platform/win32/Win32.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it builds on.
#include <jerror.h>

namespace KeystrelEngine {
namespace {

constexpr int kLibraryVersion = 62;
constexpr std::uint32_t kSourceBufferSize = 4096;
constexpr int kQuality = 85;

// The library's error manager and what the exit hook needs. The library's part comes first, so the library's
// pointer to it is a pointer to the whole.
struct ErrorManager
{
    jpeg_error_mgr library;
    std::jmp_buf jump;
    MessageManager* log;
    const std::string* name;
    char message[JMSG_LENGTH_MAX];
};

ErrorManager& Errors(j_common_ptr info)
{
    return *reinterpret_cast<ErrorManager*>(info->err);
}

[[noreturn]] void ExitToCaller(j_common_ptr info)
{
    ErrorManager& errors = Errors(info);
    (*info->err->format_message)(info, errors.message);
    std::longjmp(errors.jump, 1);
}

void LogWarning(j_common_ptr info)
{
    ErrorManager& errors = Errors(info);
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    if (errors.log)
        errors.log->Warning("\"" + *errors.name + "\": " + message);
}

jpeg_error_mgr* InstallErrorManager(ErrorManager& errors, MessageManager* log, const std::string& name)
{
    jpeg_std_error(&errors.library);
    errors.library.error_exit = ExitToCaller;
    errors.library.output_message = LogWarning;
    errors.log = log;
    errors.name = &name;
    return &errors.library;
}

// The data source: the library's source manager extended with the file object and the refill buffer.
struct FileSource
{
    jpeg_source_mgr library;
    FileBinary* file;
    JOCTET* buffer;
    bool endSupplied; // the file ran out and the fake end-of-image marker was handed over
};

FileSource& Source(j_decompress_ptr info)
{
    return *reinterpret_cast<FileSource*>(info->src);
}

void InitSource(j_decompress_ptr) {}

void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info)
{
    FileSource& source = Source(info);
    std::uint32_t count = 0;
    source.file->Read(kSourceBufferSize, source.buffer, &count);
    if (count == 0) {
        source.buffer[0] = 0xFF;
        source.buffer[1] = JPEG_EOI;
        count = 2;
        source.endSupplied = true;
    }
    source.library.next_input_byte = source.buffer;
    source.library.bytes_in_buffer = count;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr& source = *info->src;
    while (count > static_cast<long>(source.bytes_in_buffer)) {
        count -= static_cast<long>(source.bytes_in_buffer);
        FillInputBuffer(info);
    }
    source.next_input_byte += count;
    source.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void InstallSource(jpeg_decompress_struct& info, FileBinary& file)
{
    if (!info.src) {
        const auto common = reinterpret_cast<j_common_ptr>(&info);
        auto* source = static_cast<FileSource*>((*info.mem->alloc_small)(common, JPOOL_PERMANENT, sizeof(FileSource)));
        source->buffer = static_cast<JOCTET*>((*info.mem->alloc_small)(common, JPOOL_PERMANENT, kSourceBufferSize));
        info.src = &source->library;
    }
    FileSource& source = Source(&info);
    source.library.init_source = InitSource;
    source.library.fill_input_buffer = FillInputBuffer;
    source.library.skip_input_data = SkipInputData;
    source.library.resync_to_restart = jpeg_resync_to_restart;
    source.library.term_source = TermSource;
    source.library.next_input_byte = nullptr;
    source.library.bytes_in_buffer = 0;
    source.file = &file;
    source.endSupplied = false;
}

class JPEGDecoder
{
public:
    JPEGDecoder(FileBinary& file, const std::string& name, MessageManager* log) : m_file(file), m_name(name)
    {
        m_info.err = InstallErrorManager(m_errors, log, name);
    }
    ~JPEGDecoder() { jpeg_destroy_decompress(&m_info); }

    JPEGDecoder(const JPEGDecoder&) = delete;
    JPEGDecoder& operator=(const JPEGDecoder&) = delete;

    // Decodes into image, bottom row first. Returns the error text, empty on success.
    std::string Decode(Image& image, MessageManager* log)
    {
        if (setjmp(m_errors.jump))
            return FailureText();
        jpeg_CreateDecompress(&m_info, kLibraryVersion, sizeof(m_info));
        InstallSource(m_info, m_file);
        jpeg_read_header(&m_info, TRUE);
        if (!Image::IsReadableSize(m_info.image_width, m_info.image_height))
            return FileValues(m_name).Refusal();
        jpeg_start_decompress(&m_info);
        if (m_info.output_components != 1 && m_info.output_components != 3)
            return Image::UnsupportedFormatText(m_name);
        image.Create(log, m_info.output_width, m_info.output_height, 8 * m_info.output_components);
        while (m_info.output_scanline < m_info.output_height) {
            JSAMPROW row = image.GetRow(m_info.output_height - 1 - m_info.output_scanline);
            jpeg_read_scanlines(&m_info, &row, 1);
            // Past the end of the data the library only pads the rows; the file is refused, so stop here rather
            // than decode the padding of a header that claims thousands of rows.
            if (DataEnded())
                return FileValues(m_name).Refusal();
        }
        jpeg_finish_decompress(&m_info);
        if (DataEnded())
            return FileValues(m_name).Refusal();
        return {};
    }

private:
    // The library's message follows the format error, except for a picture without rows or columns, which is the
    // plain format error.
    std::string FailureText() const
    {
        if (m_errors.library.msg_code == JERR_EMPTY_IMAGE)
            return FileValues(m_name).Refusal();
        return FileValues(m_name).Refusal(m_errors.message);
    }

    // The file ran out and the library warned that it was missing data.
    bool DataEnded() { return Source(&m_info).endSupplied && m_errors.library.num_warnings > 0; }

    FileBinary& m_file;
    const std::string& m_name;
    jpeg_decompress_struct m_info{};
    ErrorManager m_errors{};
};

class JPEGEncoder
{
public:
    JPEGEncoder(const std::string& name, MessageManager* log) : m_name(name)
    {
        m_info.err = InstallErrorManager(m_errors, log, name);
    }
    ~JPEGEncoder()
    {
        jpeg_destroy_compress(&m_info);
        if (m_stream)
            std::fclose(m_stream);
    }

    JPEGEncoder(const JPEGEncoder&) = delete;
    JPEGEncoder& operator=(const JPEGEncoder&) = delete;

    // Writes image (8 or 24 bits) to path, top row first. Returns the error text, empty on success; a file
    // left unfinished is removed.
    std::string Encode(const Image& image, const std::string& path)
    {
        if (setjmp(m_errors.jump))
            return Abandon(path, m_errors.message);
        jpeg_CreateCompress(&m_info, kLibraryVersion, sizeof(m_info));
        FileManager::CreateDirectories(path);
        if (fopen_s(&m_stream, path.c_str(), "wb") != 0)
            return FailureText();
        m_created = true;
        const int components = static_cast<int>(image.GetBytesPerPixel());
        m_info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
        jpeg_set_defaults(&m_info);
        m_info.input_gamma = 1.0;
        m_info.input_components = components;
        m_info.num_components = components;
        m_info.image_width = image.GetWidth();
        m_info.image_height = image.GetHeight();
        m_info.data_precision = 8;
        jpeg_set_quality(&m_info, kQuality, FALSE);
        jpeg_stdio_dest(&m_info, m_stream);
        jpeg_start_compress(&m_info, TRUE);
        while (m_info.next_scanline < m_info.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(image.GetRow(m_info.image_height - 1 - m_info.next_scanline));
            jpeg_write_scanlines(&m_info, &row, 1);
        }
        jpeg_finish_compress(&m_info);
        const bool closed = std::fclose(m_stream) == 0;
        m_stream = nullptr;
        return closed ? std::string() : Abandon(path, "the file could not be closed");
    }

private:
    std::string FailureText() const { return "Failed to save \"" + m_name + "\""; }

    std::string Abandon(const std::string& path, const char* reason)
    {
        if (m_stream) {
            std::fclose(m_stream);
            m_stream = nullptr;
        }
        if (m_created)
            DeleteFileA(path.c_str());
        return FailureText() + ": " + reason;
    }

    const std::string& m_name;
    jpeg_compress_struct m_info{};
    ErrorManager m_errors{};
    std::FILE* m_stream = nullptr;
    bool m_created = false; // only a file this encoder made is removed
};

void ReadJPEG(FileBinary& file, const std::string& name, Image& image, MessageManager* log)
{
    JPEGDecoder decoder(file, name, log);
    const std::string failure = decoder.Decode(image, log);
    if (!failure.empty())
        throw FileError(failure);
}

} // namespace

bool Image::LoadJPEG(FileManager* files, const std::string& name, Image& image, MessageManager* log)
{
    return ReadFile(files, name, true, image, log, ReadJPEG);
}

bool Image::SaveJPEG(const Image& image, const std::string& name, FileManager* files)
{
    Image converted;
    const Image* source = &image;
    if (image.GetBitsPerPixel() != 8 && image.GetBitsPerPixel() != 24) {
        image.ConvertBitsPerPixel(24, converted);
        source = &converted;
    }
    JPEGEncoder encoder(name, image.GetLog());
    const std::string failure = encoder.Encode(*source, files->MakeDiskPath(name));
    if (!failure.empty())
        LogError(image.GetLog(), failure);
    return failure.empty();
}

} // namespace KeystrelEngine
