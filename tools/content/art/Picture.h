// A texture being painted: width x height colours with alpha, both powers of two, row 0 the BOTTOM row (the
// engine's image layout, so texture v = 0 is row 0 and pixel (x, y) lies at u = (x + 0.5) / width,
// v = (y + 0.5) / height). Painting is deterministic; ArtList writes a picture as "<name>.jpg" (24-bit colour)
// and "<name>_alpha.jpg" (8-bit grey of the alpha, same size).
//
// Colours are kept unpremultiplied, and painting over a transparent pixel takes the paint's colour, so edges do
// not darken when the texture is filtered. Start a picture with the main colour at alpha 0 rather than with
// black when most of it stays transparent.
#pragma once

#include "engine/render/Color.h"
#include "engine/render/Image.h"
#include "tools/content/art/Paint.h"
#include "tools/content/art/Shape.h"

#include <cstdint>
#include <vector>

namespace KeystrelEngine {
class MessageManager;
}

namespace Content {

class Picture
{
public:
    // Throws std::invalid_argument unless both sides are powers of two (1 .. 4096).
    Picture(std::uint32_t width, std::uint32_t height, const Color& background = {0.0f, 0.0f, 0.0f, 0.0f});

    std::uint32_t Width() const { return m_width; }
    std::uint32_t Height() const { return m_height; }
    Color& At(std::uint32_t x, std::uint32_t y) { return m_pixels[std::size_t{y} * m_width + x]; }
    const Color& At(std::uint32_t x, std::uint32_t y) const { return m_pixels[std::size_t{y} * m_width + x]; }

    // Every pixel becomes the paint at its centre.
    void Fill(const Paint& paint);
    // The paint laid over the pixels the shape covers (alpha blending by paint alpha x coverage).
    void Draw(const Shape& shape, const Paint& paint);
    // Makes the covered pixels transparent (alpha x (1 - coverage)): holes, cut-outs.
    void Cut(const Shape& shape);
    // A blur of about the given radius in pixels (three box passes each way), weighted by alpha; edges clamp.
    void Blur(float radius);
    // Copies the source in with its bottom-left pixel at (x, y), clipped.
    void Paste(const Picture& source, std::uint32_t x, std::uint32_t y);

    // The frames as one picture of columns x rows cells of the frames' size (all alike), numbered as the
    // engine's grid animations count them: frame k in column k % columns of row k / columns counted from the
    // TOP. Cells past the last frame stay transparent. Throws std::invalid_argument for more frames than cells
    // or frames of different sizes; the whole must have power-of-two sides (use 4 x 2 cells for 6 frames).
    static Picture Grid(const std::vector<Picture>& frames, std::uint32_t columns, std::uint32_t rows);

    // The engine images the files are written from: 24-bit colour, and the alpha as 8-bit grey.
    KeystrelEngine::Image ColourImage(KeystrelEngine::MessageManager* log) const;
    KeystrelEngine::Image AlphaImage(KeystrelEngine::MessageManager* log) const;

private:
    template <typename Change> void ForCovered(const Shape& shape, Change change);

    std::uint32_t m_width;
    std::uint32_t m_height;
    std::vector<Color> m_pixels;
};

} // namespace Content
