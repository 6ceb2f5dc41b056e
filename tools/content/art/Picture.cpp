#include "tools/content/art/Picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace Content {
namespace {

bool IsPowerOfTwo(std::uint32_t value)
{
    return value >= 1 && value <= 4096 && (value & (value - 1)) == 0;
}

std::uint8_t ToByte(float value)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

// Paint over a pixel with the paint's alpha scaled by coverage, keeping colours unpremultiplied.
void Over(Color& pixel, const Color& paint, float coverage)
{
    const float a = std::clamp(paint.a, 0.0f, 1.0f) * coverage;
    if (a <= 0.0f)
        return;
    const float below = pixel.a * (1.0f - a);
    const float out = a + below;
    pixel.r = (paint.r * a + pixel.r * below) / out;
    pixel.g = (paint.g * a + pixel.g * below) / out;
    pixel.b = (paint.b * a + pixel.b * below) / out;
    pixel.a = out;
}

// One box pass of half-width radius over count values spaced stride apart, edges clamped.
void BoxPass(std::array<float, 4>* values, std::size_t count, std::size_t stride, int radius,
             std::vector<std::array<float, 4>>& scratch)
{
    scratch.resize(count);
    const auto last = static_cast<long>(count) - 1;
    const auto at = [&](long i) -> const std::array<float, 4>& {
        return values[static_cast<std::size_t>(std::clamp(i, 0L, last)) * stride];
    };
    std::array<float, 4> sum{};
    for (long i = -radius; i <= radius; ++i) {
        for (int c = 0; c < 4; ++c)
            sum[c] += at(i)[c];
    }
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (long i = 0; i <= last; ++i) {
        for (int c = 0; c < 4; ++c) {
            scratch[static_cast<std::size_t>(i)][c] = sum[c] * scale;
            sum[c] += at(i + radius + 1)[c] - at(i - radius)[c];
        }
    }
    for (std::size_t i = 0; i < count; ++i)
        values[i * stride] = scratch[i];
}

} // namespace

Picture::Picture(std::uint32_t width, std::uint32_t height, const Color& background) : m_width(width), m_height(height)
{
    if (!IsPowerOfTwo(width) || !IsPowerOfTwo(height))
        throw std::invalid_argument("texture sides must be powers of two from 1 to 4096");
    m_pixels.assign(std::size_t{width} * height, background);
}

void Picture::Fill(const Paint& paint)
{
    for (std::uint32_t y = 0; y < m_height; ++y) {
        for (std::uint32_t x = 0; x < m_width; ++x)
            At(x, y) = paint.At({static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f});
    }
}

template <typename Change> void Picture::ForCovered(const Shape& shape, Change change)
{
    const LayoutRect box = shape.Bounds();
    const auto first = [](float edge) { return static_cast<std::uint32_t>(std::max(std::floor(edge), 0.0f)); };
    const auto end = [](float edge, std::uint32_t size) {
        return static_cast<std::uint32_t>(std::clamp(std::ceil(edge), 0.0f, static_cast<float>(size)));
    };
    for (std::uint32_t y = first(box.bottom); y < end(box.Top(), m_height); ++y) {
        for (std::uint32_t x = first(box.left); x < end(box.Right(), m_width); ++x) {
            const Point centre{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            const float coverage = shape.Coverage(centre);
            if (coverage > 0.0f)
                change(At(x, y), centre, coverage);
        }
    }
}

void Picture::Draw(const Shape& shape, const Paint& paint)
{
    ForCovered(shape, [&](Color& pixel, Point centre, float coverage) { Over(pixel, paint.At(centre), coverage); });
}

void Picture::Cut(const Shape& shape)
{
    ForCovered(shape, [](Color& pixel, Point, float coverage) { pixel.a *= 1.0f - coverage; });
}

void Picture::Blur(float radius)
{
    const int half = std::max(1, static_cast<int>(std::lround(radius / 2.0f)));
    std::vector<std::array<float, 4>> values(m_pixels.size());
    for (std::size_t i = 0; i < m_pixels.size(); ++i) {
        const Color& c = m_pixels[i];
        values[i] = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
    }
    std::vector<std::array<float, 4>> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (std::uint32_t y = 0; y < m_height; ++y)
            BoxPass(&values[std::size_t{y} * m_width], m_width, 1, half, scratch);
        for (std::uint32_t x = 0; x < m_width; ++x)
            BoxPass(&values[x], m_height, m_width, half, scratch);
    }
    for (std::size_t i = 0; i < m_pixels.size(); ++i) {
        const std::array<float, 4>& v = values[i];
        if (v[3] > 1.0e-6f)
            m_pixels[i] = {v[0] / v[3], v[1] / v[3], v[2] / v[3], v[3]};
        else
            m_pixels[i].a = 0.0f;
    }
}

void Picture::Paste(const Picture& source, std::uint32_t x, std::uint32_t y)
{
    for (std::uint32_t row = 0; row < source.m_height && y + row < m_height; ++row) {
        for (std::uint32_t column = 0; column < source.m_width && x + column < m_width; ++column)
            At(x + column, y + row) = source.At(column, row);
    }
}

Picture Picture::Grid(const std::vector<Picture>& frames, std::uint32_t columns, std::uint32_t rows)
{
    if (frames.empty() || frames.size() > std::size_t{columns} * rows)
        throw std::invalid_argument("a texture grid needs one frame or more and no more than its cells");
    const std::uint32_t width = frames[0].m_width, height = frames[0].m_height;
    Picture grid(width * columns, height * rows,
                 {frames[0].m_pixels[0].r, frames[0].m_pixels[0].g, frames[0].m_pixels[0].b, 0.0f});
    for (std::uint32_t k = 0; k < frames.size(); ++k) {
        if (frames[k].m_width != width || frames[k].m_height != height)
            throw std::invalid_argument("the frames of a texture grid must share their size");
        grid.Paste(frames[k], (k % columns) * width, (rows - 1 - k / columns) * height);
    }
    return grid;
}

KeystrelEngine::Image Picture::ColourImage(KeystrelEngine::MessageManager* log) const
{
    KeystrelEngine::Image image;
    image.Create(log, m_width, m_height, 24);
    std::uint8_t* out = image.GetPixels();
    for (const Color& c : m_pixels) {
        *out++ = ToByte(c.r);
        *out++ = ToByte(c.g);
        *out++ = ToByte(c.b);
    }
    return image;
}

KeystrelEngine::Image Picture::AlphaImage(KeystrelEngine::MessageManager* log) const
{
    KeystrelEngine::Image image;
    image.Create(log, m_width, m_height, 8);
    std::uint8_t* out = image.GetPixels();
    for (const Color& c : m_pixels)
        *out++ = ToByte(c.a);
    return image;
}

} // namespace Content
