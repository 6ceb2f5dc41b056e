#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Error.h"
#include "platform/testing.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <tuple>

using namespace KeystrelEngine;
using TestSupport::BaseFolder;

namespace {

std::string ReadText(const std::string& path)
{
    const TestSupport::Bytes bytes = TestSupport::ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

class MessageManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SYSTEMTIME tuesday;
        tuesday.wYear = 2026;
        tuesday.wMonth = 12;
        tuesday.wDay = 8;
        tuesday.wDayOfWeek = 2;
        tuesday.wHour = 1;
        tuesday.wMinute = 35;
        tuesday.wSecond = 54;
        PlatformTesting::SetLocalTime(&tuesday);
        m_folder = TestSupport::FreshFolder("logs");
    }
    void TearDown() override { PlatformTesting::SetLocalTime(nullptr); }

    std::string m_folder;
};

const std::string kHead = "<HTML><HEAD><TITLE>Quellhaven Log</TITLE></HEAD><BODY bgcolor=\"#000000\">"
                          "<FONT color=\"#FFFFFF\"><FONT color=\"#FFFFFF\">======== </FONT>"
                          "<FONT color=\"#00FF00\">Quellhaven Log: Tue Dec 08 01:35:54 2026</FONT>"
                          "<FONT color=\"#FFFFFF\"> ========<BR><BR></FONT>";
const std::string kEnd = "<FONT color=\"#FFFFFF\"><BR>======== </FONT>"
                         "<FONT color=\"#00FF00\">Quellhaven Log end: Tue Dec 08 01:35:54 2026</FONT>"
                         "<FONT color=\"#FFFFFF\"> ========<BR></FONT></FONT></BODY></HTML>";

} // namespace

TEST_F(MessageManagerTest, WritesTheWholePageByteForByte)
{
    {
        MessageManager log(m_folder, "Quellhaven", "", true, false);
        log.Message("Initialization of File Manager...");
        log.Message("two\nlines\n");
        log.Warning("low memory");
        log.Error("Failed to open \"a<b>&c\" file");
    }
    const std::string expected = kHead + "Initialization of File Manager...<BR>" + "two<BR>lines<BR><BR>" +
                                 "<FONT color=\"#7F7F7F\"><BR>Warning: low memory!<BR><BR></FONT>" +
                                 "<FONT color=\"#FF0000\"><BR>Error: Failed to open \"a&lt;b&gt;&amp;c\" file!"
                                 "<BR><BR></FONT>" +
                                 kEnd;
    EXPECT_EQ(ReadText(m_folder + "/Quellhaven.html"), expected);
}

TEST_F(MessageManagerTest, HistoryKeepsTheTextsAsGivenWithTheirKinds)
{
    MessageManager log(m_folder, "Quellhaven", "", true, false);
    log.Message("a<b");
    log.Warning("w");
    log.SetLineBreaks(false);
    log.Message("......");
    log.Error("e");
    log.SetLineBreaks(true);
    EXPECT_THROW(log.FatalError("gone"), FatalError);
    ASSERT_EQ(log.m_history.size(), 5u);
    EXPECT_EQ(log.m_history[0].kind, MessageManager::KindMessage);
    EXPECT_EQ(log.m_history[0].text, "a<b\n");
    EXPECT_EQ(log.m_history[1].text, "\nWarning: w!\n\n");
    EXPECT_EQ(log.m_history[2].text, "......");
    EXPECT_EQ(log.m_history[3].text, "Error: e!\n");
    EXPECT_EQ(log.m_history[4].kind, MessageManager::KindFatalError);
    EXPECT_EQ(log.m_history[4].text, "PROGRAM ABORTING: gone\n");
}

TEST_F(MessageManagerTest, FatalErrorIsWrittenBeforeItIsThrown)
{
    MessageManager log(m_folder, "Quellhaven", "", true, true);
    try {
        log.FatalError("no device");
        FAIL() << "FatalError returned";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.GetText(), "no device");
    }
    EXPECT_NE(ReadText(m_folder + "/Quellhaven.html").find("<FONT color=\"#FF0000\">PROGRAM ABORTING: no device<BR>"),
              std::string::npos);
}

TEST_F(MessageManagerTest, DisabledLogMakesNoFileButKeepsHistory)
{
    {
        MessageManager log(m_folder, "Quellhaven", "", false, false);
        log.Message("kept");
        ASSERT_EQ(log.m_history.size(), 1u);
    }
    EXPECT_FALSE(TestSupport::FileExists(m_folder + "/Quellhaven.html"));
}

