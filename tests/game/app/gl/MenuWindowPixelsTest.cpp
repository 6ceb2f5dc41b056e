// Menu windows on the GL back end at 800 x 600: the main menu greeting a player, its title typed in the title
// area, the high-score table with the new entry picked out in its own font, which changes that row and no
// other, the big frame's rows of buttons standing in its middle, the saved game's paragraph above its level
// and score rows, apart, and the Russian profile list, whose rename caption stays on its button. Saved for people
// to look at.
#include "engine/foundation/StringUtils.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "framework/HighScoresTable.h"
#include "game/app/GUIContinueGameLogicWindow.h"
#include "game/app/GUIHighScoresWindow.h"
#include "game/app/GUIMainMenuWindow.h"
#include "game/app/GUIProfilesWindow.h"
#include "game/app/GUIRelaxWindow.h"
#include "tests/game/app/MenuWindowFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using KeystrelEngine::Image;
using Wispfold::GUIMenuWindow;

namespace {

using namespace AppTesting;

// The rows of the picture between the heights that hold bright text, as (bottom, top) runs from the top down.
std::vector<std::pair<std::uint32_t, std::uint32_t>> TextRows(const Image& image, const KeystrelEngine::GUIRect& area)
{
    std::vector<std::pair<std::uint32_t, std::uint32_t>> rows;
    for (auto y = static_cast<std::uint32_t>(area.y + area.height); y > static_cast<std::uint32_t>(area.y); --y) {
        bool text = false;
        for (auto x = static_cast<std::uint32_t>(area.x); x < area.x + area.width && !text; ++x) {
            const auto p = RenderTesting::PixelFromBottom(image, x, y);
            text = std::max({p[0], p[1], p[2]}) > 170;
        }
        if (text && !rows.empty() && rows.back().first == y + 1)
            rows.back().first = y;
        else if (text)
            rows.push_back({y, y});
    }
    return rows;
}

class MenuWindowPixels : public AppPixelFixture<MenuWindowFixture>
{
protected:
    // Pixels that differ in the rows from y to y + height.
    int ChangedRows(const Image& a, const Image& b, float y, float height) const
    {
        return ChangedPixels(a, b, OnScreen(*engine, {0.0f, y, 800.0f, height}));
    }

