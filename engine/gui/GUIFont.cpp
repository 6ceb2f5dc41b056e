// The font file: the engine's 13-byte header ("KEFNT", version 201), a u32 glyph count, then per glyph a u16
// code and five floats u, v, du, dv and width, little-endian and packed. A code given twice keeps its first
// record.
//
// The batch holds 1024 quads of four vertices; quad k is drawn by the indices 4k, 4k+1, 4k+2, 4k+2, 4k+1, 4k+3,
// written once. Printing writes the quads of the frame from quad 0 on and sets the used index count; the font
// manager's end of frame unlocks the vertices so that the renderer draws them.
#include "GUIFont.h"

#include "engine/foundation/ByteOrder.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/StringUtils.h"
#include "engine/render/IndexBuffer.h"
#include "engine/render/VertexBuffer.h"
#include "platform/win32/Text.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace KeystrelEngine {

namespace {

constexpr char kMagic[] = "KEFNT";
constexpr std::uint32_t kRecordSize = 22;
constexpr std::uint32_t kVerticesPerQuad = 4;
constexpr std::uint32_t kIndicesPerQuad = 6;
constexpr std::uint32_t kTextureOffset = 28; // u and v after position, normal and colour
constexpr char16_t kLineFeed = 10;
constexpr char16_t kEllipsis = 0x2026;

bool IsHighSurrogate(char16_t code)
{
    return code >= 0xD800 && code <= 0xDBFF;
}

float LoadFloat(const std::uint8_t* bytes)
{
    return std::bit_cast<float>(LoadLE32(bytes));
}

template <typename Index> void WriteQuadIndices(std::uint8_t* memory)
{
    auto* indices = reinterpret_cast<Index*>(memory);
    for (std::uint32_t k = 0; k < GUIFont::kMaxQuads; ++k) {
        const std::uint32_t first = kVerticesPerQuad * k;
        const std::uint32_t quad[kIndicesPerQuad] = {first, first + 1, first + 2, first + 2, first + 1, first + 3};
        for (std::uint32_t i = 0; i < kIndicesPerQuad; ++i)
            indices[kIndicesPerQuad * k + i] = static_cast<Index>(quad[i]);
    }
}

void WriteVertex(std::uint8_t* vertex, float x, float y, std::uint32_t colour, float u, float v)
{
    const float position[3] = {x, y, 0.0f};
    std::memcpy(vertex, position, sizeof(position));
    std::memcpy(vertex + VertexBuffer::kColourOffset, &colour, sizeof(colour));
    const float uv[2] = {u, v};
    std::memcpy(vertex + kTextureOffset, uv, sizeof(uv));
}

void Include(TextBounds& bounds, float x, float y)
{
    bounds.minX = std::min(bounds.minX, x);
    bounds.minY = std::min(bounds.minY, y);
    bounds.maxX = std::max(bounds.maxX, x);
    bounds.maxY = std::max(bounds.maxY, y);
}

bool MakesNoQuad(char16_t code)
{
    return code == kLineFeed || IsSpaceW(code);
}

} // namespace

GUIFont::GUIFont(MessageManager* log, FileManager* files, ModelManager* models, ShaderManager* shaders, Camera* camera,
                 const std::string& fileName, const ShaderDescriptor& descriptor)
    : m_log(log), m_files(files), m_models(models), m_shaders(shaders),
      m_batch(models->CreateSelfMadeModel(kBatchFlags, kMaxQuads * kVerticesPerQuad, kMaxQuads * kIndicesPerQuad,
                                          &descriptor, camera),
              RegisteredModelRelease{models})
{
    SetDepth(kBatchDepth);
    m_batch->GetIndexBuffer()->SetUsedIndexCount(0);
    FillIndices();
    ReadFile(fileName);
}

GUIFont::GUIFont(const GUIFont& source)
    : m_size(source.m_size), m_spaceFactor(source.m_spaceFactor), m_spacingFactor(source.m_spacingFactor),
      m_fixedWidth(source.m_fixedWidth), m_log(source.m_log), m_files(source.m_files), m_models(source.m_models),
      m_shaders(source.m_shaders), m_source(&source), m_glyphs(source.m_glyphs),
      m_batch(m_models->CloneModel(*source.m_batch, source.m_batch->m_camera, Model::kShown),
              RegisteredModelRelease{m_models}),
      m_widestGlyph(source.m_widestGlyph)
{
    m_batch->GetIndexBuffer()->SetUsedIndexCount(0);
    SetDepth(kBatchDepth);
}

