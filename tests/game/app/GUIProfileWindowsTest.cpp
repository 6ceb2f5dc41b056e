// The profile windows over the generated models: the name entry's OK and ENTER, the first profile made at the
// welcome, a taken name through the conflict window and back, renaming, the list with its scroll and its name
// buttons, the delete question's wording, deleting the last profile, and a deletion below a dotted user folder
// that takes that profile's files and nothing else.
#include "engine/foundation/FileManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScroll.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIDeleteProfileWindow.h"
#include "game/app/GUINewProfileWindow.h"
#include "game/app/GUIProfileNameConflictWindow.h"
#include "game/app/GUIProfilesWindow.h"
#include "game/app/GUIRenameProfileWindow.h"
#include "game/app/GUIWelcomeWindow.h"
#include "platform/testing.h"
#include "tests/game/app/MenuWindowFixture.h"
#include "tests/tools/content/ContentData.h"

#include <SDL_mouse.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

using namespace Wispfold;

namespace {

using namespace AppTesting;
using GameFramework::ProfileManagerBase;
using KeystrelEngine::GUITextRecord;

std::string OnDisk(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

class GUIProfileWindowsTest : public MenuWindowFixture
{
protected:
    void TearDown() override
    {
        made.clear();
        MenuWindowFixture::TearDown();
    }

    template <class Window> Window& Make(ProfileManagerBase* manager_ = nullptr)
    {
        ProfileManagerBase* list = manager_ ? manager_ : profiles.get();
        std::unique_ptr<Window> window;
        if constexpr (std::is_same_v<Window, GUIProfileNameConflictWindow>)
            window =
                std::make_unique<Window>(engine.get(), player.get(), data.get(), manager.get(), data->GetChildWindow());
        else
            window = std::make_unique<Window>(engine.get(), player.get(), list, data.get(), manager.get(),
                                              data->GetChildWindow());
        Window& result = *window;
        made.push_back(std::move(window));
        return result;
    }

    void AddProfiles(std::initializer_list<const char16_t*> names)
    {
        for (const char16_t* name : names)
            profiles->AddProfile(name);
    }

    std::u16string CurrentName() const { return profiles->m_current ? profiles->m_current->GetName() : u""; }

    // The current profile that the list file names, read anew.
    std::u16string SavedCurrentName() const
    {
        Wispfold::ProfileManager reread(engine->m_log.get(), engine->m_files.get(), player.get(), userFolder);
        reread.LoadAll();
        return reread.m_current ? reread.m_current->GetName() : u"";
    }

    template <class Window> void Reopen(Window& window, auto... args)
    {
        window.Close();
        RunUntilGone(window);
        window.Open(args...);
        OpenFully(window);
    }

    std::vector<std::unique_ptr<GUIMenuWindow>> made;
};

// ENTER confirms a name only when one stands in the box, and the name as it stood when ENTER was typed.
TEST_F(GUIProfileWindowsTest, ANameOfSpacesKeepsOkDisabledAndEnterInertInEveryNameEntry)
{
    AddProfiles({u"Anna"});
    profiles->m_current = profiles->FindProfile(u"Anna");
    GUIWelcomeWindow& welcome = Make<GUIWelcomeWindow>();
    GUINewProfileWindow& fresh = Make<GUINewProfileWindow>();
    GUIRenameProfileWindow& rename = Make<GUIRenameProfileWindow>();
    // ENTER and then letters typed within one frame: the result of that frame.
    const auto enterThenType = [&](auto& window) {
        PlatformTesting::InjectKey(SDL_SCANCODE_RETURN, true);
        Type(window, "zz");
        const std::uint32_t result = window.m_result;
        PlatformTesting::InjectKey(SDL_SCANCODE_RETURN, false);
        Step(window);
        return result;
    };
    const auto check = [&](auto& window, const MenuNameEntry& entry, const char16_t* name, std::uint32_t request) {
        OpenFully(window);
        entry.SetName(u"   ");
        Step(window);
        EXPECT_FALSE(entry.GetOkButton()->GetButton()->IsEnabled());
        EXPECT_EQ(Key(window, SDL_SCANCODE_RETURN), 0u);
        EXPECT_EQ(Click(window, *entry.GetOkButton()->GetWidget()), 0u);
        EXPECT_EQ(enterThenType(window), 0u) << "the letters came after the ENTER";
        EXPECT_EQ(entry.GetName(), u"zz");
        entry.SetName(std::u16string(u"  ") + name);
        Step(window);
        EXPECT_TRUE(entry.GetOkButton()->GetButton()->IsEnabled());
        EXPECT_EQ(enterThenType(window), request) << "the name as it stood at the ENTER";
        const std::vector<GUITextRecord>& prompt = Texts(window.GetFrameWidget());
        ASSERT_EQ(prompt.size(), 1u);
        EXPECT_EQ(prompt[0].key, "ENTER_YOUR_NAME");
        EXPECT_EQ(prompt[0].position.y, 157.0f);
        window.Close();
        RunUntilGone(window);
    };
    welcome.Open();
    check(welcome, welcome.GetEntry(), u"Bea", GameFramework::RequestBack);
    fresh.Open(1);
    check(fresh, fresh.GetEntry(), u"Cid", GameFramework::RequestProfiles);
    rename.Open(true, u"Cid");
    check(rename, rename.GetEntry(), u"Dan", GameFramework::RequestProfiles);
    EXPECT_EQ(CurrentName(), u"Dan");
    EXPECT_TRUE(profiles->FindProfile(u"Bea") && profiles->FindProfile(u"Anna"));
    EXPECT_EQ(profiles->GetProfiles().size(), 3u);
}

// Each language's letters in its own code page, five typed in one frame at a time: the name takes them all, as
// the font the box prints with draws every one.
TEST_F(GUIProfileWindowsTest, EveryLanguagesLettersTypedFiveAFrameReachTheName)
{
    const struct
    {
        const char* language;
        UINT codePage;
        std::string letters; // UTF-8
    } alphabets[] = {
        {"en", 1252, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"},
        {"ru", 1251, "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"},
        {"ge", 1252, "ÄÖÜäöüß"},
        {"fr", 1252, "ÀÂÆÇÈÉÊËÎÏÔŒÙÛÜŸàâæçèéêëîïôœùûüÿ"},
        {"it", 1252, "ÀÈÉÌÍÎÒÓÙÚàèéìíîòóùú"},
        {"sp", 1252, "ÁÉÍÑÓÚÜáéíñóúü¡¿"},
    };
    GUIWelcomeWindow& welcome = Make<GUIWelcomeWindow>();
    welcome.Open();
    OpenFully(welcome);
    for (const auto& alphabet : alphabets) {
        SCOPED_TRACE(alphabet.language);
        PlatformTesting::SetAnsiCodePage(alphabet.codePage);
        for (std::size_t at = 0, letters = 0, end = 0; at < alphabet.letters.size(); at = end, letters = 0) {
            while (end < alphabet.letters.size() && (letters < 5 || (alphabet.letters[end] & 0xC0) == 0x80))
                letters += (alphabet.letters[end++] & 0xC0) != 0x80 ? 1 : 0;
            const std::string chunk = alphabet.letters.substr(at, end - at);
            welcome.GetEntry().Clear();
            Type(welcome, chunk);
            EXPECT_EQ(welcome.GetEntry().GetName(), ContentTesting::Widen(chunk));
        }
    }
    PlatformTesting::SetAnsiCodePage(1252);
}

TEST_F(GUIProfileWindowsTest, TheWelcomeMakesTheTrimmedNameTheCurrentProfileAndSavesTheList)
{
    GUIWelcomeWindow& welcome = Make<GUIWelcomeWindow>();
    welcome.Open();
    OpenFully(welcome);
    EXPECT_EQ(Texts(welcome.GetEntry().GetSecondButton()->GetWidget())[0].key, "EXIT");
    EXPECT_EQ(Click(welcome, *welcome.GetEntry().GetSecondButton()->GetWidget()), GameFramework::RequestQuit);
    EXPECT_TRUE(profiles->GetProfiles().empty());
    welcome.GetEntry().SetName(u" Ann  ");
    EXPECT_EQ(Click(welcome, *welcome.GetEntry().GetOkButton()->GetWidget()), GameFramework::RequestBack);
    EXPECT_EQ(CurrentName(), u"Ann");
    EXPECT_TRUE(std::filesystem::exists(OnDisk(profiles->GetListPath())));
    EXPECT_EQ(SavedCurrentName(), u"Ann");
    // Opened again, the box is empty.
    Reopen(welcome);
    EXPECT_EQ(welcome.GetEntry().GetName(), u"");
}

TEST_F(GUIProfileWindowsTest, ATakenNameGoesThroughTheConflictWindowAndBackWithTheTypedNameKept)
{
    AddProfiles({u"Anna"});
    profiles->m_current = profiles->FindProfile(u"Anna");
    GUINewProfileWindow& fresh = Make<GUINewProfileWindow>();
    GUIProfileNameConflictWindow& conflict = Make<GUIProfileNameConflictWindow>();
    fresh.Open(1);
    OpenFully(fresh);
    EXPECT_EQ(Texts(fresh.GetEntry().GetSecondButton()->GetWidget())[0].key, "CANCEL");
    fresh.GetEntry().SetName(u"ANNA");
    EXPECT_EQ(Click(fresh, *fresh.GetEntry().GetOkButton()->GetWidget()), GameFramework::RequestNameTaken);
    EXPECT_EQ(profiles->GetProfiles().size(), 1u);
    fresh.Close();
    RunUntilGone(fresh);

    conflict.Open(3);
    OpenFully(conflict);
    ASSERT_EQ(Texts(conflict.GetFrameWidget()).size(), 2u);
    EXPECT_EQ(Texts(conflict.GetFrameWidget())[1].position.y, 111.0f);
    EXPECT_EQ(Key(conflict, SDL_SCANCODE_RETURN), GameFramework::RequestNewProfile);
    Reopen(conflict, 4);
    EXPECT_EQ(Click(conflict, *conflict.GetOkButton()->GetWidget()), GameFramework::RequestRenameProfile);
    conflict.Close();
    RunUntilGone(conflict);

    fresh.Open(0);
    OpenFully(fresh);
    EXPECT_EQ(fresh.GetEntry().GetName(), u"ANNA");
    EXPECT_EQ(Click(fresh, *fresh.GetEntry().GetSecondButton()->GetWidget()), GameFramework::RequestProfiles);
    fresh.GetEntry().SetName(u"Bea");
    EXPECT_EQ(Key(fresh, SDL_SCANCODE_RETURN), GameFramework::RequestProfiles);
    EXPECT_EQ(CurrentName(), u"Bea");
    EXPECT_EQ(SavedCurrentName(), u"Bea");
}

TEST_F(GUIProfileWindowsTest, RenamingKeepsALetterCaseChangeAndRefusesAnotherPlayersName)
{
    AddProfiles({u"Anna", u"Bob"});
    profiles->m_current = profiles->FindProfile(u"Anna");
    GUIRenameProfileWindow& rename = Make<GUIRenameProfileWindow>();
    rename.Open(true, u"Anna");
    OpenFully(rename);
    EXPECT_EQ(rename.GetEntry().GetName(), u"Anna");
    rename.GetEntry().SetName(u"ANNA");
    EXPECT_EQ(Key(rename, SDL_SCANCODE_RETURN), GameFramework::RequestProfiles);
    EXPECT_EQ(CurrentName(), u"Anna");
    rename.GetEntry().SetName(u"bob");
    EXPECT_EQ(Key(rename, SDL_SCANCODE_RETURN), GameFramework::RequestNameTaken);
    Reopen(rename, false, std::u16string()); // back from the conflict window
    EXPECT_EQ(rename.GetEntry().GetName(), u"bob");
    EXPECT_EQ(Click(rename, *rename.GetEntry().GetSecondButton()->GetWidget()), GameFramework::RequestProfiles);
    rename.GetEntry().SetName(u" Cleo ");
    EXPECT_EQ(Key(rename, SDL_SCANCODE_RETURN), GameFramework::RequestProfiles);
    EXPECT_EQ(CurrentName(), u"Cleo");
    EXPECT_EQ(SavedCurrentName(), u"Cleo");
}

TEST_F(GUIProfileWindowsTest, TheListStartsWithTheCurrentPlayerAndScrollsOnlyWhenLongerThanItsButtons)
{
    AddProfiles({u"A1", u"A2", u"A3", u"A4", u"A5", u"A6", u"A7"});
    profiles->m_current = profiles->FindProfile(u"A4");
    GUIProfilesWindow& list = Make<GUIProfilesWindow>();
    list.Open();
    OpenFully(list);
    EXPECT_EQ(list.GetNames(), (std::vector<std::u16string>{u"A4", u"A1", u"A2", u"A3", u"A5", u"A6", u"A7"}));
    EXPECT_FALSE(list.GetScroll()->GetWidget()->IsVisible());
    EXPECT_EQ(list.GetScroll()->GetScroll()->m_positionCount, 2u);

    KeystrelEngine::GUIButton& first = *list.GetNameButton(0);
    KeystrelEngine::GUIButton& second = *list.GetNameButton(1);
    Point(second);
    Step(list);
    EXPECT_FALSE(first.IsEnabled());
    EXPECT_EQ(Texts(&first)[0].text, u"A4");
    EXPECT_EQ(Texts(&first)[0].fontId, 4u);
    EXPECT_EQ(Texts(&second)[0].fontId, 5u);
    EXPECT_EQ(Texts(list.GetNameButton(2))[0].fontId, 3u);
    EXPECT_EQ(Click(list, *list.GetNameButton(2)), 0u);
    EXPECT_EQ(CurrentName(), u"A2");
    EXPECT_EQ(SavedCurrentName(), u"A2");
    Step(list);
    EXPECT_TRUE(first.IsEnabled());
    EXPECT_FALSE(list.GetNameButton(2)->IsEnabled());

    AddProfiles({u"A8", u"A9"});
    Reopen(list);
    EXPECT_EQ(list.GetNames()[0], u"A2");
    EXPECT_TRUE(list.GetScroll()->GetWidget()->IsVisible());
    EXPECT_EQ(list.GetScroll()->GetScroll()->m_positionCount, 3u);
    list.GetScroll()->GetScroll()->SetPosition(2);
    Step(list);
    EXPECT_EQ(Texts(list.GetNameButton(6))[0].text, u"A9");
    EXPECT_EQ(Texts(list.GetNameButton(0))[0].text, u"A3");
    Reopen(list);
    EXPECT_EQ(list.GetScroll()->GetScroll()->GetPosition(), 0u);

    const std::pair<GUIProfilesWindow::Button, std::uint32_t> buttons[] = {
        {GUIProfilesWindow::New, GameFramework::RequestNewProfile},
        {GUIProfilesWindow::Rename, GameFramework::RequestRenameProfile},
        {GUIProfilesWindow::Delete, GameFramework::RequestDeleteProfile},
        {GUIProfilesWindow::Done, GameFramework::RequestBack}};
    for (const auto& [button, request] : buttons) {
        SCOPED_TRACE(button);
        EXPECT_EQ(Click(list, *list.GetButton(button)->GetWidget()), request);
    }
    EXPECT_EQ(list.m_selectedName, u"A2");
    EXPECT_EQ(Texts(list.GetButton(GUIProfilesWindow::Done)->GetWidget())[0].key, "PROFILES_DONE");
}

// The list's scroll runs down from the top: its thumb is dragged to the bottom, and a press on the track's middle
// takes it there. With thirteen names the positions lie closer than the thumb is high: a click anywhere on the thumb
// leaves the list where it is, and a dragged thumb stays under the pointer.
TEST_F(GUIProfileWindowsTest, NineProfilesScrollByTheThumbAndByAPressOnTheTrack)
{
    AddProfiles({u"A1", u"A2", u"A3", u"A4", u"A5", u"A6", u"A7", u"A8", u"A9"});
    profiles->m_current = profiles->FindProfile(u"A1");
    GUIProfilesWindow& list = Make<GUIProfilesWindow>();
    list.Open();
    OpenFully(list);
    const KeystrelEngine::GUIScroll& scroll = *list.GetScroll()->GetScroll();
    const KeystrelEngine::GUIWindow& track = *scroll.GetThumb(); // the thumb's window spans the track
    const KeystrelEngine::GUIPoint origin = track.GetAbsolutePosition();
    const auto move = [&](float y) {
        PointAt(*engine->m_window, KeystrelEngine::GUIPoint{origin.x + 0.5f * track.m_size.width, origin.y + y});
        Step(list);
        return Texts(list.GetNameButton(0))[0].text;
    };
    const auto mouse = [&](float y, bool down) {
        move(y);
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, down);
        Step(list);
        return Texts(list.GetNameButton(0))[0].text;
    };
    EXPECT_EQ(mouse(track.m_size.height - 10.0f, true), u"A1") << "pressed on the thumb at the top";
    EXPECT_TRUE(scroll.IsPressed());
    EXPECT_EQ(mouse(10.0f, false), u"A3") << "dragged to the bottom and released";
    EXPECT_EQ(Texts(list.GetNameButton(6))[0].text, u"A9");
    mouse(0.5f * track.m_size.height, true);
    EXPECT_EQ(mouse(0.5f * track.m_size.height, false), u"A2") << "a press on the track's middle";
    EXPECT_EQ(scroll.GetPosition(), 1u);

    AddProfiles({u"B1", u"B2", u"B3", u"B4"});
    Reopen(list);
    mouse(0.5f * track.m_size.height, true);
    EXPECT_EQ(mouse(0.5f * track.m_size.height, false), u"A4") << "a press on the track's middle";
    const KeystrelEngine::Matrix4& thumb = track.GetQuad()->GetOwnWorldMatrix(); // placed at each frame's drawing
    const float height = thumb.m[5];
    const float middle = thumb.m[7] - origin.y + 0.5f * height;
    for (const float y : {middle - 0.45f * height, middle, middle + 0.45f * height}) {
        SCOPED_TRACE(y - middle);
        EXPECT_EQ(mouse(y, true), u"A4") << "a press on the thumb";
        EXPECT_EQ(mouse(y, false), u"A4") << "released where it was pressed";
    }
    const float step = (track.m_size.height - height) / 6.0f;
    mouse(middle, true);
    for (const auto& [y, first] : {std::pair{middle - 2.0f * step, u"A6"}, std::pair{middle + step, u"A3"}}) {
        EXPECT_EQ(move(y), first) << "dragged";
        EXPECT_NEAR(thumb.m[7] - origin.y + 0.5f * height, y, 1.0f) << "the thumb's middle under the pointer";
    }
    EXPECT_EQ(mouse(middle + step, false), u"A3") << "released";
}

TEST_F(GUIProfileWindowsTest, TheDeleteQuestionQuotesTheNameForEveryPlaceholderInAnyCase)
{
    AddProfiles({u"Ann"});
    KeystrelEngine::GUITextManager& texts = *engine->m_gui->m_texts;
    texts.SetText("DELETE_PROFILE_TEXT_0", u"Delete %profile_name%?");
    texts.SetText("DELETE_PROFILE_TEXT_1", u"%PROFILE_NAME% or %Profile_Name%");
    texts.SetText("DELETE_PROFILE_TEXT_2", u"No name here.");
    GUIDeleteProfileWindow& question = Make<GUIDeleteProfileWindow>();
    question.Open(u"Ann");
    OpenFully(question);
    const std::vector<GUITextRecord>& lines = Texts(question.GetFrameWidget());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, u"Delete \"Ann\"?");
    EXPECT_EQ(lines[1].text, u"\"Ann\" or \"Ann\"");
    EXPECT_EQ(lines[2].text, u"No name here.");
    EXPECT_EQ(lines[2].position.y, 106.0f);
    EXPECT_EQ(Click(question, *question.GetNoButton()->GetWidget()), GameFramework::RequestProfiles);
    EXPECT_EQ(profiles->GetProfiles().size(), 1u);
}

TEST_F(GUIProfileWindowsTest, DeletingTheLastProfileAsksForANewOneWhoseWindowThenOffersExit)
{
    AddProfiles({u"Ann", u"Bob"});
    profiles->m_current = profiles->FindProfile(u"Ann");
    GUIDeleteProfileWindow& question = Make<GUIDeleteProfileWindow>();
    question.Open(u"Ann");
    OpenFully(question);
    EXPECT_EQ(Click(question, *question.GetYesButton()->GetWidget()), GameFramework::RequestProfiles);
    Reopen(question, std::u16string(u"Bob"));
    EXPECT_EQ(Click(question, *question.GetYesButton()->GetWidget()), GameFramework::RequestNewProfile);
    EXPECT_TRUE(profiles->GetProfiles().empty());
    question.Close();
    RunUntilGone(question);

    GUINewProfileWindow& fresh = Make<GUINewProfileWindow>();
    fresh.Open(1);
    OpenFully(fresh);
    EXPECT_TRUE(fresh.HasNoProfiles());
    EXPECT_EQ(Texts(fresh.GetEntry().GetSecondButton()->GetWidget())[0].key, "EXIT");
    EXPECT_EQ(Click(fresh, *fresh.GetEntry().GetSecondButton()->GetWidget()), GameFramework::RequestQuit);
}

TEST_F(GUIProfileWindowsTest, DeletingBelowADottedUserFolderTakesThatProfilesFilesAndNothingElse)
{
    const std::string kept = std::getenv("XDG_DATA_HOME");
    ::setenv("XDG_DATA_HOME", (TestSupport::FreshFolder("home") + "/.local/share").c_str(), 1);
    {
        const std::string folder = KeystrelEngine::FileManager::GetUserFolder() + "/Quellhaven";
        ASSERT_NE(folder.find("/.local/share/"), std::string::npos);
        Wispfold::ProfileManager dotted(engine->m_log.get(), engine->m_files.get(), player.get(), folder);
        dotted.LoadAll();
        dotted.m_current = dotted.AddProfile(u"Ann");
        const GameFramework::ProfileBase& bob = *dotted.AddProfile(u"Bob");
        const std::string annFile =
            OnDisk(dotted.FindProfile(u"Ann")->GetFilePath(dotted.FindProfile(u"Ann")->GetFileName()));
        const std::string annFolder = OnDisk(dotted.FindProfile(u"Ann")->GetProfileFolder());
        const std::string bobFile = OnDisk(bob.GetFilePath(bob.GetFileName()));
        const std::string bobFolder = OnDisk(bob.GetProfileFolder());
        for (const std::string& state : {annFolder, bobFolder})
            TestSupport::WriteFile(state + "/state.bin", "state");
        TestSupport::WriteFile(folder + "/profiles/other.txt", "other");

        GUIDeleteProfileWindow& question = Make<GUIDeleteProfileWindow>(&dotted);
        question.Open(u"Ann");
        OpenFully(question);
        EXPECT_EQ(Click(question, *question.GetYesButton()->GetWidget()), GameFramework::RequestProfiles);
        EXPECT_FALSE(std::filesystem::exists(annFile));
        EXPECT_FALSE(std::filesystem::exists(annFolder));
        EXPECT_TRUE(std::filesystem::exists(bobFile));
        EXPECT_TRUE(std::filesystem::exists(bobFolder + "/state.bin"));
        EXPECT_TRUE(std::filesystem::exists(folder + "/profiles/other.txt"));
        EXPECT_TRUE(std::filesystem::exists(OnDisk(dotted.GetListPath())));
        question.Close();
        RunUntilGone(question);
        made.clear();
    }
    ::setenv("XDG_DATA_HOME", kept.c_str(), 1);
}

} // namespace
