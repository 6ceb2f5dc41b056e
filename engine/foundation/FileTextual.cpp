// Reading works on characters: bytes in ANSI files, UTF-16 units in the others (UTF-8 is decoded to units up
// to three bytes long). Each read stops at its terminator (a line break, or a blank in token mode) and keeps it
// as the put-back character; the next read takes it back and skips it (a CR together with the LF after it), so
// a file ending in a line break gives one last empty line before the reads report the end.
#include "FileTextual.h"

#include "Error.h"
#include "FileBinary.h"
#include "StringUtils.h"

namespace KeystrelEngine {
namespace {

constexpr char16_t kCR = 0x0D, kLF = 0x0A;

bool IsBlank(char c)
{
    return IsSpace(c);
}
bool IsBlank(char16_t c)
{
    return IsSpaceW(c);
}

template <typename String> void CutComment(String& text)
{
    using Char = typename String::value_type;
    const Char comment[] = {Char('/'), Char('/'), Char(0)};
    if (const std::size_t at = text.find(comment); at != String::npos)
        text.resize(at);
}

} // namespace

FileTextual::FileTextual(std::unique_ptr<FileBinary> file, Mode mode, Encoding encoding)
    : m_file(std::move(file)), m_mode(mode), m_encoding(encoding)
{
    ProcessEncoding();
}

FileTextual::~FileTextual()
{
    if (m_mode != ModeWrite)
        return;
    try {
        FlushBuffer();
    } catch (const Error&) {
        // Best effort: writers that must know whether their text arrived call Close.
    }
}

void FileTextual::ProcessEncoding()
{
    m_index = -1;
    m_valid = 0;
    m_atStart = true;
    m_endOfFile = false;
    m_hasPutBack = false;
    m_conversionFailed = false;
    if (m_mode == ModeWrite) {
        static const std::uint8_t marks[4][3] = {{}, {0xFE, 0xFF}, {0xFF, 0xFE}, {0xEF, 0xBB, 0xBF}};
        static const int lengths[4] = {0, 2, 2, 3};
        for (int i = 0; i < lengths[m_encoding]; ++i)
            PutByte(marks[m_encoding][i]);
        return;
    }
    const std::uint8_t first = ReadByte(), second = ReadByte();
    if (first == 0xFF && second == 0xFE && !m_endOfFile)
        m_encoding = EncodingUtf16LittleEndian;
    else if (first == 0xFE && second == 0xFF && !m_endOfFile)
        m_encoding = EncodingUtf16BigEndian;
    else if (first == 0xEF && second == 0xBB && ReadByte() == 0xBF && !m_endOfFile)
        m_encoding = EncodingUtf8;
    else {
        m_encoding = EncodingAnsi;
        Rewind();
    }
}

void FileTextual::Rewind()
{
    m_file->Seek(FileBinary::SeekFromStart, 0);
    m_index = -1;
    m_valid = 0;
    m_atStart = true;
    m_endOfFile = false;
    m_hasPutBack = false;
}

std::uint8_t FileTextual::ReadByte()
{
    if (m_hasPutBack) {
        m_hasPutBack = false;
        return static_cast<std::uint8_t>(m_putBack);
    }
    if (m_index < 0 || m_index >= kBufferSize - 1) {
        m_file->Read(kBufferSize, m_buffer.data(), &m_valid);
        m_index = 0;
    } else {
        ++m_index;
    }
    if (static_cast<std::uint32_t>(m_index) >= m_valid) {
        m_endOfFile = true;
        return 0;
    }
    return m_buffer[m_index];
}

char16_t FileTextual::ReadUnit()
{
    if (m_hasPutBack) {
        m_hasPutBack = false;
        return m_putBack;
    }
    const std::uint8_t b0 = ReadByte();
    switch (m_encoding) {
    case EncodingUtf16LittleEndian:
        return static_cast<char16_t>(b0 | (ReadByte() << 8));
    case EncodingUtf16BigEndian:
        return static_cast<char16_t>((b0 << 8) | ReadByte());
    default:
        break;
    }
    if (b0 < 0x80)
        return b0;
    if ((b0 & 0xE0) == 0xC0)
        return static_cast<char16_t>(((b0 & 0x1F) << 6) | (ReadByte() & 0x3F));
    if ((b0 & 0xF0) == 0xE0) {
        const std::uint8_t b1 = ReadByte();
        return static_cast<char16_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (ReadByte() & 0x3F));
    }
    return 0xFFFD;
}

