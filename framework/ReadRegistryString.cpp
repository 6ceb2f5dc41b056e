#include "ReadRegistryString.h"

#include "platform/win32/Registry.h"

#include <algorithm>
#include <array>

namespace GameTools {
namespace {

HKEY RootKey(int root)
{
    switch (root) {
    case 0:
        return HKEY_CLASSES_ROOT;
    case 1:
        return HKEY_CURRENT_CONFIG;
    case 3:
        return HKEY_LOCAL_MACHINE;
    case 4:
        return HKEY_USERS;
    default:
        return HKEY_CURRENT_USER;
    }
}

} // namespace

bool ReadRegistryString(int root, const std::string& keyPath, const std::string& valueName, std::string& result)
{
    HKEY key = nullptr;
    if (RegOpenKeyA(RootKey(root), keyPath.c_str(), &key) != ERROR_SUCCESS)
        return false;
    std::array<BYTE, 4096> buffer{};
    DWORD size = buffer.size();
    DWORD type = 0;
    const bool read = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, buffer.data(), &size) == ERROR_SUCCESS &&
                      type == REG_SZ;
    RegCloseKey(key);
    if (!read)
        return false;
    // A value stored without its terminating zero ends with the bytes the registry returned.
    const auto end = buffer.begin() + std::min<std::size_t>(size, buffer.size());
    result.assign(buffer.begin(), std::find(buffer.begin(), end, BYTE{0}));
    return true;
}

} // namespace GameTools
