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
    if (m_background->GetStartUpStep() != GUIBackgroundWindow::WaitForSharedData || !m_background->IsLoadingShown() ||
        m_background->IsDataLoaded())
        return;
    const auto* data = dynamic_cast<const GameData*>(m_keeper);
    if (!data)
        throw KeystrelEngine::Error("The game-loading window was given no shared data to load");
    RunLoading();
    m_cursor->CreateParticles(*data);
    m_background->SetSharedData(data);
    m_result = GameFramework::RequestDone;
}

} // namespace Wispfold
