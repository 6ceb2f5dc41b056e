// The player's files: a profile ("WSPRF" 102) and the profile list "profiles.pmf" ("ZRPMF" 100).
#pragma once

#include "tools/formats/GameFileWriter.h"

#include <string>
#include <vector>

namespace Formats {

struct ProfileResult
{
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    float value = 0.0f;
};

struct ProfileFile
{
    std::u16string name;
    std::uint32_t carriedValue = 3;
    std::uint32_t score = 0;
    std::uint32_t currentStage = 0;
    std::uint32_t currentLevel = 0;
    std::uint32_t bestStage = 0;
    std::uint32_t bestLevel = 0;
    std::uint8_t finished = 0;
    std::vector<ProfileResult> results;
    std::uint8_t continueFlag = 0;
    float musicVolume = 1.0f;
    float soundVolume = 1.0f;
    Bytes extra; // a derived profile's fields after the volumes
    std::uint32_t version = 102;
};

struct ProfileListEntry
{
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    std::u16string text;
    std::uint32_t third = 0;
};

struct ProfileListFile
{
    std::u16string current; // empty without a current profile
    std::vector<ProfileListEntry> entries;
};

inline Bytes BuildProfileFile(const ProfileFile& file)
{
    Bytes body;
    PutWString(body, file.name);
    for (const std::uint32_t value :
         {file.carriedValue, file.score, file.currentStage, file.currentLevel, file.bestStage, file.bestLevel})
        PutLE32(body, value);
    body.push_back(file.finished);
    PutLE32(body, static_cast<std::uint32_t>(file.results.size()));
    for (const ProfileResult& result : file.results) {
        PutLE32(body, result.first);
        PutLE32(body, result.second);
        PutF32(body, result.value);
    }
    body.push_back(file.continueFlag);
    PutF32(body, file.musicVolume);
    PutF32(body, file.soundVolume);
    Append(body, file.extra);
    return GameFile("WSPRF", file.version, body);
}

inline Bytes BuildProfileListFile(const ProfileListFile& file)
{
    Bytes body;
    PutWString(body, file.current);
    PutLE32(body, static_cast<std::uint32_t>(file.entries.size()));
    for (const ProfileListEntry& entry : file.entries) {
        PutLE32(body, entry.first);
        PutLE32(body, entry.second);
        PutWString(body, entry.text);
        PutLE32(body, entry.third);
    }
    return GameFile("ZRPMF", 100, body);
}

} // namespace Formats
