#include "tools/formats/FontFileWriter.h"

namespace Formats {

Bytes BuildFontFile(const std::vector<FontGlyph>& glyphs, std::uint32_t version)
{
    Bytes bytes;
    PutLE32(bytes, 0); // the length, set once known
    bytes.insert(bytes.end(), {'K', 'E', 'F', 'N', 'T'});
    PutLE32(bytes, version);
    PutLE32(bytes, static_cast<std::uint32_t>(glyphs.size()));
    for (const FontGlyph& glyph : glyphs) {
        PutLE16(bytes, glyph.code);
        PutF32(bytes, glyph.u);
        PutF32(bytes, glyph.v);
        PutF32(bytes, glyph.du);
        PutF32(bytes, glyph.dv);
        PutF32(bytes, glyph.width);
    }
    SetLE32(bytes, 0, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

} // namespace Formats
