// The game cursor: its setting, the program's system cursor as the window's class cursor, the switch between the
// drawn and the system cursor at the next update, and the system cursor's display counter.
#include "framework/GUIGameCursorBase.h"

#include "engine/foundation/Controls.h"
#include "engine/foundation/Window.h"
#include "engine/gui/GUIManager.h"
#include "tests/framework/WindowBaseFixture.h"

#include <algorithm>

using GameFramework::GUIGameCursorBase;
using KeystrelEngine::GUICursor;

namespace {

// A game's cursor may keep more pairs than the program's cursor; this one adds a second and makes it current.
class GameCursor : public GUIGameCursorBase
{
public:
    using GUIGameCursorBase::GUIGameCursorBase;

    void UseOtherPair(GUICursor* drawnCursor)
    {
        m_cursors[1] = {nullptr, drawnCursor};
        m_current = &m_cursors[1];
    }
};

class GameCursorTest : public FrameworkTesting::WindowBaseFixture
{
protected:
    // A cursor widget without a quad, registered with the GUI manager as the game's cursor makes its own.
    GUICursor* MakeDrawnCursor()
    {
        auto* cursor = new GUICursor(engine->m_log.get(), engine->m_window.get(), engine->m_models.get(),
                                     engine->m_controls.get(), engine->m_gui->m_camera);
        engine->m_gui->m_cursors.Add(cursor);
        cursor->m_visible = true;
        return cursor;
    }

    // The configuration's frame around the cursor's update.
    bool Frame(GUIGameCursorBase& cursor)
    {
        config->Update();
        const bool shown = cursor.Update();
        config->EndFrame();
        return shown;
    }

    bool SettingRegistered() const
    {
        std::vector<std::string> names;
        config->GetNames(names);
        return std::find(names.begin(), names.end(), "ui_custom_cursor") != names.end();
    }

    static bool SystemCursorShown() { return PlatformTesting::GetDisplayCount() >= 0; }

    KeystrelEngine::Controls& controls() const { return *engine->m_controls; }
};

TEST_F(GameCursorTest, RegistersItsSavedSettingStartsHiddenAndGivesItsCursorsBack)
{
    const std::uint32_t cursorsBefore = engine->m_gui->m_cursors.GetLiveCount();
    {
        GameCursor cursor(engine.get());
        EXPECT_TRUE(SettingRegistered());
        EXPECT_EQ(config->GetValue("ui_custom_cursor"), "1");
        EXPECT_EQ(config->GetDefaultValue("ui_custom_cursor"), "1");
        EXPECT_TRUE(cursor.IsCustomCursorActive());
        EXPECT_FALSE(SystemCursorShown());
        EXPECT_FALSE(controls().m_cursorVisible);
        config->Save();
        EXPECT_NE(ConfigFile().find("ui_custom_cursor 1"), std::string::npos);

        cursor.LoadSystemCursor(MakeDrawnCursor());
        EXPECT_EQ(engine->m_gui->m_cursors.GetLiveCount(), cursorsBefore + 1);
    }
    EXPECT_FALSE(SettingRegistered());
    EXPECT_EQ(engine->m_gui->m_cursors.GetLiveCount(), cursorsBefore);
}

TEST_F(GameCursorTest, TheProgramsCursorBecomesTheWindowsClassCursor)
{
    GameCursor cursor(engine.get());
    GUICursor* drawn = MakeDrawnCursor();
    cursor.LoadSystemCursor(drawn);
    EXPECT_FALSE(drawn->m_visible);
    cursor.ApplySystemCursor();
    const HCURSOR program = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1000));
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(engine->m_window->m_cursor, program);
    EXPECT_EQ(PlatformTesting::GetCurrentCursor(), program);
    ASSERT_NE(cursor.GetCurrent(), nullptr);
    EXPECT_EQ(cursor.GetCurrent()->drawnCursor, drawn);

    // Coming from another shown drawn cursor, the switch hides it and shows the new one.
    GUICursor* other = MakeDrawnCursor();
    cursor.UseOtherPair(other);
    cursor.ApplySystemCursor();
    EXPECT_FALSE(other->m_visible);
    EXPECT_TRUE(drawn->m_visible);
    EXPECT_FALSE(SystemCursorShown());
}

TEST_F(GameCursorTest, ASwitchOfTheSettingTakesEffectAtTheNextUpdateWhileShown)
{
    GameCursor cursor(engine.get());
    GUICursor* drawn = MakeDrawnCursor();
    cursor.LoadSystemCursor(drawn);
    cursor.ApplySystemCursor();
    EXPECT_FALSE(Frame(cursor)) << "hidden until shown";
    cursor.Show(true);
    EXPECT_TRUE(drawn->m_visible);
    EXPECT_FALSE(SystemCursorShown());
    EXPECT_TRUE(Frame(cursor));

    config->SetValue("ui_custom_cursor", "0");
    EXPECT_TRUE(cursor.IsCustomCursorActive()) << "not before the update";
    EXPECT_TRUE(Frame(cursor));
    EXPECT_FALSE(cursor.IsCustomCursorActive());
    EXPECT_FALSE(drawn->m_visible);
    EXPECT_TRUE(SystemCursorShown());
    EXPECT_TRUE(controls().m_cursorVisible);

    cursor.Show(false);
    EXPECT_FALSE(SystemCursorShown());
    EXPECT_FALSE(Frame(cursor));
    cursor.Show(true);
    config->SetValue("ui_custom_cursor", "1");
    EXPECT_TRUE(Frame(cursor));
    EXPECT_TRUE(cursor.IsCustomCursorActive());
    EXPECT_TRUE(drawn->m_visible);
    EXPECT_FALSE(SystemCursorShown());
}

TEST_F(GameCursorTest, ShowingAndHidingTheSystemCursorBringTheDisplayCounterAcrossZeroWithinTen)
{
    GameCursor cursor(engine.get()); // no drawn cursor yet: the system cursor serves
    struct Case
    {
        int start;
        bool show;
        int expected;
    };
    const Case cases[] = {{-3, true, 0},  {10, true, 10},    {15, true, 15},    {-12, true, 0},
                          {5, false, -1}, {-10, false, -10}, {-20, false, -20}, {12, false, -1}};
    for (const Case& c : cases) {
        while (PlatformTesting::GetDisplayCount() < c.start)
            ShowCursor(TRUE);
        while (PlatformTesting::GetDisplayCount() > c.start)
            ShowCursor(FALSE);
        cursor.Show(c.show);
        EXPECT_EQ(PlatformTesting::GetDisplayCount(), c.expected) << c.start << (c.show ? " shown" : " hidden");
        EXPECT_EQ(controls().m_cursorVisible, c.show);
    }
}

} // namespace
