// One bitmap font: glyph rectangles in one texture by UTF-16 code, read from a "KEFNT" file, and a batch model
// into which every glyph printed in the frame is written as one textured, coloured quad (at most 1024 a frame).
// The font manager loads fonts and makes copies of them, instances, one per GUI depth; windows print through the
// instances, and the font manager ends every batch once a frame.
//
// Sizes are in GUI units: a glyph is `size` high and size x its width wide; the pen advances along the text's
// direction, in proportional mode by each glyph's width, in fixed-width mode by the widest glyph's, the glyph
// centred in its cell.
#pragma once

#include "RegisteredModel.h"
#include "engine/render/Color.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace KeystrelEngine {

class Camera;
class FileBinary;
class FileManager;
class MessageManager;
class ShaderDescriptor;
class ShaderManager;

// Where a glyph lies in the texture and how far it advances the pen (relative to the font size).
struct GUIGlyph
{
    float u = 0.0f;
    float v = 0.0f;
    float du = 0.0f;
    float dv = 0.0f;
    float width = 0.0f;
};

// The extent of a text: an empty text gives minimum 10000 and maximum -10000 in both axes.
struct TextBounds
{
    float minX = 10000.0f;
    float minY = 10000.0f;
    float maxX = -10000.0f;
    float maxY = -10000.0f;
};

class GUIFont
{
public:
    static constexpr std::uint32_t kFileVersion = 201;
    static constexpr std::uint32_t kMaxQuads = 1024;
    // The batch model: static coloured vertices in a triangle list, drawn last at a fixed depth, shown, its box
    // recomputed from the indices in use.
    static constexpr std::uint32_t kBatchFlags = 0x248C29;
    static constexpr float kBatchDepth = -9.0f;

    // Reads the font file below the data folder. A wrong magic or length, a wrong version or a file that ends
    // inside the records raises FileError.
    GUIFont(MessageManager* log, FileManager* files, ModelManager* models, ShaderManager* shaders, Camera* camera,
            const std::string& fileName, const ShaderDescriptor& descriptor);
    // An instance: the source's glyphs and settings, and a batch model of its own cloned from the source's.
    explicit GUIFont(const GUIFont& source);
    virtual ~GUIFont();

    GUIFont& operator=(const GUIFont&) = delete;

    bool HasGlyph(char16_t code) const { return m_glyphs.contains(code); }
    // Gives every lower-case letter without a glyph the glyph of its upper-case letter.
    void AddCaseVariants();
    // Appends the text's glyphs to this frame's batch, the pen starting at (x, y); white space, line feeds and
    // codes without a glyph move the pen without a quad. Glyphs beyond the frame's 1024th are dropped.
    void Print(float x, float y, float angle, const Color& colour, std::u16string_view text);
    // The extent the text would cover at the pen start (0, 0), with the given size (negative: the font's own),
    // which scales both the advance and the glyph height.
    TextBounds MeasureText(std::u16string_view text, float angle, float size) const;
    // The width the text covers along the x axis at the font's own size; 0 for a text that covers nothing.
    float PrintedWidth(std::u16string_view text) const;
    // How far the pen moves over the text at the font's own size: unlike the printed width, trailing white space
    // counts.
    float PenAdvance(std::u16string_view text) const;
    // The text as it prints no wider than the width at the font's own size: whole when it fits; else its longest
    // start that fits with an ellipsis after it ("\u2026", or "..." in a font without that glyph), white space
    // before the ellipsis left out; the ellipsis alone when no character fits beside it; nothing when not even
    // the ellipsis fits.
    std::u16string FitText(std::u16string_view text, float width) const;
    // Ends the frame's batch: a batch that drew nothing draws nothing, the quad count starts again and the
    // vertices are unlocked for the renderer.
    void EndFrame();

    const std::map<char16_t, GUIGlyph>& GetGlyphs() const { return m_glyphs; }
    const GUIFont* GetSource() const { return m_source; }
    Model* GetBatchModel() const { return m_batch.get(); }
    float GetWidestGlyph() const { return m_widestGlyph; }
    std::uint32_t GetQuadCount() const { return m_quadCount; }
    float GetDepth() const { return m_batch->GetSortDepth(); }
    void SetDepth(float depth) { m_batch->SetSortDepth(depth); }

    // Set by the font list loader right after loading; instances take them from their source when printing.
    float m_size = 1.0f;
    float m_spaceFactor = 1.0f;   // advance of a character without a glyph, times the size
    float m_spacingFactor = 1.0f; // multiplies every glyph advance
    bool m_fixedWidth = false;

private:
    void ReadFile(const std::string& fileName);
    void FillIndices();
    template <typename Visit> float WalkPen(std::u16string_view text, float size, Visit visit) const;
    void AddQuad(float x, float y, float c, float s, const GUIGlyph& glyph, std::uint32_t colour);

    MessageManager* m_log;
    FileManager* m_files;
    ModelManager* m_models;
    ShaderManager* m_shaders;
    const GUIFont* m_source = nullptr;
    std::map<char16_t, GUIGlyph> m_glyphs;
    RegisteredModel m_batch;
    std::uint8_t* m_vertices = nullptr; // the locked vertex memory; null while unlocked
    float m_widestGlyph = 0.0f;
    std::uint32_t m_quadCount = 0;
};

} // namespace KeystrelEngine
