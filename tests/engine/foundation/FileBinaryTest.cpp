#include "engine/foundation/FileBinary.h"
#include "engine/foundation/Error.h"
#include "tests/support/PackWriter.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <random>

using namespace KeystrelEngine;
using TestSupport::Bytes;

namespace {

Bytes Pattern(std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 131) >> 3);
    return bytes;
}

std::string WriteTemp(const std::string& name, const Bytes& bytes)
{
    const std::string path = TestSupport::FreshFolder("binary") + "/" + name;
    TestSupport::WriteFile(path, bytes);
    return path;
}

std::string ErrorText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FileError& error) {
        return error.GetText();
    }
    return "(no error)";
}

} // namespace

TEST(FileBinary, FilesUpToEightMebibytesAreLoadedWholeLargerOnesReadOnDemand)
{
    const std::string exact = WriteTemp("exact.bin", Bytes(FileBinary::kWholeLoadLimit));
    EXPECT_FALSE(FileBinary(exact, false, false).IsReadOnDemand());
    const std::string larger = WriteTemp("larger.bin", Bytes(FileBinary::kWholeLoadLimit + 1));
    EXPECT_TRUE(FileBinary(larger, false, false).IsReadOnDemand());
    EXPECT_FALSE(FileBinary(larger, false, true).IsReadOnDemand());
}

TEST(FileBinary, InMemoryAndOnDemandReadsAgreeForTheSameSeeksAndReads)
{
    const Bytes content = Pattern(FileBinary::kWholeLoadLimit + 4096);
    const std::string path = WriteTemp("big.bin", content);
    FileBinary memory(path, false, true);
    FileBinary stream(path, false, false);
    ASSERT_TRUE(stream.IsReadOnDemand());

    std::mt19937 random(7);
    const std::int64_t size = content.size();
    for (int step = 0; step < 2000; ++step) {
        const auto origin = static_cast<FileBinary::SeekOrigin>(random() % 3);
        const std::int64_t offset = static_cast<std::int64_t>(random() % (size + 200)) - (origin == 2 ? size / 2 : 100);
        ASSERT_EQ(memory.Seek(origin, offset), stream.Seek(origin, offset));
        ASSERT_EQ(memory.GetPosition(), stream.GetPosition());
        const std::uint32_t count = random() % 3000;
        Bytes a(count), b(count);
        std::uint32_t gotA = 0, gotB = 0;
        memory.Read(count, a.data(), &gotA);
        stream.Read(count, b.data(), &gotB);
        ASSERT_EQ(gotA, gotB);
        ASSERT_TRUE(std::equal(a.begin(), a.begin() + gotA, b.begin()));
        ASSERT_TRUE(std::equal(a.begin(), a.begin() + gotA, content.begin() + (memory.GetPosition() - gotA)));
    }
}

TEST(FileBinary, ShortReadsReportTheCountOrThrowNamingTheRequest)
{
    FileBinary file("mem.bin", 4, "abcd");
    char buffer[10];
    std::uint32_t got = 99;
    file.Read(0, buffer, &got);
    EXPECT_EQ(got, 0u);
    file.Read(0, buffer); // reading nothing never fails
    file.Read(10, buffer, &got);
    EXPECT_EQ(got, 4u);
    file.Seek(FileBinary::SeekFromStart, 0);
    EXPECT_EQ(ErrorText([&] { file.Read(10, buffer); }), "Failed to read 10 bytes from \"mem.bin\" file");
    EXPECT_EQ(file.GetPosition(), 4u);
    EXPECT_EQ(file.GetRemaining(), 0u);
}

TEST(FileBinary, SeeksClampIntoTheFileAndNeverWrap)
{
    FileBinary file("mem.bin", 10, "0123456789");
    EXPECT_TRUE(file.Seek(FileBinary::SeekFromStart, 3));
    EXPECT_EQ(file.GetPosition(), 3u);
    EXPECT_FALSE(file.Seek(FileBinary::SeekFromStart, 10));
    EXPECT_EQ(file.GetPosition(), 9u);
    EXPECT_FALSE(file.Seek(FileBinary::SeekBackFromEnd, 0));
    EXPECT_EQ(file.GetPosition(), 9u);
    EXPECT_TRUE(file.Seek(FileBinary::SeekBackFromEnd, 4));
    EXPECT_EQ(file.GetPosition(), 6u);
    EXPECT_FALSE(file.Seek(FileBinary::SeekBackFromEnd, 11));
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_TRUE(file.Seek(FileBinary::SeekRelative, 5));
    EXPECT_FALSE(file.Seek(FileBinary::SeekRelative, -6));
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_FALSE(file.Seek(FileBinary::SeekFromStart, -1));
    EXPECT_EQ(file.GetPosition(), 0u);

    FileBinary empty("empty.bin", 0, "");
    for (auto origin : {FileBinary::SeekFromStart, FileBinary::SeekBackFromEnd, FileBinary::SeekRelative}) {
        empty.Seek(origin, 5);
        EXPECT_EQ(empty.GetPosition(), 0u);
        empty.Seek(origin, -5);
        EXPECT_EQ(empty.GetPosition(), 0u);
    }
    EXPECT_EQ(empty.GetRemaining(), 0u);
    std::uint32_t got = 1;
    char c;
    empty.Read(1, &c, &got);
    EXPECT_EQ(got, 0u);
}

