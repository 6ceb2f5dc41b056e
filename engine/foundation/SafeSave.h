// How a player's file is replaced on disk. The new contents go to a temporary file of a name no other file has,
// in the target's own folder: "<file>.<process>-<count>.tmp", created exclusively, so it never shares a file with
// another writer and never writes through a link planted under its name. The temporary is flushed and synced, then
// renamed over the target in one step. Until that rename the target is as it was; after it the target is whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {

// Puts bytes in place of the disk file path (its folder must exist). On any failure the temporary is removed, the
// target is left as it was and FileError says "Failed to save "<path>" file: <the system's reason>".
void ReplaceFileContents(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Removes the temporaries that saves left in folder when the program ended during them (every "*.tmp" file there;
// folders and what links point to are left alone).
void RemoveStrayTemporaries(const std::string& folder);

} // namespace KeystrelEngine
