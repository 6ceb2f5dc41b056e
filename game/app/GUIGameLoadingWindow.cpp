#include "GUIGameLoadingWindow.h"

#include "GUIBackgroundWindow.h"
#include "GUIGameCursor.h"
#include "GameData.h"

#include "engine/foundation/Error.h"
#include "framework/WindowRequest.h"

namespace Wispfold {

GUIGameLoadingWindow::GUIGameLoadingWindow(KeystrelEngine::Engine* engine, GUIBackgroundWindow* background,
                                           GUIGameCursor* cursor)
    : GUILoadingWindowBase(engine), m_background(background), m_cursor(cursor)
{
}

GUIGameLoadingWindow::~GUIGameLoadingWindow() = default;

void GUIGameLoadingWindow::Update()
{
    GUILoadingWindowBase::Update();
    if (!m_keeper || m_background->IsDataLoaded() || !Load())
        return;
    if (m_background->GetStartUpStep() != 3 || !m_background->IsLoadingShown())
        return;
    const auto& data = static_cast<const GameData&>(*m_keeper);
    m_cursor->CreateParticles(data);
    m_background->SetSharedData(&data);
    m_result = GameFramework::RequestDone;
}

bool GUIGameLoadingWindow::Load()
{
    if (m_loaded)
        return true;
    if (++m_openUpdates < 2)
        return false;
    if (!dynamic_cast<const GameData*>(m_keeper))
        throw KeystrelEngine::Error("The game-loading window was given no shared data to load");
    RunLoading();
    m_loaded = true;
    return true;
}

} // namespace Wispfold
