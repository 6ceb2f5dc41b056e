// A reader of the level map file ("ui\\menus\\map\\map.gmf") of the tests' own: the records as the map window
// reads them, numbered by group and index as it numbers them (a check point, kind 2, starts a new group).
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace MenuTesting {

struct MapRecord
{
    std::uint32_t kind;
    float matrix[16];
    std::uint32_t group;
    std::uint32_t index;
};

inline std::uint32_t MapU32(const std::vector<char>& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

inline std::vector<MapRecord> ReadMap(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_GE(bytes.size(), 17u);
    if (bytes.size() < 17)
        return {};
    EXPECT_EQ(MapU32(bytes, 0), bytes.size());
    EXPECT_EQ(std::string(bytes.data() + 4, 5), "VXGMF");
    EXPECT_EQ(MapU32(bytes, 9), 100u);
    const std::uint32_t count = MapU32(bytes, 13);
    EXPECT_EQ(bytes.size(), 17u + 68u * count);
    std::vector<MapRecord> records;
    std::uint32_t group = 0, index = 0;
    for (std::uint32_t i = 0; i < count && 17u + 68u * (i + 1) <= bytes.size(); ++i) {
        MapRecord record{MapU32(bytes, 17 + 68 * i), {}, 0, 0};
        std::memcpy(record.matrix, bytes.data() + 21 + 68 * i, 64);
        if (record.kind == 2) {
            ++group;
            index = 0;
        }
        record.group = group;
        record.index = index++;
        records.push_back(record);
    }
    return records;
}

} // namespace MenuTesting
