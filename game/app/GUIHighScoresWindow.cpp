#include "game/app/GUIHighScoresWindow.h"

#include "engine/foundation/StringUtils.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "framework/HighScoresTable.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"
#include "game/app/Profile.h"

namespace Wispfold {

namespace {

using namespace GameFramework;
using KeystrelEngine::GUIFontManager;

// The columns lie on the frame as wide as the screen is high: the ranks end at 296, the names start at 301, the
// scores end at 525.
struct ColumnSpec
{
    float x;
    float width;
    std::uint32_t flags;
};

constexpr ColumnSpec kColumnSpecs[GUIHighScoresWindow::ColumnCount] = {
    {0.0f, 296.0f, GUIFontManager::kRight},
    {301.0f, 224.0f, GUIFontManager::kLeft},
    {0.0f, 525.0f, GUIFontManager::kRight},
};
constexpr float kColumnHeight = 600.0f;
constexpr float kScoreRight =
    kColumnSpecs[GUIHighScoresWindow::Score].x + kColumnSpecs[GUIHighScoresWindow::Score].width;
constexpr float kNameGap = 10.0f; // at the least between a name and its score

} // namespace

GUIHighScoresWindow::GUIHighScoresWindow(KeystrelEngine::Engine* engine, AudioPlayer* player,
                                         ProfileManagerBase* profiles, const GameData* data,
                                         const HighScoresTable* table, GUIMenuWindowManager* manager,
                                         KeystrelEngine::GUIWindow* parent)
    : GUIHighScoresWindowBase(engine), GUIMenuWindow(engine, player, data, manager, FrameKind::BigWindow, parent),
      m_profiles(profiles), m_table(table), m_button(AddButton("big_window\\button_0", "controls\\button_big"))
{
    SetTitle("HIGH_SCORES_TITLE");
    for (int i = 0; i < ColumnCount; ++i) {
        m_columns[i] = m_gui->CreateWindow(KeystrelEngine::GUIWindow::kShown, {kColumnSpecs[i].x, 0.0f},
                                           {kColumnSpecs[i].width, kColumnHeight},
                                           static_cast<const KeystrelEngine::Model*>(nullptr), GetFrameWidget());
    }
}

void GUIHighScoresWindow::Open(std::int32_t mode, const HighScoreEntry* highlighted)
{
    GUIHighScoresWindowBase::Open(mode, highlighted);
    MakeRows();
    RequestOpen();
}

void GUIHighScoresWindow::Close()
{
    GUIHighScoresWindowBase::Close();
    CloseFrame();
}

void GUIHighScoresWindow::Update()
{
    GUIHighScoresWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsClicked(*m_button))
        m_result = ButtonRequest();
    if (m_rows.empty())
        GetFrameWidget()->AddTextKey(MenuTexts::kLineFlags, kRowFont, "HIGH_SCORES_NO_RECORDS", -1, 0.0f,
                                     MenuTexts::kNoSize, {0.0f, kNoRecordsY}, m_colour);
    AddRows();
    MenuTexts::AddCaption(*m_button, m_mode == kModeMainMenu ? "BACK" : "OK", m_colour);
}

// After a lost game a player not in relax mode is offered it, once: the offer is used up and saved before the
// relax window opens.
std::uint32_t GUIHighScoresWindow::ButtonRequest()
{
    auto* profile = static_cast<Profile*>(m_profiles->m_current);
    if (m_mode != kModeGameOver || !profile || !profile->GetFlag(Profile::RelaxOfferPending) ||
        profile->GetFlag(Profile::RelaxMode))
        return RequestBack;
    profile->SetFlag(Profile::RelaxOfferPending, false);
    profile->Save();
    return kRequestRelaxOffer;
}

// A name keeps clear of its score: a long one is shortened to the room the score leaves it in the row's font.
void GUIHighScoresWindow::MakeRows()
{
    const GUIFontManager& fonts = *m_gui->m_fonts;
    m_rows.clear();
    std::uint32_t rank = 1;
    for (const std::unique_ptr<HighScoreEntry>& entry : m_table->GetEntries()) {
        const std::uint32_t font = RowFont(entry.get());
        std::u16string score = KeystrelEngine::FormatUnsignedW(entry->score);
        const float room = kScoreRight - kColumnSpecs[Name].x - kNameGap - fonts.PrintedWidth(font, score);
        m_rows.push_back(
            {entry.get(),
             {KeystrelEngine::FormatUnsignedW(rank) + u".", fonts.FitText(font, entry->name, room), std::move(score)}});
        ++rank;
    }
}

std::uint32_t GUIHighScoresWindow::RowFont(const HighScoreEntry* entry) const
{
    return entry == m_highlighted ? kHighlightFont : kRowFont;
}

void GUIHighScoresWindow::AddRows()
{
    float y = kFirstRowY;
    for (const Row& row : m_rows) {
        const std::uint32_t font = RowFont(row.entry);
        for (int i = 0; i < ColumnCount; ++i)
            m_columns[i]->AddText(kColumnSpecs[i].flags, font, row.texts[i], 0.0f, MenuTexts::kNoSize, {0.0f, y},
                                  m_colour);
        y -= kRowStep;
    }
}

} // namespace Wispfold
