#include "game/app/GUIStartGameLogicWindow.h"

#include "engine/foundation/MessageManager.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "framework/LevelManagerBase.h"
#include "framework/ProfileBase.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIMenuWindowManager.h"
#include "game/app/MapFile.h"
#include "game/app/MenuBackground.h"

namespace Wispfold {

using GameFramework::LevelId;

namespace {

constexpr std::uint32_t kCaptionFlags = 3; // centred
constexpr std::uint32_t kCaptionFont = 1;
constexpr float kPreviewFadeRate = 1.0f / GUIStartGameLogicWindow::kPreviewFade;
constexpr float kPreviewVisit = 0.0001f; // the youngest age a pass still visits

bool Before(LevelId a, LevelId b)
{
    return a.stage < b.stage || (a.stage == b.stage && a.level < b.level);
}

bool Same(LevelId a, LevelId b)
{
    return a.stage == b.stage && a.level == b.level;
}

} // namespace

GUIStartGameLogicWindow::GUIStartGameLogicWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                                                 const GameData* data, GUIMenuWindowManager* manager,
                                                 KeystrelEngine::GUIWindow* parent,
                                                 GameFramework::ProfileManagerBase* profiles,
                                                 const GameFramework::LevelManagerBase* catalogue)
    : GUIMenuWindow(engine, player, data, manager, FrameKind::StartGame, parent), m_profiles(profiles),
      m_catalogue(catalogue), m_back(AddButton("start_game\\button_0", "controls\\button_small")),
      m_start(AddButton("start_game\\button_1", "controls\\button_small")),
      m_detecter(engine->m_timers.get(), engine->m_controls.get())
{
    SetTitle("START_GAME_TITLE");
    MakeElements();
}

GUIStartGameLogicWindow::~GUIStartGameLogicWindow() = default;

// The whole file is read before the first marker is made. Markers of levels the catalogue lacks are kept (they
// keep the map's order) but never shown; one warning names the file.
void GUIStartGameLogicWindow::MakeElements()
{
    const std::vector<MapElementRecord> records = MapFile::Read(m_engine->m_files.get(), m_engine->m_log.get());
    bool warned = false;
    for (const MapElementRecord& record : records) {
        m_elements.push_back(std::make_unique<GUIMapElement>(m_engine, m_data, &m_detecter, GetFrameWidget(), record));
        m_inCatalogue.push_back(IsCatalogueLevel(record.level));
        if (!m_inCatalogue.back() && !warned) {
            m_engine->m_log->Warning(std::string("Markers of \"") + MapFile::kPath +
                                     "\" name levels the catalogue lacks; they stay hidden");
            warned = true;
        }
    }
}

bool GUIStartGameLogicWindow::IsCatalogueLevel(LevelId level) const
{
    return level.stage < m_catalogue->GetStageCount() && level.level < m_catalogue->GetStageLevels(level.stage).size();
}

GameFramework::ProfileBase* GUIStartGameLogicWindow::Profile() const
{
    return m_profiles->m_current;
}

void GUIStartGameLogicWindow::Open(std::int32_t mode)
{
    GUIStartGameLogicWindowBase::Open(mode);
    GameFramework::ProfileBase* profile = Profile();
    if (mode == kStartAtOnce) {
        if (profile && profile->m_continue)
            return;
        m_mode = 0;
    }
    RequestOpen();
    if (profile)
        Select(profile->m_currentLevel);
    for (const auto& element : m_elements) {
        element->SetColour({1.0f, 1.0f, 1.0f, 1.0f});
        if (mode == kAfterLevel || mode == kAfterStage)
            element->Disable();
    }
    m_previewRunning = true;
    m_previewClock = 0.0f;
}

void GUIStartGameLogicWindow::Close()
{
    CloseFrame();
}

void GUIStartGameLogicWindow::Select(LevelId level)
{
    GameFramework::ProfileBase* profile = Profile();
    if (!profile)
        return;
    const LevelId best = profile->m_bestLevel;
    const LevelId wanted = Before(best, level) ? best : level;
    for (const auto& element : m_elements) {
        element->SetAlternateModel(false);
        element->SetVisible(false);
    }
    for (std::size_t i = 0; i < m_elements.size(); ++i) {
        GUIMapElement& element = *m_elements[i];
        const LevelId id = element.GetLevel();
        if (m_inCatalogue[i]) {
            element.SetVisible(true);
            if (Same(id, wanted)) {
                element.SetAlternateModel(true);
                element.SetState(GUIMapElement::Selected);
                profile->m_currentLevel = id;
                profile->Save();
            } else {
                element.SetState(Before(id, wanted) ? GUIMapElement::Passed : GUIMapElement::Reachable);
            }
        }
        if (Same(id, best))
            break;
    }
    m_manager->m_background->UpdateStageTheme();
}