GUIFont::~GUIFont() = default;

void GUIFont::FillIndices()
{
    IndexBuffer& indices = *m_batch->GetIndexBuffer();
    std::uint8_t* memory = indices.Lock(0, indices.GetIndexCount());
    if (indices.Has32BitIndices())
        WriteQuadIndices<std::uint32_t>(memory);
    else
        WriteQuadIndices<std::uint16_t>(memory);
    indices.Unlock();
}

// Every glyph's texture rectangle lies within the texture, and it advances by a width above 0 that the pen can
// bear, or the font is refused; the widest width is that of the glyphs kept.
void GUIFont::ReadFile(const std::string& fileName)
{
    const std::unique_ptr<FileBinary> file = m_files->OpenBinary(MakeDataPath(fileName), false);
    FileValues values(fileName);
    values.CheckHeader(*file, kMagic, kFileVersion);
    const std::uint32_t count = file->ReadU32();
    std::uint8_t record[kRecordSize];
    for (std::uint32_t i = 0; i < count; ++i) {
        file->Read(kRecordSize, record);
        const std::string name = "glyph " + FormatUnsigned(i + 1);
        const std::string rectangleName = name + "'s rectangle";
        GUIGlyph glyph;
        float* const rectangle[] = {&glyph.u, &glyph.v, &glyph.du, &glyph.dv};
        for (std::uint32_t k = 0; k < 4; ++k)
            *rectangle[k] = values.Require(LoadFloat(record + 2 + 4 * k), FileValues::kTexture, rectangleName);
        for (const float edge : {glyph.u + glyph.du, glyph.v + glyph.dv})
            values.Require(edge, FileValues::kTexture, rectangleName + "'s far edge");
        glyph.width = values.Require(LoadFloat(record + 18), FileValues::kScale, name + "'s width");
        if (m_glyphs.emplace(static_cast<char16_t>(LoadLE16(record)), glyph).second)
            m_widestGlyph = std::max(m_widestGlyph, glyph.width);
    }
    values.CheckEnd(*file);
    values.WarnOfNote(*m_log);
}

// Lower case as the language's locale has it: the letters of the code pages the game's languages use.
void GUIFont::AddCaseVariants()
{
    std::vector<std::pair<char16_t, GUIGlyph>> variants;
    for (const auto& [code, glyph] : m_glyphs) {
        WCHAR lower = code;
        CharLowerBuffW(&lower, 1);
        if (lower != code && !m_glyphs.contains(lower))
            variants.emplace_back(lower, glyph);
    }
    m_glyphs.insert(variants.begin(), variants.end());
}

// Calls visit(code, glyph or null, distance, cell) for every character, the distance along the text being where
// its cell starts: a glyph's cell is its advance (with fixed width, the widest advance, the glyph centred in
// it); a character without a glyph has an empty cell and moves the pen by its advance alone. Returns the
// distance the pen has moved at the end.
template <typename Visit> float GUIFont::WalkPen(std::u16string_view text, float size, Visit visit) const
{
    const float fixedCell = size * m_widestGlyph * m_spacingFactor;
    float distance = 0.0f;
    for (const char16_t code : text) {
        const auto found = m_glyphs.find(code);
        if (found == m_glyphs.end()) {
            visit(code, nullptr, distance, 0.0f);
            distance += m_fixedWidth ? fixedCell : size * m_spaceFactor;
            continue;
        }
        const float advance = size * found->second.width * m_spacingFactor;
        const float cell = m_fixedWidth ? fixedCell : advance;
        visit(code, &found->second, distance, cell);
        distance += cell;
    }
    return distance;
}

void GUIFont::Print(float x, float y, float angle, const Color& colour, std::u16string_view text)
{
    if (m_source) {
        m_size = m_source->m_size;
        m_spaceFactor = m_source->m_spaceFactor;
        m_spacingFactor = m_source->m_spacingFactor;
    }
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const std::uint32_t argb = VertexBuffer::ColorToDword(colour);
    WalkPen(text, m_size, [&](char16_t code, const GUIGlyph* glyph, float distance, float cell) {
        if (!glyph || MakesNoQuad(code) || m_quadCount >= kMaxQuads)
            return;
        // The glyph is centred in its cell; in proportional mode the cell is the glyph's own advance.
        const float along = distance + (cell - m_size * glyph->width * m_spacingFactor) * 0.5f;
        AddQuad(x + along * c, y + along * s, c, s, *glyph, argb);
    });
}

