#include "engine/foundation/StringUtils.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/VectorUtils.h"
#include "platform/testing.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace KeystrelEngine;

TEST(StringUtils, CaseChangesOnlyTouchAsciiLetters)
{
    EXPECT_EQ(ToLower("Data\\UI\\ÄB.JPG"), "data\\ui\\Äb.jpg");
    EXPECT_EQ(ToUpper("mouse1 \xe9"), "MOUSE1 \xe9");
    EXPECT_EQ(ToLowerW(u"ABC\u00C4\u0416"), u"abc\u00C4\u0416");
    std::string bytes = "\xC0\xFF";
    ToLowerInPlace(bytes);
    EXPECT_EQ(bytes, "\xC0\xFF");
}

TEST(StringUtils, TrimmingTreatsOnlyAsciiBlanksAsWhiteSpace)
{
    std::string s = " \t\r\n value \xA0 \v\f";
    TrimLeft(s);
    TrimRight(s);
    EXPECT_EQ(s, "value \xA0");
    EXPECT_EQ(TrimW(u"   "), u"");
    EXPECT_EQ(TrimW(u"\t a b \n"), u"a b");
    EXPECT_EQ(TrimLeftWCopy(u"  a "), u"a ");
    EXPECT_EQ(TrimRightWCopy(u"  a "), u"  a");
    std::string path = "\\\\\\data\\x";
    StripLeadingBackslashes(path);
    EXPECT_EQ(path, "data\\x");
}

TEST(StringUtils, ReplacingResumesAfterTheReplacement)
{
    std::string s = "\\\\\\\\";
    ReplaceAll(s, "\\\\", "\\");
    EXPECT_EQ(s, "\\\\");

    std::string grow = "aXa";
    ReplaceAll(grow, "a", "aa");
    EXPECT_EQ(grow, "aaXaa");

    std::string unchanged = "text";
    ReplaceAll(unchanged, "", "x");
    RemoveAll(unchanged, "");
    EXPECT_EQ(unchanged, "text");

    std::string spaced = "a b c";
    RemoveAll(spaced, " ");
    EXPECT_EQ(spaced, "abc");

    std::u16string wide = u"xABCyabc";
    ReplaceAllNoCaseW(wide, u"abc", u"X");
    EXPECT_EQ(wide, u"xXyX");
    std::u16string again = u"Ab";
    ReplaceAllNoCaseW(again, u"a", u"AA");
    EXPECT_EQ(again, u"AAb");
    ReplaceAllNoCaseW(again, u"", u"z");
    EXPECT_EQ(again, u"AAb");
}

TEST(StringUtils, NumbersFormatWithMinimumDigitsAndFixedDecimals)
{
    EXPECT_EQ(FormatInt(7, 3), "007");
    EXPECT_EQ(FormatInt(-5, 3), "-005");
    EXPECT_EQ(FormatInt(1234, 2), "1234");
    EXPECT_EQ(FormatInt(0), "0");
    EXPECT_EQ(FormatInt(INT32_MIN), "-2147483648");
    EXPECT_EQ(FormatUnsigned(100), "100");
    EXPECT_EQ(FormatUnsigned(4294967295u), "4294967295");
    EXPECT_EQ(FormatUnsigned(5, 4), "0005");
    EXPECT_EQ(FormatHex(0), "00000000");
    EXPECT_EQ(FormatHex(255), "000000FF");
    EXPECT_EQ(FormatFloat(0.95, 4), "0.9500");
    EXPECT_EQ(FormatFloat(2.5, 0), "2");
    EXPECT_EQ(FormatFloat(1.0f, 6), "1.000000");
    // No fixed buffer: a huge value is written whole.
    EXPECT_EQ(FormatFloat(1e100, 2).size(), 104u);
    EXPECT_EQ(FormatIntW(-12), u"-12");
    EXPECT_EQ(FormatUnsignedW(42), u"42");
    EXPECT_EQ(FormatBool(true), "1");
    EXPECT_EQ(FormatBool(false), "0");
}

