#include "engine/foundation/FileTextual.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace KeystrelEngine;
using TestSupport::Bytes;

namespace {

FileTextual Reader(const Bytes& bytes)
{
    return FileTextual(std::make_unique<FileBinary>("text.txt", static_cast<std::uint32_t>(bytes.size()), bytes.data()),
                       FileTextual::ModeRead);
}

FileTextual Reader(const std::string& text)
{
    return Reader(TestSupport::ToBytes(text));
}

std::vector<std::string> AllLines(FileTextual& file, bool tokens = false)
{
    std::vector<std::string> lines;
    std::string line;
    while (file.ReadLine(line, tokens))
        lines.push_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(FileTextual, RoundTripsInEveryEncoding)
{
    // Long enough that the 1024-byte buffer fills several times, with units split across refills.
    const std::string longLine = std::string(1500, 'x') + "\xe9\x80";
    const Lines written = {"first line", "caf\xe9 costs 5\x80", "", longLine};
    for (auto encoding : {FileTextual::EncodingAnsi, FileTextual::EncodingUtf16BigEndian,
                          FileTextual::EncodingUtf16LittleEndian, FileTextual::EncodingUtf8}) {
        const std::string path = TestSupport::FreshFolder("text") + "/round.txt";
        {
            FileTextual out(std::make_unique<FileBinary>(path, true, false), FileTextual::ModeWrite, encoding);
            for (const std::string& line : written) {
                out.WriteString(line);
                out.WriteLineEnd();
            }
            out.Close();
        }
        FileTextual in(std::make_unique<FileBinary>(path, false, false), FileTextual::ModeRead);
        EXPECT_EQ(in.GetEncoding(), encoding);
        Lines expected = written;
        expected.push_back(""); // the final line break leaves one empty line
        EXPECT_EQ(AllLines(in), expected) << "encoding " << encoding;
        EXPECT_FALSE(in.HasConversionFailed());

        FileTextual wide(std::make_unique<FileBinary>(path, false, false), FileTextual::ModeRead);
        std::u16string line;
        ASSERT_TRUE(wide.ReadLineW(line));
        ASSERT_TRUE(wide.ReadLineW(line));
        EXPECT_EQ(line, u"caf\u00e9 costs 5\u20ac");
    }
}

TEST(FileTextual, ByteOrderMarksChooseTheEncoding)
{
    FileTextual utf16 = Reader(Bytes{0xFF, 0xFE, 'h', 0, 'i', 0});
    EXPECT_EQ(utf16.GetEncoding(), FileTextual::EncodingUtf16LittleEndian);
    EXPECT_EQ(AllLines(utf16), Lines{"hi"});

    FileTextual notUtf8 = Reader(Bytes{0xEF, 0xBB, 'A'});
    EXPECT_EQ(notUtf8.GetEncoding(), FileTextual::EncodingAnsi);
    EXPECT_EQ(AllLines(notUtf8), Lines{"\xEF\xBB"
                                       "A"});

    FileTextual single = Reader("x");
    EXPECT_EQ(single.GetEncoding(), FileTextual::EncodingAnsi);
    EXPECT_EQ(AllLines(single), Lines{"x"});
}

TEST(FileTextual, LinesEndAtLineBreaksAndLoseTheirComments)
{
    FileTextual withBreak = Reader("a\r\nb\r\n");
    EXPECT_EQ(AllLines(withBreak), (Lines{"a", "b", ""}));
    FileTextual withoutBreak = Reader("a\r\nb");
    EXPECT_EQ(AllLines(withoutBreak), (Lines{"a", "b"}));
    FileTextual unixBreaks = Reader("a\nb\n\nc");
    EXPECT_EQ(AllLines(unixBreaks), (Lines{"a", "b", "", "c"}));
    FileTextual comment = Reader("word 10 // comment\r\nnext");
    EXPECT_EQ(AllLines(comment), (Lines{"word 10 ", "next"}));
    FileTextual empty = Reader("");
    EXPECT_EQ(AllLines(empty), (Lines{""}));
}

TEST(FileTextual, TokensSkipBlanksAndCommentsRunToTheEndOfTheLine)
{
    FileTextual numbers = Reader("1  2\r\n3");
    EXPECT_EQ(numbers.ReadInt(), 1);
    EXPECT_EQ(numbers.ReadInt(), 2);
    EXPECT_EQ(numbers.ReadInt(), 3);
    EXPECT_EQ(numbers.ReadInt(), 0);

    FileTextual comment = Reader("// a b\r\nnext 2.5");
    std::string token = "untouched";
    ASSERT_TRUE(comment.ReadLine(token, true));
    EXPECT_EQ(token, "");
    EXPECT_EQ(AllLines(comment, true), (Lines{"", "next", "2.5"}));

    FileTextual floats = Reader("  0.25\t-3 // 9\r\n");
    EXPECT_FLOAT_EQ(floats.ReadFloat(), 0.25f);
    EXPECT_FLOAT_EQ(floats.ReadFloat(), -3.0f);
    EXPECT_FLOAT_EQ(floats.ReadFloat(), 0.0f);

    FileTextual nothing = Reader("");
    EXPECT_EQ(nothing.ReadInt(), 0);
    EXPECT_FLOAT_EQ(nothing.ReadFloat(), 0.0f);
}

TEST(FileTextual, Utf8DecodesUpToThreeBytesAndMarksBadLeads)
{
    FileTextual file = Reader(Bytes{0xEF, 0xBB, 0xBF, 0xE2, 0x82, 0xAC, 0x80, 0xC3, 0xA9, 'z'});
    std::u16string line;
    ASSERT_TRUE(file.ReadLineW(line));
    EXPECT_EQ(line, u"\u20ac\ufffd\u00e9z");
}

TEST(FileTextual, UnitsWithoutANarrowFormBecomeQuestionMarks)
{
    FileTextual file = Reader(Bytes{0xFF, 0xFE, 0x16, 0x04, 'a', 0});
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "?a");
    EXPECT_TRUE(file.HasConversionFailed());
}

TEST(FileTextual, CloseReportsTextThatCouldNotBeWritten)
{
    FileTextual out(std::make_unique<FileBinary>("/dev/full", true, false), FileTextual::ModeWrite);
    out.WriteString(std::string(5000, 'x'));
    EXPECT_THROW(out.Close(), FileError);
    // The destructor of an unflushed writer never throws.
    auto unflushed =
        std::make_unique<FileTextual>(std::make_unique<FileBinary>("/dev/full", true, false), FileTextual::ModeWrite);
    unflushed->WriteString("pending");
    EXPECT_NO_THROW(unflushed.reset());
}
