// The languages the game ships, by the two-letter codes that name their font lists and text folders.
#pragma once

#include <array>
#include <string_view>

namespace Content {

inline constexpr std::array<std::string_view, 6> kLanguages = {"en", "ru", "ge", "fr", "it", "sp"};

} // namespace Content
