// Menu windows on the GL back end at 800 x 600: the main menu greeting a player, its title typed in the title
// area, the high-score table with the new entry picked out in its own font, which changes that row and no
// other, and the Russian profile list, whose rename caption stays on its button. Saved for people to look at.
#include "engine/foundation/StringUtils.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "framework/HighScoresTable.h"
#include "game/app/GUIHighScoresWindow.h"
#include "game/app/GUIMainMenuWindow.h"
#include "game/app/GUIProfilesWindow.h"
#include "tests/game/app/MenuWindowFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

using KeystrelEngine::Image;

namespace {

using namespace AppTesting;

// Pixels that differ in the rows from y to y + height.
int ChangedRows(const Image& a, const Image& b, float y, float height)
{
    int changed = 0;
    for (auto row = static_cast<std::uint32_t>(y); static_cast<float>(row) < y + height; ++row) {
        for (std::uint32_t x = 0; x < 800; ++x)
            changed += PixelDifference(a, b, x, row) > 30 ? 1 : 0;
    }
    return changed;
}

using MenuWindowPixels = AppPixelFixture<MenuWindowFixture>;

TEST_F(MenuWindowPixels, TheMainMenuGreetsThePlayerInTheTitleArea)
{
    profiles->m_current = profiles->AddProfile(u"Ann");
    Wispfold::GUIMainMenuWindow menu(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                                     data->GetChildWindow());
    menu.Open();
    OpenFully(menu);
    for (int frame = 0; frame < 80 && !background->printer->IsFinished(); ++frame)
        Step(menu);
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
    list.Open();
    OpenFully(list);
    for (int frame = 0; frame < 80 && !background->printer->IsFinished(); ++frame)
        Step(list);
    const Image shown = Grab("profiles_russian.bmp");
    texts.SetText("PROFILES_RENAME", u"");
    Step(list);
    const Image bare = Grab("profiles_russian_bare.bmp");
    const KeystrelEngine::GUIWindow& button = *list.GetButton(Wispfold::GUIProfilesWindow::Rename)->GetWidget();
    const KeystrelEngine::GUIPoint origin = button.GetAbsolutePosition();
    const KeystrelEngine::GUIRect& area = button.m_hitArea;
    int onButton = 0, offButton = 0;
    for (std::uint32_t y = 0; y < 600; ++y)
        for (std::uint32_t x = 0; x < 800; ++x) {
            const float left = static_cast<float>(x) - origin.x - area.x;
            const float bottom = static_cast<float>(y) - origin.y - area.y;
            if (PixelDifference(shown, bare, x, y) > 30)
                ++(left >= 0 && left < area.width && bottom >= 0 && bottom < area.height ? onButton : offButton);
        }
    EXPECT_GT(onButton, 50);
    EXPECT_EQ(offButton, 0);
}

} // namespace
