#include "GUIHighScoresWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIHighScoresWindowBase::GUIHighScoresWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIHighScoresWindowBase::~GUIHighScoresWindowBase() = default;

void GUIHighScoresWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIHighScoresWindowBase::Open(std::int32_t mode, const HighScoreEntry* highlighted)
{
    m_mode = mode;
    m_highlighted = highlighted;
}

void GUIHighScoresWindowBase::Close() {}

} // namespace GameFramework
