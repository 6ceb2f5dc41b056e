// A text family shown a page of twelve lines at a time. Turning the page fades the shown page out at four times
// the frame time, switches to the requested page once it has gone, and fades that in at twice the frame time.
// There is always at least one page, so the last page can always be turned and the window reports.
#pragma once

#include "engine/render/Color.h"

#include <cstdint>
#include <string>

namespace KeystrelEngine {
class GUIWindow;
}

namespace Wispfold {

class PagedText
{
public:
    static constexpr std::int32_t kLinesPerPage = 12;
    static constexpr float kFirstLineY = 247.0f;
    static constexpr float kLineStep = 20.0f;
    static constexpr float kFadeInRate = 2.0f;
    static constexpr float kFadeOutRate = 4.0f;

    // Back to the first page, fully shown.
    void Open(std::int32_t lineCount);
    // Asks for the next page; true when that was the last page turned.
    bool TurnPage();
    // The page fade of one frame.
    void Update(float frameTime);
    // The shown page's lines of the key family on the frame, their alpha the page's times the colour's.
    void AddLines(KeystrelEngine::GUIWindow& frame, const std::string& key, const KeystrelEngine::Color& colour) const;

    std::int32_t GetLineCount() const { return m_lineCount; }
    std::int32_t GetPageCount() const { return m_pageCount; }
    std::int32_t GetShownPage() const { return m_shownPage; }
    float GetPageAlpha() const { return m_pageAlpha; }

private:
    std::int32_t m_lineCount = 0;
    std::int32_t m_pageCount = 1;
    std::int32_t m_requestedPage = 0;
    std::int32_t m_shownPage = 0;
    float m_pageAlpha = 1.0f;
};

} // namespace Wispfold
