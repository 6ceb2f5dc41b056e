// Text over a binary file object: lines and blank-separated tokens with "//" comments cut off, in ANSI, UTF-8 or
// UTF-16 (either byte order) told apart by the byte-order mark; writing through a 1024-byte buffer.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace KeystrelEngine {

class FileBinary;

class FileTextual
{
public:
    enum Mode
    {
        ModeRead = 0,
        ModeWrite = 1
    };

    enum Encoding
    {
        EncodingAnsi = 0,
        EncodingUtf16BigEndian = 1,
        EncodingUtf16LittleEndian = 2,
        EncodingUtf8 = 3
    };

    // Takes ownership of file. A writer writes in the encoding given (with its byte-order mark); a reader
    // detects the encoding from the mark.
    FileTextual(std::unique_ptr<FileBinary> file, Mode mode, Encoding encoding = EncodingAnsi);
    virtual ~FileTextual();

    FileTextual(const FileTextual&) = delete;
    FileTextual& operator=(const FileTextual&) = delete;

    // Resets the reading state, then writes or detects the byte-order mark.
    void ProcessEncoding();

    // The next line, or with tokenMode the next blank-separated token; false once the file has ended.
    bool ReadLine(std::string& text, bool tokenMode = false);
    bool ReadLineW(std::u16string& text);
    // The next non-empty blank-separated token; empty when none is left.
    std::string ReadToken();
    // The next non-empty line; empty when none is left. What is left of a line whose tokens were read is a line of
    // its own (mostly an empty one).
    std::string ReadNonEmptyLine();
    // The next non-empty token as a number; 0 when none is left.
    std::int32_t ReadInt();
    float ReadFloat();

    void WriteString(const std::string& text);
    void WriteLineEnd();
    // Writes the buffered bytes and closes the file; throws FileError when they cannot be written. The
    // destructor writes them best-effort, so writers that must know call this.
    void Close();

    Encoding GetEncoding() const { return m_encoding; }
    bool IsEndOfFile() const { return m_endOfFile; }
    bool HasConversionFailed() const { return m_conversionFailed; }

private:
    static constexpr int kBufferSize = 1024;

    std::uint8_t ReadByte();
    char16_t ReadUnit();
    template <typename String, typename NextChar> bool ReadText(String& text, bool tokenMode, NextChar next);
    std::string ReadNonEmpty(bool tokenMode);
    void PutByte(std::uint8_t byte);
    void PutUnit(char16_t unit);
    void FlushBuffer();
    void Rewind();

    std::unique_ptr<FileBinary> m_file;
    Mode m_mode;
    Encoding m_encoding;
    std::array<std::uint8_t, kBufferSize> m_buffer{};
    int m_index = -1; // the last byte taken or put; -1 while the buffer is empty
    std::uint32_t m_valid = 0;
    bool m_endOfFile = false;
    bool m_atStart = true;
    bool m_hasPutBack = false;
    char16_t m_putBack = 0; // the character that ended the last read
    bool m_conversionFailed = false;
};

} // namespace KeystrelEngine
