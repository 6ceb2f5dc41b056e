// Reads one string value of the registry, as the installer and the player's language choice leave them.
#pragma once

#include <string>

namespace GameTools {

// Root numbers: 0 classes root, 1 current configuration, 2 current user, 3 local machine, 4 users; any other
// number is the current user. True, and the result set, when the value exists as a string of at most 4095
// characters; otherwise the result is left as it was.
bool ReadRegistryString(int root, const std::string& keyPath, const std::string& valueName, std::string& result);

} // namespace GameTools
