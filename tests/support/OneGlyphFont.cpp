#include "tests/support/OneGlyphFont.h"

namespace TestSupport {

Bytes OneGlyphFont()
{
    return {
        39,   0,    0,    0,         // total length
        'K',  'E',  'F',  'N',  'T', // magic
        201,  0,    0,    0,         // version
        1,    0,    0,    0,         // glyph count
        0x41, 0x00,                  // code 'A'
        0x00, 0x00, 0x00, 0x00,      // u 0.0
        0x00, 0x00, 0x00, 0x3F,      // v 0.5
        0x00, 0x00, 0x80, 0x3E,      // du 0.25
        0x00, 0x00, 0x00, 0x3F,      // dv 0.5
        0x00, 0x00, 0x40, 0x3F,      // width 0.75
    };
}

} // namespace TestSupport