    // Opens the window in full and runs it until the background has typed its title.
    template <class Window> void OpenTyped(Window& window)
    {
        window.Open();
        OpenFully(window);
        for (int frame = 0; frame < 80 && !background->printer->IsFinished(); ++frame)
            Step(window);
    }
};

TEST_F(MenuWindowPixels, TheMainMenuGreetsThePlayerInTheTitleArea)
{
    profiles->m_current = profiles->AddProfile(u"Ann");
    Wispfold::GUIMainMenuWindow menu(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                                     data->GetChildWindow());
    OpenTyped(menu);
    Step(menu);
    const Image greeting = Grab("main_menu_greeting.bmp");
    background->printer->SetText(u"");
    Step(menu);
    const Image untitled = Grab("main_menu_untitled.bmp");
    // The title prints in the background's title area and only there.
    const float top = background->titleArea->m_position.y;
    EXPECT_GT(ChangedRows(greeting, untitled, top, background->titleArea->m_size.height), 200);
    EXPECT_EQ(ChangedRows(greeting, untitled, 0.0f, top - 2.0f), 0);
}

TEST_F(MenuWindowPixels, TheHighlightedEntryPrintsInItsOwnFontAndChangesOnlyItsRow)
{
    GameFramework::HighScoresTable table(engine->m_log.get(), engine->m_files.get(), userFolder);
    table.Clear();
    const GameFramework::HighScoreEntry* highlighted = nullptr;
    for (std::uint32_t i = 0; i < 10; ++i) {
        const auto* added = table.Add(u"Player " + KeystrelEngine::FormatUnsignedW(i + 1), 1000 * (i + 1));
        if (i == 6)
            highlighted = added;
    }
    Wispfold::GUIHighScoresWindow scores(engine.get(), player.get(), profiles.get(), data.get(), &table, manager.get(),
                                         data->GetChildWindow());
    scores.Open(10, highlighted);
    OpenFully(scores);
    Step(scores);
    const Image picked = Grab("high_scores_highlighted.bmp");
    scores.m_highlighted = nullptr;
    Step(scores);
    const Image plain = Grab("high_scores_plain.bmp");

    std::size_t row = 0;
    while (table.GetEntries()[row].get() != highlighted)
        ++row;
    const float y = Wispfold::GUIHighScoresWindow::kFirstRowY - Wispfold::GUIHighScoresWindow::kRowStep * row;
    EXPECT_GT(ChangedRows(picked, plain, y - 4.0f, 21.0f), 20);
    EXPECT_EQ(ChangedRows(picked, plain, 0.0f, y - 6.0f), 0);
    EXPECT_EQ(ChangedRows(picked, plain, y + 19.0f, 600.0f - y - 19.0f), 0);
}

// The relax offer's two buttons and the saved game's three stand in the middle of the big frame; the saved
// game's paragraph stands in the upper half of its area and its level and score rows, a blank line below, in the
// lower half, no row touching the next.
TEST_F(MenuWindowPixels, TheRelaxOfferAndTheSavedGameLayOutTheirRowsInTheFrame)
{
    for (const char* table : {"relax", "continue_game_logic"})
        engine->m_gui->m_texts->LoadTexts(std::string("ui\\texts\\en\\") + table + ".ini");
    profiles->m_current = profiles->AddProfile(u"Ann");
    profiles->m_current->m_currentLevel = {1, 2};
    profiles->m_current->m_score = 43210;
    Wispfold::GUIRelaxWindow relax(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                                   data->GetChildWindow());
    Wispfold::GUIContinueGameLogicWindow saved(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                                               data->GetChildWindow());
    const auto look = [this](GUIMenuWindow& window, const std::string& name) {
        OpenFully(window);
        Step(window);
        Image image = Grab(name + ".bmp");
        // Across the buttons' middle: the green of their bodies runs as far right of the middle as left of it.
        const KeystrelEngine::GUIWindow& button = *window.GetControls().back()->GetWidget();
        const auto row = static_cast<std::uint32_t>(button.GetAbsolutePosition().y + button.m_hitArea.y +
                                                    button.m_hitArea.height / 2.0f);
        std::uint32_t left = 800, right = 0;
        for (std::uint32_t x = 0; x < 800; ++x) {
            const auto p = RenderTesting::PixelFromBottom(image, x, row);
            if (p[1] > p[0] + 20 && p[1] > p[2] + 20) { // not the frame's teal, the gold rims or the text
                left = std::min(left, x);
                right = x;
            }
        }
        EXPECT_NEAR((left + right) / 2.0, 400.0, 2.0) << name << ": the buttons run from " << left << " to " << right;
        return image;
    };
    relax.Open();
    look(relax, "relax_offer");
    relax.CloseFrame();
    RunUntilGone(relax);
    saved.Open();
    const Image image = look(saved, "saved_game");

    const KeystrelEngine::GUIWindow& frame = *saved.GetFrameWidget();
    const KeystrelEngine::GUIPoint at = frame.GetAbsolutePosition();
    const KeystrelEngine::GUIRect area{at.x + frame.m_extraRect.x, at.y + frame.m_extraRect.y, frame.m_extraRect.width,
                                       frame.m_extraRect.height - 4.0f};
    const auto rows = TextRows(image, area);
    ASSERT_EQ(rows.size(), 5u); // three lines of the paragraph, the level, the score
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_GE(rows[i - 1].first - rows[i].second, i == 3 ? 15u : 4u) << "rows " << i - 1 << " and " << i;
    const float middle = area.y + area.height / 2.0f;
    EXPECT_GT(static_cast<float>(rows[2].first), middle);
    EXPECT_LT(static_cast<float>(rows[4].second), middle);
}

// The longest caption is drawn, then taken away: every pixel it changes lies on its button.
TEST_F(MenuWindowPixels, TheRussianProfileListKeepsItsRenameCaptionOnItsButton)
{
    KeystrelEngine::GUITextManager& texts = *engine->m_gui->m_texts;
    texts.LoadTexts("ui\\texts\\ru\\profiles.ini");
    for (const char16_t* name : {u"Анна", u"Борис", u"Вера", u"Глеб", u"Дарья", u"Егор", u"Жанна", u"Зоя", u"Игорь"})
        profiles->AddProfile(name);
    profiles->m_current = profiles->FindProfile(u"Анна");
    Wispfold::GUIProfilesWindow list(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                                     data->GetChildWindow());
    OpenTyped(list);
    const Image shown = Grab("profiles_russian.bmp");
    texts.SetText("PROFILES_RENAME", u"");
    Step(list);
    const Image bare = Grab("profiles_russian_bare.bmp");
    const KeystrelEngine::GUIWindow& button = *list.GetButton(Wispfold::GUIProfilesWindow::Rename)->GetWidget();
    const KeystrelEngine::GUIPoint origin = button.GetAbsolutePosition();
    const KeystrelEngine::GUIRect& area = button.m_hitArea;
    const int onButton =
        ChangedPixels(shown, bare, OnScreen(*engine, {origin.x + area.x, origin.y + area.y, area.width, area.height}));
    EXPECT_GT(onButton, 50);
    EXPECT_EQ(ChangedPixels(shown, bare, Whole(shown)) - onButton, 0) << "off the button";
}

} // namespace
