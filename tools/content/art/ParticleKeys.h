// The six keys a particle-system file gives each property over a particle's life (or, for the emission
// rate, over the system's cycle), made from a start and an end. A system's file is Formats::ParticleFile with
// these keys; its ".srf" is a Surface with the sprite texture (Blend::Additive for glows, Blend::Alpha for dust).
// Units: speed 1 moves 100 units a second along the direction; gravity and the floor act on z (world z is up;
// GUI systems keep gravity off and z spreads 0).
#pragma once

#include "engine/render/Color.h"
#include "tools/formats/ParticleFileWriter.h"

#include <array>

namespace Content {

class ParticleKeys
{
public:
    // from at key 0 to to at key 5, evenly.
    static Formats::Keys Ramp(float from, float to);
    static std::array<Formats::Key4, 6> Fade(const KeystrelEngine::Color& from, const KeystrelEngine::Color& to);
    static std::array<Formats::Key3, 6> Same(const Formats::Key3& value);
    // Stepped emission (interpolate 0): count particles once at the start of the cycle.
    static Formats::Keys Burst(float count);
};

} // namespace Content