TEST_F(MessageManagerTest, ReopeningModeHasEveryEntryOnDiskAtOnce)
{
    MessageManager log(m_folder, "Quellhaven", "", true, true);
    log.Message("first");
    EXPECT_EQ(ReadText(m_folder + "/Quellhaven.html"), kHead + "first<BR>");
}

TEST_F(MessageManagerTest, LogFolderIsAbsoluteRelativeToTheProgramOrTheProgramFolderItself)
{
    {
        MessageManager log("", "Quellhaven", "Game", true, false);
    }
    EXPECT_TRUE(TestSupport::FileExists(BaseFolder() + "/Game.html"));

    TestSupport::FreshFolder("relative/logs");
    {
        MessageManager log("relative\\logs", "Quellhaven", "", true, false);
    }
    EXPECT_TRUE(TestSupport::FileExists(BaseFolder() + "/relative/logs/Quellhaven.html"));

    MessageManager absolute(m_folder, "Quellhaven", "Other", true, false);
    EXPECT_EQ(absolute.GetPath(), m_folder + "\\Other.html");
}

TEST_F(MessageManagerTest, UnwritableLogIsNoError)
{
    MessageManager log(m_folder + "/missing/folder", "Quellhaven", "", true, false);
    log.Error("still recorded");
    EXPECT_EQ(log.m_history.size(), 1u);
}

// A crash or a kill loses nothing logged: the file holds every entry while the log is still open. A log that
// cannot be opened or written (a full disk) says so and writes its entries to standard error.
TEST_F(MessageManagerTest, EveryEntryIsReadableAtOnceInTheFileOrOnStandardError)
{
    {
        MessageManager log(m_folder, "Quellhaven", "", true, false);
        log.Message("first");
        log.Error("second");
        EXPECT_EQ(ReadText(m_folder + "/Quellhaven.html"),
                  kHead + "first<BR><FONT color=\"#FF0000\"><BR>Error: second!<BR><BR></FONT>");
    }
    std::filesystem::create_symlink("/dev/full", m_folder + "/Full.html"); // a full disk
    for (const auto& [folder, name, failure] :
         {std::tuple{m_folder + "/missing", "Quellhaven",
                     "open \"" + m_folder + "/missing/Quellhaven.html\" (No such"},
          std::tuple{m_folder, "Full", "write \"" + m_folder + "/Full.html\" (No space left"}}) {
        ::testing::internal::CaptureStderr();
        MessageManager(folder, name, "", true, false).Warning("third");
        const std::string written = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(written.rfind(std::string(name) + " Log: failed to " + failure, 0), 0u) << written;
        EXPECT_TRUE(written.ends_with("; the log goes to standard error\n\nWarning: third!\n\n")) << written;
    }
}

TEST_F(MessageManagerTest, EntriesFromTwoThreadsStayWhole)
{
    {
        MessageManager log(m_folder, "Quellhaven", "", true, false);
        auto writer = [&log](char letter) {
            for (int i = 0; i < 500; ++i)
                log.Message(std::string(40, letter));
        };
        std::thread loader(writer, 'a');
        writer('b');
        loader.join();
        EXPECT_EQ(log.m_history.size(), 1000u);
    }
    const std::string page = ReadText(m_folder + "/Quellhaven.html");
    const std::string body = page.substr(kHead.size(), page.size() - kHead.size() - kEnd.size());
    for (std::size_t at = 0; at < body.size(); at += 44) {
        const std::string entry = body.substr(at, 44);
        ASSERT_TRUE(entry == std::string(40, 'a') + "<BR>" || entry == std::string(40, 'b') + "<BR>") << entry;
    }
}

// The engine empties the history every frame while the loading thread may be logging.
TEST_F(MessageManagerTest, HistoryEmptiedWhileAnotherThreadLogsKeepsWholeEntries)
{
    MessageManager log(m_folder, "Quellhaven", "", false, false);
    std::thread loader([&log] {
        for (int i = 0; i < 2000; ++i)
            log.Message(std::string(40, 'a'));
    });
    for (int i = 0; i < 200; ++i)
        log.ClearHistory();
    loader.join();
    EXPECT_LE(log.m_history.size(), 2000u);
    for (const auto& record : log.m_history)
        ASSERT_EQ(record.text, std::string(40, 'a') + "\n");
    log.ClearHistory();
    EXPECT_TRUE(log.m_history.empty());
}
