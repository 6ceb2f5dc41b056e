// The number of lines of a text family, read from its "_SIZE" text as a decimal integer. A text that does not
// start with a number, or reads as 0 or less, counts as no line; more than kMaxLines count as kMaxLines, since
// every line of a family is added to a window each frame.
#pragma once

#include <cstdint>
#include <string_view>

namespace KeystrelEngine {
class GUITextManager;
}

namespace Wispfold {

constexpr std::int32_t kMaxTextLines = 1000;

// The text is read with its leading white space skipped and an optional sign; reading stops at the first
// character that is not a digit.
std::int32_t ParseLineCount(std::u16string_view text);
// The count of the key's text (for example "RELAX_TEXT_SIZE").
std::int32_t ReadLineCount(KeystrelEngine::GUITextManager& texts, std::string_view sizeKey);

} // namespace Wispfold
