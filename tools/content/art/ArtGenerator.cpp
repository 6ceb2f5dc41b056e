#include "tools/content/art/ArtGenerator.h"

namespace Content {

std::vector<ManifestEntry> ArtGenerator::Files() const
{
    ArtList list;
    List(list);
    return list.Entries();
}

void ArtGenerator::Write(DataFolder& folder) const
{
    ArtList list;
    List(list);
    list.WriteAll(folder);
}

} // namespace Content
