// Text tables: headers and the text lines after them, keys in any case, numbered keys, files in every encoding
// the text reader knows, and the later file winning.
#include "engine/gui/GUITextManager.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "platform/testing.h"
#include "tests/engine/foundation/EngineServices.h"
#include "tests/engine/render/ModelFixture.h"

#include <gtest/gtest.h>

using KeystrelEngine::GUITextManager;

namespace {

class GUITextManagerTest : public ::testing::Test
{
protected:
    void TearDown() override { PlatformTesting::SetAnsiCodePage(1252); }

    // Writes the table below "ui\texts\en" and loads it.
    void Load(const std::string& name, const TestSupport::Bytes& bytes)
    {
        RenderTesting::WriteDataFile("ui\\texts\\en\\" + name, bytes);
        texts.LoadTexts("ui\\texts\\en\\" + name);
    }

    void Load(const std::string& name, const std::string& text) { Load(name, TestSupport::ToBytes(text)); }

    TestSupport::EngineServices services;
    GUITextManager texts{&services.log, &services.files};
};

TEST_F(GUITextManagerTest, HeadersGiveTheNextNonEmptyLineAsTheirText)
{
    Load("common.ini", "before the first header\n"
                       "[title]\n"
                       "Quellhaven\n"
                       "  [ SPACED ]  \r\n"
                       "\n"
                       "\n"
                       "  two blanks before, one after \r\n"
                       "[]\n"
                       "empty key\n"
                       "not a header\n"
                       "[HEADER_TEXT]\n"
                       "[LOOKS_LIKE_A_HEADER]\n"
                       "[HELP_TEXT_3]\n"
                       "Third page\n"
                       "[AT_THE_END]\n"
                       "\n");
    EXPECT_EQ(texts.GetText("TITLE", -1), u"Quellhaven");
    EXPECT_EQ(texts.GetText("Title", -1), u"Quellhaven");
    EXPECT_EQ(texts.GetText(" SPACED ", -1), u"  two blanks before, one after ");
    EXPECT_EQ(texts.GetText("", -1), u"empty key");
    EXPECT_EQ(texts.GetText("HEADER_TEXT", -1), u"[LOOKS_LIKE_A_HEADER]");
    EXPECT_EQ(texts.GetText("LOOKS_LIKE_A_HEADER", -1), u"UNKNOWN");
    EXPECT_EQ(texts.GetText("help_text_", 3), u"Third page");
    EXPECT_EQ(texts.GetText("HELP_TEXT_", 4), u"UNKNOWN");
    EXPECT_EQ(texts.GetText("AT_THE_END", -1), u"UNKNOWN");
    EXPECT_EQ(texts.GetText("NEVER_GIVEN", -1), u"UNKNOWN");
}

TEST_F(GUITextManagerTest, TheLaterFileWinsAndSetTextUpperCasesTheKey)
{
    Load("common.ini", "[OK]\nOK\n[CANCEL]\nCancel");
    Load("game.ini", "[ok]\nAll right");
    EXPECT_EQ(texts.GetText("OK", -1), u"All right");
    EXPECT_EQ(texts.GetText("CANCEL", -1), u"Cancel");
    texts.SetText("level_", u"Level");
    EXPECT_EQ(texts.GetText("LEVEL_", -1), u"Level");
    EXPECT_THROW(texts.LoadTexts("ui\\texts\\en\\missing.ini"), KeystrelEngine::FileError);
}

TEST_F(GUITextManagerTest, TablesInUtf16AndInTheRussianCodePageGiveCyrillicTexts)
{
    TestSupport::Bytes utf16 = {0xFF, 0xFE};
    for (char16_t unit :
         std::u16string(u"[START]\r\n\u041d\u0430\u0447\u0430\u0442\u044c \u0438\u0433\u0440\u0443\r\n")) {
        utf16.push_back(static_cast<std::uint8_t>(unit));
        utf16.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    Load("utf16.ini", utf16);
    EXPECT_EQ(texts.GetText("START", -1), u"\u041d\u0430\u0447\u0430\u0442\u044c \u0438\u0433\u0440\u0443");

    PlatformTesting::SetAnsiCodePage(1251);
    Load("ansi.ini", TestSupport::Bytes{'[', 'E', 'X', 'I', 'T', ']', '\n', 0xC2, 0xFB, 0xF5, 0xEE, 0xE4});
    EXPECT_EQ(texts.GetText("EXIT", -1), u"\u0412\u044b\u0445\u043e\u0434");
}

} // namespace
