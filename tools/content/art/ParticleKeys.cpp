#include "tools/content/art/ParticleKeys.h"

namespace Content {
namespace {

float Between(float from, float to, int key)
{
    return from + (to - from) * static_cast<float>(key) / 5.0f;
}

} // namespace

Formats::Keys ParticleKeys::Ramp(float from, float to)
{
    Formats::Keys keys;
    for (int k = 0; k < 6; ++k)
        keys[k] = Between(from, to, k);
    return keys;
}

std::array<Formats::Key4, 6> ParticleKeys::Fade(const KeystrelEngine::Color& from, const KeystrelEngine::Color& to)
{
    std::array<Formats::Key4, 6> keys;
    for (int k = 0; k < 6; ++k)
        keys[k] = {Between(from.r, to.r, k), Between(from.g, to.g, k), Between(from.b, to.b, k),
                   Between(from.a, to.a, k)};
    return keys;
}

std::array<Formats::Key3, 6> ParticleKeys::Same(const Formats::Key3& value)
{
    std::array<Formats::Key3, 6> keys;
    keys.fill(value);
    return keys;
}

Formats::Keys ParticleKeys::Burst(float count)
{
    return {count, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
}

} // namespace Content
