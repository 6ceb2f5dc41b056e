// A font file of one glyph written out byte by byte, independently of the font writer, so that a fault the
// writer and the reader share cannot hide: 'A' at u 0, v 0.5, du 0.25, dv 0.5, with the width 0.75.
#pragma once

#include "tests/support/TestEnvironment.h"

namespace TestSupport {

Bytes OneGlyphFont();

} // namespace TestSupport
