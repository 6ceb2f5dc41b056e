#include "platform/win32/Registry.h"
#include "tests/support/TestEnvironment.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

// Where the hives lie and what the reader in the framework does not reach: other files, keys above and below open
// keys, odd lines, sizes.
TEST(Registry, KeysValuesAndSizes)
{
    WriteFile(BaseFolder() + "/other.ini",
              "[Software\\Maker\\Game]\r\nName = Quellhaven \r\ncount=dword:0000010a\nOdd=dword:xyz\n");
    ::setenv("KEYSTREL_REGISTRY_MACHINE", (BaseFolder() + "/other.ini").c_str(), 1);
    HKEY maker = nullptr;
    HKEY game = nullptr;
    HKEY partial = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "software\\maker", &maker), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyA(maker, "GAME", &game), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Mak", &partial), ERROR_FILE_NOT_FOUND);
    ::unsetenv("KEYSTREL_REGISTRY_MACHINE");

    BYTE data[16] = {};
    DWORD size = 4;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(game, "name", nullptr, &type, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(type, REG_SZ);
    size = sizeof(data);
    EXPECT_EQ(RegQueryValueExA(game, "name", nullptr, nullptr, data, &size), ERROR_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<const char*>(data), "Quellhaven");
    EXPECT_EQ(RegQueryValueExA(game, "Count", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::vector<BYTE>(data, data + size), (std::vector<BYTE>{0x0A, 0x01, 0, 0}));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(RegQueryValueExA(game, "Odd", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(RegQueryValueExA(game, "Missing", nullptr, &type, data, &size), ERROR_FILE_NOT_FOUND);
    for (HKEY key : {game, maker, HKEY_LOCAL_MACHINE})
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

} // namespace
