#include "engine/foundation/PackFile.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "tests/support/PackWriter.h"

#include <gtest/gtest.h>

using namespace KeystrelEngine;
using namespace Formats;
using namespace TestSupport;

namespace {

class PackFileTest : public ::testing::Test
{
protected:
    std::string Write(const Bytes& pack)
    {
        const std::string path = FreshFolder("packs") + "/test.pak";
        WriteFile(path, pack);
        return path;
    }

    // The log lines of a pack that fails to load: the found line, then "......" and the error on one line.
    std::vector<std::string> FailureLines(const Bytes& pack)
    {
        const std::string path = Write(pack);
        EXPECT_THROW(PackFile(path, &m_log), Error);
        std::vector<std::string> lines;
        for (const auto& record : m_log.m_history)
            lines.push_back(record.text);
        return lines;
    }

    MessageManager m_log{"", "Test", "", false, false};
};

} // namespace

TEST_F(PackFileTest, LoadsItsDirectoryAndCopiesEntriesOut)
{
    const std::string path = Write(BuildPack(
        {{"Data\\UI\\A.JPG", ToBytes("jpeg")}, {"data\\empty.txt", {}}, {"data\\ui\\a.jpg", ToBytes("second")}}));
    PackFile pack(path, &m_log);
    ASSERT_EQ(m_log.m_history.size(), 2u);
    EXPECT_EQ(m_log.m_history[0].text, "...Pack file " + path + " found...\n");
    EXPECT_EQ(m_log.m_history[1].text, "......It contains 3 files...\n");

    EXPECT_TRUE(pack.Exists("DATA\\ui\\a.jpg"));
    std::uint32_t size = 0;
    pack.GetSize("data\\ui\\a.jpg", size);
    EXPECT_EQ(size, 4u); // the first of two equal names wins
    char buffer[4];
    pack.ReadEntry("data\\ui\\a.jpg", buffer);
    EXPECT_EQ(std::string(buffer, 4), "jpeg");

    EXPECT_TRUE(pack.Exists("data\\empty.txt"));
    pack.GetSize("data\\empty.txt", size);
    EXPECT_EQ(size, 0u);
    pack.ReadEntry("data\\empty.txt", nullptr);

    size = 77;
    pack.GetSize("missing", size);
    EXPECT_EQ(size, 77u);
    EXPECT_FALSE(pack.Exists("missing"));
}

TEST_F(PackFileTest, ListsNamesBelowAFolderThatHoldThePattern)
{
    const std::string path = Write(BuildPack({{"data\\ui\\a.jpg", {}},
                                              {"data\\ui\\sub\\b.jpg", {}},
                                              {"data\\uix\\c.jpg", {}},
                                              {"data\\ui\\d.jpg.bak", {}},
                                              {"data\\ui\\e.tga", {}}}));
    PackFile pack(path, &m_log);
    std::vector<std::string> list{"kept"};
    pack.ListFolder("Data\\UI", "*.JPG", list);
    EXPECT_EQ(list,
              (std::vector<std::string>{"kept", "data\\ui\\a.jpg", "data\\ui\\d.jpg.bak", "data\\ui\\sub\\b.jpg"}));
    list.clear();
    pack.ListFolder("data\\ui\\", "*", list);
    EXPECT_EQ(list.size(), 4u);
}

TEST_F(PackFileTest, AnEmptyPackLoadsAndHoldsNothing)
{
    PackFile pack(Write(BuildPack({})), &m_log);
    EXPECT_EQ(m_log.m_history.back().text, "......It contains 0 files...\n");
    EXPECT_FALSE(pack.Exists("anything"));
}

TEST_F(PackFileTest, DamagedPacksAreRefusedWithOneErrorLine)
{
    const Bytes good = BuildPack({{"data\\a.txt", ToBytes("abc")}, {"data\\b.txt", ToBytes("defg")}});
    auto failure = [&](const Bytes& pack) { return FailureLines(pack).back(); };

    Bytes magic = good;
    magic[4] = 'X';
    EXPECT_EQ(failure(magic), "Error: Incorrect pack file format!\n");
    EXPECT_EQ(m_log.m_history[m_log.m_history.size() - 2].text, "......");
    Bytes length = good;
    SetLE32(length, 0, static_cast<std::uint32_t>(good.size() + 1));
    EXPECT_EQ(failure(length), "Error: Incorrect pack file format!\n");
    EXPECT_EQ(failure(BuildPack({}, 101)), "Error: Incorrect pack file version, current is 100!\n");

    Bytes hugeCount = good;
    SetLE32(hugeCount, 13, 0xFFFFFFFFu);
    EXPECT_EQ(failure(hugeCount), "Error: Incorrect pack file format!\n");

    Bytes pastEnd = good;
    const std::size_t pairs = 17 + 12 + 12;                                  // header, count, two counted names
    SetLE32(pastEnd, pairs + 8, static_cast<std::uint32_t>(good.size() - 2)); // second entry's offset
    EXPECT_EQ(failure(pastEnd), "Error: Incorrect pack file format!\n");

    // A directory cut short while its length field still matches the file.
    Bytes truncated(good.begin(), good.begin() + 35);
    SetLE32(truncated, 0, 35);
    EXPECT_EQ(failure(truncated),
              "Error: Failed to read 11 bytes from \"" + BaseFolder() + "/packs/test.pak\" file!\n");
}