// Corners in the text's own axes (along it, across it): (0, size), (0, 0), (size x width, size),
// (size x width, 0), turned by the angle and moved to the pen.
void GUIFont::AddQuad(float x, float y, float c, float s, const GUIGlyph& glyph, std::uint32_t colour)
{
    VertexBuffer& buffer = *m_batch->GetVertexBuffer();
    if (!m_vertices)
        m_vertices = buffer.Lock(0, buffer.GetVertexCount());
    const float w = m_size * glyph.width;
    const float h = m_size;
    const std::uint32_t stride = buffer.GetVertexSize();
    std::uint8_t* vertex = m_vertices + static_cast<std::size_t>(m_quadCount) * kVerticesPerQuad * stride;
    WriteVertex(vertex, x - h * s, y + h * c, colour, glyph.u, glyph.v + glyph.dv);
    WriteVertex(vertex + stride, x, y, colour, glyph.u, glyph.v);
    WriteVertex(vertex + 2 * stride, x + w * c - h * s, y + w * s + h * c, colour, glyph.u + glyph.du,
                glyph.v + glyph.dv);
    WriteVertex(vertex + 3 * stride, x + w * c, y + w * s, colour, glyph.u + glyph.du, glyph.v);
    ++m_quadCount;
    m_batch->GetIndexBuffer()->SetUsedIndexCount(m_quadCount * kIndicesPerQuad);
}

// A character with a glyph covers its whole cell, as high as the size the text is measured at, so that
// fixed-width text measures a cell per character; a character without a quad adds the pen's point.
TextBounds GUIFont::MeasureText(std::u16string_view text, float angle, float size) const
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float height = size < 0.0f ? m_size : size;
    TextBounds bounds;
    WalkPen(text, height, [&](char16_t code, const GUIGlyph* glyph, float distance, float cell) {
        const auto add = [&](float along, float across) {
            Include(bounds, along * c - across * s, along * s + across * c);
        };
        if (!glyph || MakesNoQuad(code)) {
            add(distance, 0.0f);
            return;
        }
        add(distance, 0.0f);
        add(distance, height);
        add(distance + cell, 0.0f);
        add(distance + cell, height);
    });
    return bounds;
}

float GUIFont::PrintedWidth(std::u16string_view text) const
{
    const TextBounds bounds = MeasureText(text, 0.0f, -1.0f);
    return std::max(bounds.maxX - bounds.minX, 0.0f);
}

float GUIFont::PenAdvance(std::u16string_view text) const
{
    return WalkPen(text, m_size, [](char16_t, const GUIGlyph*, float, float) {});
}

// A longer start never prints narrower, so the longest start that fits is found by halving the lengths between
// one that fits and one that does not. A start never ends inside a surrogate pair.
std::u16string GUIFont::FitText(std::u16string_view text, float width) const
{
    if (PrintedWidth(text) <= width)
        return std::u16string(text);
    const std::u16string_view ellipsis = HasGlyph(kEllipsis) ? std::u16string_view(&kEllipsis, 1) : u"...";
    std::u16string fitted;
    const auto fits = [&](std::size_t length) {
        std::u16string_view start = text.substr(0, length);
        while (!start.empty() && (IsSpaceW(start.back()) || IsHighSurrogate(start.back())))
            start.remove_suffix(1);
        fitted.assign(start);
        fitted.append(ellipsis);
        return PrintedWidth(fitted) <= width;
    };
    if (!fits(0))
        return {};
    std::size_t fitting = 0;
    std::size_t tooWide = text.size();
    while (tooWide - fitting > 1) {
        const std::size_t middle = (fitting + tooWide) / 2;
        (fits(middle) ? fitting : tooWide) = middle;
    }
    fits(fitting);
    return fitted;
}

void GUIFont::EndFrame()
{
    if (m_quadCount == 0)
        m_batch->GetIndexBuffer()->SetUsedIndexCount(0);
    m_quadCount = 0;
    if (m_vertices) {
        m_batch->GetVertexBuffer()->Unlock();
        m_vertices = nullptr;
    }
}

} // namespace KeystrelEngine
