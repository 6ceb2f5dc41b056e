#include "tools/content/Oscillator.h"

#include <numbers>

namespace Content {

const std::array<float, Oscillator::kTableSize + 1> Oscillator::s_sines = [] {
    std::array<float, kTableSize + 1> values{};
    for (int i = 0; i <= kTableSize; ++i)
        values[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * i / kTableSize));
    return values;
}();

} // namespace Content
