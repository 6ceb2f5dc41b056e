#include "GUIGameLogicTextManager.h"

#include "engine/gui/GUIManager.h"

#include <string>

namespace Wispfold {

GUIGameLogicTextManager::GUIGameLogicTextManager(KeystrelEngine::TimerManager& timers, KeystrelEngine::GUIManager& gui,
                                                 const KeystrelEngine::Model* windowModel)
    : m_timers(&timers), m_gui(&gui),
      m_window(gui.CreateWindow(KeystrelEngine::GUIWindow::kShown, {0.0f, 0.0f}, {0.0f, 0.0f}, windowModel, nullptr))
{
}

GUIGameLogicTextManager::~GUIGameLogicTextManager()
{
    m_texts.clear();
    m_gui->DeleteWindow(m_window);
}

void GUIGameLogicTextManager::AddText(std::uint32_t points, KeystrelEngine::GUIPoint position)
{
    const std::string digits = std::to_string(points);
    std::u16string text = u"+";
    text.append(digits.begin(), digits.end());
    m_texts.push_back(
        std::make_unique<GUIGameLogicText>(*m_timers, *m_gui->m_fonts, std::move(text), position, *m_window));
}

void GUIGameLogicTextManager::Update()
{
    for (std::unique_ptr<GUIGameLogicText>& text : m_texts) {
        text->Update();
        if (!text->IsAlive())
            text.reset();
    }
    std::erase(m_texts, nullptr);
}

} // namespace Wispfold
