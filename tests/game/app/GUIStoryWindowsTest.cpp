// The introduction's pages and the relax offer, and how both read their line counts.
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIIntroductionWindow.h"
#include "game/app/GUIRelaxWindow.h"
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"
#include "game/app/TextLineCount.h"
#include "tests/game/app/MenuWindowFixture.h"

using Wispfold::GUIIntroductionWindow;
using Wispfold::GUIRelaxWindow;
using Wispfold::Profile;

namespace {

using namespace AppTesting;
using KeystrelEngine::GUITextRecord;

class GUIStoryWindowsTest : public MenuWindowFixture
{
protected:
    void SetUp() override
    {
        MenuWindowFixture::SetUp();
        engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\introduction.ini");
        engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\relax.ini");
        profiles->m_current = profiles->AddProfile(u"Ann");
        auto relaxWindow = std::make_unique<GUIRelaxWindow>(engine.get(), player.get(), profiles.get(), data.get(),
                                                            manager.get(), data->GetChildWindow());
        auto introWindow = std::make_unique<GUIIntroductionWindow>(engine.get(), player.get(), data.get(),
                                                                   manager.get(), data->GetChildWindow());
        relax = relaxWindow.get();
        intro = introWindow.get();
        windows.push_back(std::move(relaxWindow));
        windows.push_back(std::move(introWindow));
    }

    void SetSize(const std::string& key, const std::u16string& size) { engine->m_gui->m_texts->SetText(key, size); }
    Profile& Current() const { return *static_cast<Profile*>(profiles->m_current); }
    bool SavedRelaxMode() const
    {
        return Profile(engine->m_log.get(), engine->m_files.get(), userFolder, Current().GetFileName())
            .GetFlag(Profile::RelaxMode);
    }
    std::uint32_t Continue() { return Click(*intro, *intro->GetContinueButton()->GetWidget()); }
    const std::vector<GUITextRecord>& IntroLines() const { return Texts(intro->GetFrameWidget()); }

    GUIRelaxWindow* relax = nullptr;
    GUIIntroductionWindow* intro = nullptr;
};

TEST(TextLineCountTest, ReadsALeadingDecimalNumberAndBoundsIt)
{
    const std::pair<std::u16string, std::int32_t> cases[] = {
        {u"13", 13}, {u" 8\r\n", 8}, {u"+4", 4}, {u"12abc", 12},  {u"0", 0},
        {u"-3", 0},  {u"abc", 0},    {u"", 0},   {u"1001", 1000}, {u"99999999999999999999", 1000},
    };
    for (const auto& [text, count] : cases)
        EXPECT_EQ(Wispfold::ParseLineCount(text), count) << std::string(text.begin(), text.end());
}

TEST_F(GUIStoryWindowsTest, RelaxDrawsEveryLineOnOnePageAndYesAloneTurnsRelaxModeOn)
{
    SetSize("RELAX_TEXT_SIZE", u"13");
    relax->Open();
    OpenFully(*relax);
    const std::vector<GUITextRecord>& lines = Texts(relax->GetFrameWidget());
    ASSERT_EQ(lines.size(), 13u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].key, "RELAX_TEXT_");
        EXPECT_EQ(lines[i].number, static_cast<std::int32_t>(i));
        EXPECT_EQ(lines[i].flags, 1u);
        EXPECT_EQ(lines[i].fontId, 2u);
    }
    EXPECT_EQ(lines.back().position.y, 7.0f);
    EXPECT_EQ(Texts(relax->GetYesButton()->GetWidget())[0].key, "YES");
    EXPECT_EQ(Texts(relax->GetNoButton()->GetWidget())[0].key, "NO");

    EXPECT_EQ(Click(*relax, *relax->GetNoButton()->GetWidget()), GameFramework::RequestBack);
    EXPECT_FALSE(Current().GetFlag(Profile::RelaxMode));
    EXPECT_FALSE(SavedRelaxMode());
    EXPECT_EQ(Click(*relax, *relax->GetYesButton()->GetWidget()), GameFramework::RequestBack);
    EXPECT_TRUE(Current().GetFlag(Profile::RelaxMode));
    EXPECT_TRUE(SavedRelaxMode());
    Step(*relax);
    EXPECT_EQ(relax->m_result, 0u);
}

