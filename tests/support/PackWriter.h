// Builds pack files byte by byte for tests: header, entry count, counted names, offset/size pairs, contents.
#pragma once

#include "tools/formats/ByteWriter.h"
#include "tests/support/TestEnvironment.h"

#include <string>
#include <utility>
#include <vector>

namespace TestSupport {

struct PackEntry
{
    std::string name;
    Bytes contents;
};

Bytes BuildPack(const std::vector<PackEntry>& entries, std::uint32_t version = 100);

} // namespace TestSupport
