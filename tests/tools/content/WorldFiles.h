// A reader of the level catalogue and board files of the tests' own, independent of the writer's structures:
// the catalogue's level lists and the board files' bytes as the game's loaders will read them.
#pragma once

#include "engine/render/Camera.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace WorldTesting {

struct CellRecord
{
    std::uint32_t kind;
    std::uint8_t closed;
    std::uint8_t blocked;
    std::uint32_t x;
    std::uint32_t y;
    float floats[13]; // position 3, rotation 4, offset 3, last 3
};

struct Board
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<CellRecord> cells;

    float X(const CellRecord& cell) const { return cell.floats[0] + cell.floats[7]; }
    float Y(const CellRecord& cell) const { return cell.floats[1] + cell.floats[8]; }
};

struct Level
{
    std::string board;
    int colours;
    std::string environment;
    float factor;
};

inline std::string DataPath(const std::string& name)
{
    std::string path = TestSupport::BaseFolder() + "/Data/" + name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// The file's lines without their line ends.
inline std::vector<std::string> TextLines(const std::string& name)
{
    std::ifstream in(DataPath(name), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

template <typename T> T Take(const TestSupport::Bytes& bytes, std::size_t& at)
{
    T value;
    EXPECT_LE(at + sizeof(T), bytes.size());
    std::memcpy(&value, bytes.data() + at, sizeof(T));
    at += sizeof(T);
    return value;
}

inline Board ReadBoard(const std::string& name)
{
    const TestSupport::Bytes bytes = TestSupport::ReadFile(DataPath(name));
    std::size_t at = 0;
    EXPECT_EQ(Take<std::uint32_t>(bytes, at), bytes.size());
    EXPECT_EQ(std::string(bytes.begin() + 4, bytes.begin() + 9), "VXBLF");
    at = 9;
    EXPECT_EQ(Take<std::uint32_t>(bytes, at), 103u);
    Board board;
    board.width = Take<std::uint32_t>(bytes, at);
    board.height = Take<std::uint32_t>(bytes, at);
    const auto count = Take<std::uint32_t>(bytes, at);
    EXPECT_EQ(bytes.size(), 25u + 66u * count);
    for (std::uint32_t i = 0; i < count && at + 66 <= bytes.size(); ++i) {
        CellRecord cell;
        cell.kind = Take<std::uint32_t>(bytes, at);
        cell.closed = Take<std::uint8_t>(bytes, at);
        cell.blocked = Take<std::uint8_t>(bytes, at);
        cell.x = Take<std::uint32_t>(bytes, at);
        cell.y = Take<std::uint32_t>(bytes, at);
        for (float& value : cell.floats)
            value = Take<float>(bytes, at);
        board.cells.push_back(cell);
    }
    return board;
}

// The catalogue as the level lists give it: per stage its levels.
inline std::vector<std::vector<Level>> ReadCatalogue()
{
    const std::vector<std::string> info = TextLines("levels\\stages_info.ini");
    std::vector<std::vector<Level>> stages(info.empty() ? 0 : std::stoul(info[0]));
    for (std::size_t s = 0; s < stages.size(); ++s) {
        const std::vector<std::string> lines = TextLines("levels\\stage" + std::to_string(s) + ".ini");
        const std::size_t count = std::stoul(lines.at(0));
        EXPECT_EQ(lines.size(), 1 + 4 * count);
        for (std::size_t l = 0; l < count; ++l) {
            const std::size_t at = 1 + 4 * l;
            stages[s].push_back(
                {lines.at(at), std::stoi(lines.at(at + 1)), lines.at(at + 2), std::stof(lines.at(at + 3))});
        }
    }
    return stages;
}

// One model of an environment's list with its three flags.
struct SceneryEntry
{
    std::string model;
    bool lit;
    bool sorted;
    bool randomPhase;
};

inline std::vector<SceneryEntry> ReadEnvironment(const std::string& environment)
{
    const std::vector<std::string> lines = TextLines("environments\\" + environment + "\\environment.ini");
    std::vector<SceneryEntry> entries;
    const std::size_t count = lines.empty() ? 0 : std::stoul(lines[0]);
    EXPECT_EQ(lines.size(), 1 + 4 * count);
    for (std::size_t i = 0; i < count && 4 + 4 * i < lines.size(); ++i) {
        const std::size_t at = 1 + 4 * i;
        entries.push_back(
            {lines[at], std::stoi(lines[at + 1]) != 0, std::stoi(lines[at + 2]) != 0, std::stoi(lines[at + 3]) != 0});
    }
    return entries;
}

// The five values of a board's camera file.
inline std::vector<float> ReadCameraValues(const std::string& board)
{
    std::vector<float> values;
    for (const std::string& line : TextLines("boards\\" + board + "_camera.ini"))
        values.push_back(std::stof(line));
    return values;
}

// Places the camera as the level camera does for the view value v (0 top, 1 oblique), looking at the board's
// centre (the origin): the eye above and beside it, turned down by the dot product of the view direction and its
// ground direction, then a quarter turn about z. Returns the shift the scene slides along x.
inline float PlaceLevelCamera(KeystrelEngine::Camera& camera, const std::vector<float>& values, float v)
{
    using KeystrelEngine::Vector3;
    const Vector3 eye{values[4] * v, 0.0f, (1.0f - v) * values[0] + v * values[2]};
    const Vector3 view = (Vector3{} - eye).Normalized();
    Vector3 ground{view.x, view.y, 0.0f};
    if (ground.Length() > 1e-4f)
        ground = ground.Normalized();
    KeystrelEngine::Quaternion orientation;
    orientation.RotateX(ground.x * view.x + ground.y * view.y + ground.z * view.z);
    orientation.RotateZ(1.5707964f);
    orientation.Normalize();
    camera.m_position = eye;
    camera.m_orientation = orientation;
    return (1.0f - v) * values[1] + v * values[3];
}

} // namespace WorldTesting
