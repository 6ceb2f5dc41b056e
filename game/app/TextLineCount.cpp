#include "game/app/TextLineCount.h"

#include "engine/gui/GUITextManager.h"

#include <algorithm>

namespace Wispfold {

std::int32_t ParseLineCount(std::u16string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t' || text[at] == u'\r' || text[at] == u'\n'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+'))
        negative = text[at++] == u'-';
    std::int32_t count = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at)
        count = std::min(kMaxTextLines, count * 10 + (text[at] - u'0'));
    return negative ? 0 : count;
}

std::int32_t ReadLineCount(KeystrelEngine::GUITextManager& texts, std::string_view sizeKey)
{
    return ParseLineCount(texts.GetText(sizeKey, -1));
}

} // namespace Wispfold
