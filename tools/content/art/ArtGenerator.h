// A generator whose files are an ArtList: List names every file with its maker once, and the generator takes
// its manifest and its writing from that one list.
#pragma once

#include "tools/content/Generator.h"
#include "tools/content/art/ArtList.h"

namespace Content {

class ArtGenerator : public Generator
{
public:
    std::vector<ManifestEntry> Files() const final;
    void Write(DataFolder& folder) const final;

protected:
    virtual void List(ArtList& list) const = 0;
};

} // namespace Content