void GUIStartGameLogicWindow::Update()
{
    GUIStartGameLogicWindowBase::Update();
    if (m_mode == kStartAtOnce) {
        m_result = GameFramework::RequestStart;
        m_mode = 0;
        return;
    }
    GUIMenuWindow::Update();
    for (const auto& element : m_elements)
        element->SetWindowAlpha(m_colour.a);
    const bool frameVisible = GetFrameWidget()->IsVisible();
    if (frameVisible) {
        ReactToButtons();
        AddCaptions();
        m_detecter.Update();
    }
    UpdateHover();
    // The detector's flag holds from its last update: once the frame has gone, a double click that ended in the
    // frame's last visible frame would otherwise start the level again every frame.
    for (const auto& element : m_elements)
        if (IsShown() && frameVisible && IsDoubleClicked(*element))
            m_result = GameFramework::RequestStart;
    UpdatePreview();
}

void GUIStartGameLogicWindow::ReactToButtons()
{
    if (IsClicked(*m_back))
        m_result = GameFramework::RequestBack;
    if (IsClicked(*m_start))
        m_result = GameFramework::RequestStart;
}

void GUIStartGameLogicWindow::AddCaptions()
{
    const bool continuing = m_mode == kAfterLevel || m_mode == kAfterStage;
    m_back->GetWidget()->AddTextKey(kCaptionFlags, kCaptionFont, "BACK", -1, 0.0f, -1.0f, {}, m_colour);
    m_start->GetWidget()->AddTextKey(kCaptionFlags, kCaptionFont,
                                     continuing ? "START_GAME_CONTINUE" : "START_GAME_START", -1, 0.0f, -1.0f, {},
                                     m_colour);
}

// A marker is highlighted only when the one before it is not, so that of two overlapping markers the earlier
// wins. The walk ends at the way ahead.
void GUIStartGameLogicWindow::UpdateHover()
{
    bool previousHovered = false;
    for (const auto& element : m_elements) {
        const GUIMapElement::State state = element->GetState();
        if (!element->IsVisible() || state == GUIMapElement::Ahead || state == GUIMapElement::Highlighted)
            return;
        element->UpdateHover(!previousHovered);
        previousHovered = element->IsHovered();
        if (IsShown() && element->GetButton()->IsClicked()) {
            Select(element->GetLevel());
            return;
        }
    }
}

bool GUIStartGameLogicWindow::IsDoubleClicked(const GUIMapElement& element) const
{
    return element.IsVisible() && (!element.IsDisabled() || element.GetState() == GUIMapElement::Selected) &&
           element.GetState() != GUIMapElement::Ahead && m_detecter.IsDoubleClicked() &&
           m_detecter.GetClickedWindow() == element.GetButton();
}

void GUIStartGameLogicWindow::UpdatePreview()
{
    if (!m_previewRunning)
        return;
    m_previewClock += m_timers->m_frameTime;
    const WayAheadRange way = WayAhead();
    PreviewPass(way, m_previewClock, true);
    if (m_previewClock < kPreviewHideDelay)
        return;
    if (PreviewPass(way, m_previewClock - kPreviewHideDelay, false) > kPreviewRestart)
        m_previewClock = 0.0f;
}

GUIStartGameLogicWindow::WayAheadRange GUIStartGameLogicWindow::WayAhead() const
{
    const GameFramework::ProfileBase* profile = Profile();
    if (!profile)
        return {0, 0};
    std::size_t first = 0;
    while (first < m_elements.size() && !Same(m_elements[first]->GetLevel(), profile->m_bestLevel))
        ++first;
    if (first == m_elements.size())
        return {first, first};
    std::size_t end = ++first;
    while (end < m_elements.size()) {
        if (m_elements[end++]->GetKind() != MapElementKind::Path)
            break;
    }
    return {first, end};
}

// A pass that stops before the last marker (t too young) reports no age past it. Markers of levels the catalogue
// lacks are passed over.
float GUIStartGameLogicWindow::PreviewPass(WayAheadRange way, float t, bool showing) const
{
    for (std::size_t i = way.first; i < way.second; ++i) {
        if (!m_inCatalogue[i])
            continue;
        if (t < kPreviewVisit)
            return 0.0f;
        GUIMapElement& element = *m_elements[i];
        if (!element.IsVisible()) {
            element.SetVisible(true);
            element.SetState(GUIMapElement::Ahead);
        }
        const float fade = t <= kPreviewFade ? kPreviewFadeRate * t : 1.0f;
        element.SetColour({1.0f, 1.0f, 1.0f, showing ? fade : 1.0f - fade});
        t -= kPreviewStep;
    }
    return t;
}

} // namespace Wispfold