TEST(StringUtils, TextToNumberFollowsTheRuntimeRulesAndClampsIntegers)
{
    EXPECT_EQ(ToInt("  42abc"), 42);
    EXPECT_EQ(ToInt("-17"), -17);
    EXPECT_EQ(ToInt("word"), 0);
    EXPECT_EQ(ToInt("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(ToInt("-99999999999999999999"), INT32_MIN);
    EXPECT_FLOAT_EQ(ToFloat("1.5x"), 1.5f);
    EXPECT_FLOAT_EQ(ToFloat("nothing"), 0.0f);
    EXPECT_TRUE(ToBool(" 1"));
    EXPECT_TRUE(ToBool("2"));
    EXPECT_FALSE(ToBool("0"));
    EXPECT_FALSE(ToBool(""));
    EXPECT_FALSE(ToBool("yes"));
    EXPECT_FALSE(ToBool("true"));
}

TEST(StringUtils, NarrowAndWideConvertInTheActiveCodePage)
{
    EXPECT_EQ(ToWide("caf\xe9 \x80"), u"caf\u00e9 \u20ac");
    EXPECT_EQ(ToNarrow(u"caf\u00e9 \u20ac"), "caf\xe9 \x80");
    // Bytes without a character are skipped; a zero ends the text.
    EXPECT_EQ(ToWide(std::string("a\x81"
                                 "b\0c",
                                 5)),
              u"ab");
    // Units without a narrow form are left out; a zero unit ends the text.
    EXPECT_EQ(ToNarrow(std::u16string(u"a\u0416b\0c", 5)), "ab");
    EXPECT_EQ(ToNarrow(u""), "");

    PlatformTesting::SetAnsiCodePage(1251);
    EXPECT_EQ(ToWide("\xc0\xff"), u"\u0410\u044f");
    EXPECT_EQ(ToNarrow(u"\u0416"), "\xc6");
    PlatformTesting::SetAnsiCodePage(1252);
}

TEST(StringUtils, ApplicationFolderIsTheProgramFilesFolder)
{
    EXPECT_EQ(GetApplicationFolder(), TestSupport::BaseFolder());
    PlatformTesting::SetModuleFileName("/opt/game/bin/quellhaven");
    EXPECT_EQ(GetApplicationFolder(), "/opt/game/bin");
    PlatformTesting::SetModuleFileName("");
    EXPECT_FALSE(GetApplicationFolder().empty());
    PlatformTesting::SetModuleFileName(TestSupport::BaseFolder() + "/quellhaven");
}

TEST(StringUtils, AbsoluteNamesHaveADriveOrALeadingSlash)
{
    EXPECT_TRUE(IsAbsoluteName("C:\\x"));
    EXPECT_TRUE(IsAbsoluteName("/home/x"));
    EXPECT_FALSE(IsAbsoluteName("data\\x:y"));
    EXPECT_FALSE(IsAbsoluteName("\\\\server\\x"));
    EXPECT_TRUE(ContainsDrive("data\\x:y"));
    EXPECT_TRUE(ContainsDrive("/x"));
    EXPECT_FALSE(ContainsDrive("ui\\x.jpg"));
}

namespace {
struct Counted
{
    explicit Counted(int& deaths) : m_deaths(deaths) {}
    virtual ~Counted() { ++m_deaths; }
    int& m_deaths;
};
struct Record
{
    int value;
};
} // namespace

TEST(VectorUtils, OwnedPointerIdioms)
{
    int deaths = 0;
    std::vector<Counted*> objects{new Counted(deaths), nullptr, new Counted(deaths)};
    DestroyAllAndClear(objects);
    EXPECT_EQ(deaths, 2);
    EXPECT_TRUE(objects.empty());

    std::vector<Record*> records{new Record{1}, new Record{2}};
    DeleteAllAndClear(records);
    EXPECT_TRUE(records.empty());

    Record a{1}, b{2};
    std::vector<Record*> sparse{nullptr, &a, nullptr, nullptr, &b, nullptr};
    RemoveNullPointers(sparse);
    EXPECT_EQ(sparse, (std::vector<Record*>{&a, &b}));
}

TEST(Errors, CarryTheirTextAndAreCaughtAsError)
{
    EXPECT_EQ(Error("").GetText(), "");
    const std::string text("bytes \x01\xff\0 kept", 15);
    try {
        throw FileError(text);
    } catch (const Error& caught) {
        EXPECT_EQ(caught.GetText(), text);
    }
    try {
        throw FatalError("fatal");
    } catch (const Error& caught) {
        EXPECT_EQ(caught.GetText(), "fatal");
        EXPECT_NE(dynamic_cast<const FatalError*>(&caught), nullptr);
    }
}
