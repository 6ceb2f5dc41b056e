#include "framework/ReadRegistryString.h"

#include "tests/support/TestEnvironment.h"

#include <cstdlib>
#include <gtest/gtest.h>

using GameTools::ReadRegistryString;

namespace {

const std::string kKey = "SOFTWARE\\Tarrowby Games\\Quellhaven";

// The hives where the installer and the game leave them: beside the program and in the user's configuration.
TEST(ReadRegistryString, RootNumbersChooseTheHive)
{
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/registry.ini", "[" + kKey + "]\nPath=machine\n");
    TestSupport::WriteFile(std::string(std::getenv("XDG_CONFIG_HOME")) + "/keystrel/registry.ini",
                           "[software\\tarrowby games\\quellhaven]\nPATH=user\n");
    const struct
    {
        int root;
        const char* expected; // null: not found
    } cases[] = {{0, nullptr}, {1, nullptr}, {2, "user"}, {3, "machine"}, {4, nullptr}, {7, "user"}, {-1, "user"}};
    for (const auto& c : cases) {
        std::string result = "unchanged";
        EXPECT_EQ(ReadRegistryString(c.root, kKey, "path", result), c.expected != nullptr) << c.root;
        EXPECT_EQ(result, c.expected ? c.expected : "unchanged") << c.root;
    }
}

TEST(ReadRegistryString, OnlyStringsThatFitAreRead)
{
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/registry.ini",
                           "[" + kKey + "]\nCount=dword:0000000a\nLongest=" + std::string(4095, 'a') +
                               "\nTooLong=" + std::string(4096, 'b') + "\n");
    for (const auto& [key, value] : {std::pair{kKey, "Count"},
                                     {kKey, "Missing"},
                                     {kKey, "TooLong"},
                                     {kKey + "\\Deeper", "Longest"},
                                     {std::string("SOFTWARE\\Other"), "Longest"}}) {
        std::string result = "unchanged";
        EXPECT_FALSE(ReadRegistryString(3, key, value, result)) << key << " " << value;
        EXPECT_EQ(result, "unchanged");
    }
    std::string result;
    EXPECT_TRUE(ReadRegistryString(3, kKey, "Longest", result));
    EXPECT_EQ(result, std::string(4095, 'a'));
}

} // namespace