TEST_F(GUIStoryWindowsTest, RelaxSizesThatReadAsNoLineDrawNoneAndHugeOnesAreBounded)
{
    for (const std::u16string size : {u"0", u"-2", u"many"}) {
        SetSize("RELAX_TEXT_SIZE", size);
        relax->Open();
        OpenFully(*relax);
        EXPECT_TRUE(Texts(relax->GetFrameWidget()).empty());
    }
    SetSize("RELAX_TEXT_SIZE", u"250000");
    relax->Open();
    Step(*relax);
    EXPECT_EQ(Texts(relax->GetFrameWidget()).size(), 1000u);
}

TEST_F(GUIStoryWindowsTest, TwelveLinesMakeOnePageAndContinueStartsTheGame)
{
    SetSize("INTRODUCTION_TEXT_SIZE", u"12");
    intro->Open();
    OpenFully(*intro);
    EXPECT_EQ(intro->GetPages().GetPageCount(), 1);
    ASSERT_EQ(IntroLines().size(), 12u);
    EXPECT_EQ(IntroLines()[0].position.y, 247.0f);
    EXPECT_EQ(IntroLines()[11].position.y, 27.0f);
    EXPECT_EQ(IntroLines()[11].colour.a, 1.0f);
    EXPECT_EQ(Texts(intro->GetContinueButton()->GetWidget())[0].key, "CONTINUE");
    EXPECT_EQ(Continue(), GameFramework::RequestStart);
}

TEST_F(GUIStoryWindowsTest, ThirteenLinesTurnToASecondPageOfOneLineThroughAFade)
{
    SetSize("INTRODUCTION_TEXT_SIZE", u"13");
    intro->Open();
    OpenFully(*intro);
    EXPECT_EQ(intro->GetPages().GetPageCount(), 2);
    EXPECT_EQ(Continue(), 0u);
    // Falling at 0.4 a frame from 1: gone after three frames, the second page shown from the frame it drops below 0.
    std::vector<float> alphas;
    while (intro->GetPages().GetShownPage() == 0 && alphas.size() < 10) {
        alphas.push_back(intro->GetPages().GetPageAlpha());
        Step(*intro);
    }
    ASSERT_EQ(intro->GetPages().GetShownPage(), 1);
    for (std::size_t i = 1; i < alphas.size(); ++i)
        EXPECT_LT(alphas[i], alphas[i - 1]);
    EXPECT_EQ(intro->GetPages().GetPageAlpha(), 0.0f);
    ASSERT_EQ(IntroLines().size(), 1u);
    EXPECT_EQ(IntroLines()[0].number, 12);
    EXPECT_EQ(IntroLines()[0].position.y, 247.0f);
    EXPECT_EQ(IntroLines()[0].colour.a, 0.0f);
    Step(*intro);
    EXPECT_FLOAT_EQ(intro->GetPages().GetPageAlpha(), 0.2f);
    EXPECT_FLOAT_EQ(IntroLines()[0].colour.a, 0.2f);
    EXPECT_EQ(Continue(), GameFramework::RequestStart);

    intro->Open(); // every visit starts again at the first page
    EXPECT_EQ(intro->GetPages().GetShownPage(), 0);
    EXPECT_EQ(intro->GetPages().GetPageAlpha(), 1.0f);
}

TEST_F(GUIStoryWindowsTest, AnIntroductionSizeThatReadsAsNoLineStillHasAPageToContinueFrom)
{
    for (const std::u16string size : {u"0", u"-1", u"none"}) {
        SetSize("INTRODUCTION_TEXT_SIZE", size);
        intro->Open();
        OpenFully(*intro);
        EXPECT_EQ(intro->GetPages().GetPageCount(), 1);
        EXPECT_TRUE(IntroLines().empty());
        EXPECT_EQ(Continue(), GameFramework::RequestStart);
    }
}

} // namespace
