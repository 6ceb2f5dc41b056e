// The particle systems of "ui\menus\particles\" with their sprites: the butterflies' arrival sparkles, departure
// trail and swap sparks and the mana cell's burst (world units, z up), and the GUI's upgrade glow, cursor trail
// and click burst, the mana's flight to the bar and the bar's glow (virtual-screen units, flat in z). Bursts emit
// once at the start of their cycle; trails and glows emit steadily while their owner keeps them on; the boxes of
// the box emitters are the owners' to set, their default spans the reference area of 400 x 400.
#pragma once

#include "tools/content/art/ArtGenerator.h"

#include <string>
#include <vector>

namespace Content {

class MenuParticlesGenerator : public ArtGenerator
{
public:
    static constexpr const char* kFolder = "ui\\menus\\particles\\";

    // The systems' names, without folder and extension.
    static std::vector<std::string> Names();

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
