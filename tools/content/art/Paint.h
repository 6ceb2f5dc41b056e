// What Picture::Fill and Picture::Draw put into a picture: a colour per point (pixels, y up), with its alpha.
// Solid colours, gradients along a line or out from a centre, noise mapped through colour stops, or any
// function of the point.
#pragma once

#include "engine/render/Color.h"
#include "tools/content/art/Outlines.h"
#include "tools/content/art/ValueNoise.h"

#include <functional>
#include <vector>

namespace Content {

using KeystrelEngine::Color;

struct ColourStop
{
    float at; // 0..1, stops in rising order
    Color colour;
};

class Paint
{
public:
    Paint(const Color& colour); // solid (implicit, so a colour can be passed where a paint is asked for)
    explicit Paint(std::function<Color(Point)> colourAt) : m_colourAt(std::move(colourAt)) {}

    // The stops spread from the point from (0) to the point to (1); before and after, the end colours.
    static Paint Linear(Point from, Point to, std::vector<ColourStop> stops);
    // From the centre (0) out to radius (1).
    static Paint Radial(Point centre, float radius, std::vector<ColourStop> stops);
    // noise.Fbm over lattice cells of cellSize pixels, through the stops. A ValueNoise with the period
    // picture width / cellSize tiles across the picture.
    static Paint Noise(const ValueNoise& noise, float cellSize, int octaves, std::vector<ColourStop> stops);

    // The colour of the stops at t (clamped to the ends; linear in between).
    static Color Between(const std::vector<ColourStop>& stops, float t);

    Color At(Point p) const { return m_colourAt(p); }

private:
    std::function<Color(Point)> m_colourAt;
};

} // namespace Content
