// Reads an AVI file back for the tests: every chunk is checked against its list's bounds and the index against
// the frame chunks, so a damaged or inconsistent file fails with a description of the first fault found.
#pragma once

#include "tests/support/TestEnvironment.h"

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

struct AviMovie
{
    // Main header.
    std::uint32_t microSecondsPerFrame = 0;
    std::uint32_t flags = 0;
    std::uint32_t totalFrames = 0;
    std::uint32_t streams = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Stream header.
    std::string type;
    std::string handler;
    std::uint32_t scale = 0;
    std::uint32_t rate = 0;
    std::uint32_t length = 0;
    std::uint32_t suggestedBufferSize = 0;
    // The stream format (strf) and the frame chunks in file order.
    Bytes format;
    std::vector<std::string> frameIds;
    std::vector<Bytes> frames;
    std::vector<std::uint32_t> indexFlags; // one per index entry
};

// False with a description in problem when the file is not a whole, consistent AVI file of one stream.
bool ReadAvi(const Bytes& file, AviMovie& movie, std::string& problem);

} // namespace TestSupport