template <typename String, typename NextChar> bool FileTextual::ReadText(String& text, bool tokenMode, NextChar next)
{
    using Char = typename String::value_type;
    if (m_endOfFile)
        return false;
    Char c = next();
    if (m_atStart) {
        m_atStart = false;
    } else if (tokenMode && IsBlank(c)) {
        c = next();
    } else if (c == Char(kCR)) {
        c = next();
        if (c == Char(kLF))
            c = next();
    } else if (c == Char(kLF)) {
        c = next();
    }
    text.clear();
    bool token = tokenMode;
    while (!m_endOfFile && c != Char(kCR) && c != Char(kLF) && !(token && IsBlank(c))) {
        text += c;
        if (token && text.size() == 2 && text[0] == Char('/') && text[1] == Char('/'))
            token = false; // a comment runs to the end of its line
        c = next();
    }
    m_hasPutBack = true;
    m_putBack = static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(c));
    CutComment(text);
    return true;
}

bool FileTextual::ReadLine(std::string& text, bool tokenMode)
{
    if (m_encoding == EncodingAnsi)
        return ReadText(text, tokenMode, [this] { return static_cast<char>(ReadByte()); });
    std::u16string wide;
    if (!ReadText(wide, tokenMode, [this] { return ReadUnit(); }))
        return false;
    text.clear();
    for (char16_t unit : wide) {
        char c;
        if (!ToNarrowChar(unit, c)) {
            c = '?';
            m_conversionFailed = true;
        }
        if (c == 0)
            break;
        text += c;
    }
    return true;
}

bool FileTextual::ReadLineW(std::u16string& text)
{
    if (m_encoding != EncodingAnsi)
        return ReadText(text, false, [this] { return ReadUnit(); });
    std::string narrow;
    if (!ReadLine(narrow, false))
        return false;
    // A zero byte stays in the line, as a zero unit does in the other encodings: the reader sees what is there.
    text.clear();
    for (const char c : narrow) {
        if (char16_t unit; ToWideChar(c, unit))
            text += unit;
    }
    return true;
}

std::string FileTextual::ReadToken()
{
    return ReadNonEmpty(true);
}

std::string FileTextual::ReadNonEmptyLine()
{
    return ReadNonEmpty(false);
}

std::string FileTextual::ReadNonEmpty(bool tokenMode)
{
    std::string text;
    while (text.empty() && ReadLine(text, tokenMode)) {
    }
    return text;
}

std::int32_t FileTextual::ReadInt()
{
    return ToInt(ReadToken());
}

float FileTextual::ReadFloat()
{
    return ToFloat(ReadToken());
}

void FileTextual::PutByte(std::uint8_t byte)
{
    if (m_index == kBufferSize - 1)
        FlushBuffer();
    m_buffer[++m_index] = byte;
}

void FileTextual::PutUnit(char16_t unit)
{
    switch (m_encoding) {
    case EncodingUtf16BigEndian:
        PutByte(static_cast<std::uint8_t>(unit >> 8));
        PutByte(static_cast<std::uint8_t>(unit));
        break;
    case EncodingUtf16LittleEndian:
        PutByte(static_cast<std::uint8_t>(unit));
        PutByte(static_cast<std::uint8_t>(unit >> 8));
        break;
    default:
        if (unit <= 0x7F) {
            PutByte(static_cast<std::uint8_t>(unit));
        } else if (unit <= 0x7FF) {
            PutByte(static_cast<std::uint8_t>(0xC0 | (unit >> 6)));
            PutByte(static_cast<std::uint8_t>(0x80 | (unit & 0x3F)));
        } else {
            PutByte(static_cast<std::uint8_t>(0xE0 | (unit >> 12)));
            PutByte(static_cast<std::uint8_t>(0x80 | ((unit >> 6) & 0x3F)));
            PutByte(static_cast<std::uint8_t>(0x80 | (unit & 0x3F)));
        }
    }
}

void FileTextual::WriteString(const std::string& text)
{
    if (m_encoding == EncodingAnsi) {
        for (char c : text)
            PutByte(static_cast<std::uint8_t>(c));
        return;
    }
    for (char16_t unit : ToWide(text))
        PutUnit(unit);
}

void FileTextual::WriteLineEnd()
{
    PutUnit(kCR);
    PutUnit(kLF);
}

void FileTextual::FlushBuffer()
{
    const int count = m_index + 1;
    m_index = -1;
    m_file->Write(static_cast<std::uint32_t>(count), m_buffer.data());
}

void FileTextual::Close()
{
    if (m_mode == ModeWrite)
        FlushBuffer();
    m_file->Close();
}

} // namespace KeystrelEngine
