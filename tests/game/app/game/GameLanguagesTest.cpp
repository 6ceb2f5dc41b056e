// The game in each of its six languages, as the registry chooses it: the first name typed on the welcome window
// in the language's own letters, then the help, the options and the high scores opened from the main menu. No
// text may show "UNKNOWN" and every printed character must have a glyph in its font.
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/game/PrintedTextAudit.h"

#include "engine/gui/Engine.h"
#include "engine/gui/GUIEditBox.h"
#include "framework/GUIHelpWindowBase.h"
#include "framework/GUIHighScoresWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUIOptionsWindowBase.h"
#include "framework/GUIWelcomeWindowBase.h"
#include "framework/ProfileBase.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIControl.h"
#include "game/app/GUIWelcomeWindow.h"
#include "platform/testing.h"

namespace {

using namespace GameTesting;

struct Language
{
    const char* code;
    std::string typed; // UTF-8, as the keyboard delivers it
    std::u16string name;

    friend void PrintTo(const Language& language, std::ostream* out) { *out << language.code; }
};

class GameLanguages : public GameFixture, public ::testing::WithParamInterface<Language>
{
protected:
    ~GameLanguages() override
    {
        PlatformTesting::SetKeyboardLayouts({}, 0);
        PlatformTesting::SetAnsiCodePage(1252);
    }
};

// A menu window that has faded in whole.
template <class Window> bool Open(const std::unique_ptr<Window>& window)
{
    const auto* menu = dynamic_cast<const Wispfold::GUIMenuWindow*>(window.get());
    return menu && menu->IsShown() && menu->m_colour.a >= 1.0f;
}

// Holds once the frames have passed since it was first asked.
std::function<bool(TestedGame&)> After(int frames)
{
    return [frames](TestedGame&) mutable { return --frames < 0; };
}

// Types the whole text between two frames, one text event a character, as a fast typist's keyboard sends it.
std::function<bool(TestedGame&)> Typing(const std::string& utf8)
{
    return [utf8](TestedGame&) {
        for (std::size_t at = 0, end = 0; at < utf8.size(); at = end) {
            end = at + 1;
            while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
                ++end;
            PlatformTesting::InjectText(utf8.substr(at, end - at));
        }
        return true;
    };
}

// The main menu opens the window by the request; once it stands open and has typed its texts it goes back.
template <class Get> std::vector<Step> Visit(const char* name, std::uint32_t request, Get window)
{
    return {{std::string("main menu for ") + name, MainMenuShown,
             [request](TestedGame& game) { game.m_mainMenuWindow->m_result = request; }},
            {name, [window](TestedGame& game) { return Open(window(game)); }},
            {std::string(name) + " typed", After(60),
             [window](TestedGame& game) { window(game)->m_result = GameFramework::RequestBack; }}};
}

TEST_P(GameLanguages, ShowEveryTextWithItsGlyphs)
{
    const Language& language = GetParam();
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/registry.ini",
                           std::string("[SOFTWARE\\Tarrowby Games\\Quellhaven]\nLanguage=") + language.code + "\n");
    PrintedTextAudit audit;
    std::u16string typed;
    std::u16string profile;
    std::vector<Step> steps = {
        {"welcome", [](TestedGame& game) { return Open(game.m_welcomeWindow); },
         [&](TestedGame& game) { game.frameworkWindowsProbe = [&] { audit.Read(*game.GetEngine()->m_gui); }; }},
        {"name typed", Typing(language.typed),
         [](TestedGame&) { PlatformTesting::InjectKey(SDL_SCANCODE_RETURN, true); }},
        {"ENTER released", After(1),
         [&](TestedGame& game) {
             PlatformTesting::InjectKey(SDL_SCANCODE_RETURN, false);
             const auto& welcome = static_cast<const Wispfold::GUIWelcomeWindow&>(*game.m_welcomeWindow);
             typed = welcome.GetEntry().GetEditBox()->GetEditBox()->GetText();
         }},
    };
    for (auto visit :
         {Visit(
              "help", GameFramework::RequestHelp, [](TestedGame & game) -> auto& { return game.m_helpWindow; }),
          Visit(
              "options", GameFramework::RequestOptions,
              [](TestedGame & game) -> auto& { return game.m_optionsWindow; }),
          Visit(
              "high scores", GameFramework::RequestHighScores,
              [](TestedGame & game) -> auto& { return game.m_highScoresWindow; })})
        steps.insert(steps.end(), visit.begin(), visit.end());
    steps.push_back({"main menu at the end", MainMenuShown, [&](TestedGame& game) {
                         profile = game.m_profileManager->m_current ? game.m_profileManager->m_current->GetName() : u"";
                     }});

    EXPECT_EQ(Play(std::move(steps)), 0);
    EXPECT_EQ(typed, language.name) << "every letter typed reaches the name";
    EXPECT_EQ(profile, language.name);
    for (const std::string& finding : audit.Findings())
        ADD_FAILURE() << finding;
    EXPECT_EQ(ReadUserFile("Quellhaven.html").find("Error: "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    AllSix, GameLanguages,
    ::testing::Values(Language{"en", "Ann Lee", u"Ann Lee"}, Language{"ru", "Пётр Ильич", u"Пётр Ильич"},
                      Language{"ge", "Jürgen Groß", u"Jürgen Groß"}, Language{"fr", "Élodie Garçon", u"Élodie Garçon"},
                      Language{"it", "Niccolò Lucà", u"Niccolò Lucà"}, Language{"sp", "Íñigo Muñoz", u"Íñigo Muñoz"}),
    [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.code); });

} // namespace