TEST(FileBinary, CountedStringsStopAtTheirFirstZero)
{
    const Bytes bytes = {6, 'h', 'e', 'l', 'l', 'o', 0, 0, 3, 'a', 'b', 'c', 4, 'x', 0, 'y', 0, 0, 0, 'w', 0, 3, 0};
    FileBinary file("strings.bin", static_cast<std::uint32_t>(bytes.size()), bytes.data());
    EXPECT_EQ(file.ReadString(), "hello");
    EXPECT_EQ(file.ReadString(), "");
    EXPECT_EQ(file.ReadString(), "abc");
    EXPECT_EQ(file.ReadWString(), u"xy");
    EXPECT_EQ(file.GetPosition(), 21u);
    EXPECT_THROW(file.ReadWString(), FileError); // announces 3 units, holds none
}

TEST(FileBinary, HeaderCheckNamesFormatAndVersionFailures)
{
    Bytes good;
    Formats::PutLE32(good, 17);
    for (char c : std::string("KEMLF"))
        good.push_back(c);
    Formats::PutLE32(good, 201);
    Formats::PutLE32(good, 0);
    auto check = [](Bytes bytes) {
        return ErrorText([&] {
            FileBinary file("m.mlf", static_cast<std::uint32_t>(bytes.size()), bytes.data());
            file.CheckHeader("KEMLF", 201, "Incorrect \"m.mlf\" file format",
                             "Incorrect \"m.mlf\" format version, current is 201");
        });
    };
    EXPECT_EQ(check(good), "(no error)");
    Bytes longer = good;
    Formats::SetLE32(longer, 0, 18);
    EXPECT_EQ(check(longer), "Incorrect \"m.mlf\" file format");
    Bytes magic = good;
    magic[8] = 'G';
    EXPECT_EQ(check(magic), "Incorrect \"m.mlf\" file format");
    Bytes version = good;
    Formats::SetLE32(version, 9, 200);
    EXPECT_EQ(check(version), "Incorrect \"m.mlf\" format version, current is 201");
    EXPECT_EQ(check(Bytes(good.begin(), good.begin() + 12)), "Failed to read 13 bytes from \"m.mlf\" file");
}

TEST(FileBinary, DiskNamesAreAbsoluteOrBelowTheProgramFolder)
{
    const std::string folder = TestSupport::FreshFolder("names");
    TestSupport::WriteFile(folder + "/File.BIN", Bytes{1, 2, 3});
    EXPECT_EQ(FileBinary("names\\file.bin", false, false).GetSize(), 3u);
    std::string unc = folder + "/File.BIN";
    std::replace(unc.begin(), unc.end(), '/', '\\');
    EXPECT_EQ(FileBinary("\\" + unc, false, false).GetSize(), 3u); // two leading backslashes: used unchanged
    EXPECT_EQ(ErrorText([] { FileBinary("names\\missing.bin", false, false); }),
              "Failed to open \"names\\missing.bin\" file");
}

TEST(FileBinary, WritingTracksTheHighestPositionAndCanRewriteTheStart)
{
    const std::string path = TestSupport::FreshFolder("write") + "/out.bin";
    {
        FileBinary file(path, true, false);
        file.Write(4, "\0\0\0\0");
        file.Write(6, "body!!");
        EXPECT_EQ(file.GetSize(), 10u);
        file.Seek(FileBinary::SeekFromStart, 0);
        file.Write(4, "HEAD");
        EXPECT_EQ(file.GetPosition(), 4u);
        EXPECT_EQ(file.GetSize(), 10u);
        file.Write(0, nullptr);
        file.Close();
    }
    EXPECT_EQ(TestSupport::ReadFile(path), TestSupport::ToBytes("HEADbody!!"));
}

TEST(FileBinary, WriteFailuresAreReported)
{
    // The full device: every write reaches the disk and fails there.
    FileBinary file("/dev/full", true, false);
    const Bytes block(1 << 16);
    EXPECT_EQ(ErrorText([&] {
                  file.Write(static_cast<std::uint32_t>(block.size()), block.data());
                  file.Close();
              }).rfind("Failed to write ", 0),
              0u);
}
