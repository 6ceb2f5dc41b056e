#include "game/app/PagedText.h"

#include "game/app/MenuTexts.h"

#include <algorithm>

namespace Wispfold {

void PagedText::Open(std::int32_t lineCount)
{
    m_lineCount = std::max(0, lineCount);
    m_pageCount = std::max(1, (m_lineCount + kLinesPerPage - 1) / kLinesPerPage);
    m_requestedPage = 0;
    m_shownPage = 0;
    m_pageAlpha = 1.0f;
}

bool PagedText::TurnPage()
{
    if (m_requestedPage >= m_pageCount)
        return false;
    return ++m_requestedPage == m_pageCount;
}

void PagedText::Update(float frameTime)
{
    if (m_requestedPage >= m_pageCount)
        return;
    if (m_shownPage == m_requestedPage) {
        m_pageAlpha = std::min(1.0f, m_pageAlpha + kFadeInRate * frameTime);
        return;
    }
    m_pageAlpha -= kFadeOutRate * frameTime;
    if (m_pageAlpha < 0.0f) {
        m_pageAlpha = 0.0f;
        m_shownPage = m_requestedPage;
    }
}

void PagedText::AddLines(KeystrelEngine::GUIWindow& frame, const std::string& key,
                         const KeystrelEngine::Color& colour) const
{
    KeystrelEngine::Color lineColour = colour;
    lineColour.a = m_pageAlpha * colour.a;
    const std::int32_t first = m_shownPage * kLinesPerPage;
    const std::int32_t end = std::min(m_lineCount, first + kLinesPerPage);
    for (std::int32_t line = first; line < end; ++line)
        MenuTexts::AddLine(frame, key, line, kFirstLineY - kLineStep * static_cast<float>(line - first), lineColour);
}

} // namespace Wispfold
