// The one rule every loader applies to what its file gives: a float is finite and within the range its use can
// bear, a number in a text file is the whole of its token, a count is no more than the records that follow it,
// and a file ends with its last record. A loader of the game's data refuses a file that breaks the rule (FileError
// naming the file, which the game reports as for any other damaged data). A loader of the player's own files puts
// a fallback in place of a value it cannot use, and reports what it mended in one warning line. Bytes or values
// left after the last record are not a reason to refuse: they get that one line too.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace KeystrelEngine {

class FileBinary;
class FileTextual;
class MessageManager;

// A closed range; NaN lies in none.
struct ValueRange
{
    float lowest;
    float highest;

    bool Holds(float value) const { return value >= lowest && value <= highest; }
};

class FileValues
{
public:
    // Positions and distances: the world reaches this far from its origin, five times the level camera's far
    // plane, so that sums and products of a few of them stay far from the float limits.
    static constexpr float kWorldExtent = 10000.0f;
    static constexpr ValueRange kWorld{-kWorldExtent, kWorldExtent};
    // Sizes, factors and widths: above 0 (the engine's tolerance) and at most what a line of a thousand glyphs,
    // or a level's energy budget, can be multiplied by.
    static constexpr ValueRange kScale{0.0001f, 1000.0f};
    // Volumes and the camera's blend.
    static constexpr ValueRange kUnit{0.0f, 1.0f};
    // Values without a range of their own (texture coordinates, tallies kept as floats): within a million either
    // way, so that sums of as many as a file can hold stay finite.
    static constexpr ValueRange kBounded{-1.0e6f, 1.0e6f};
    // Any finite float.
    static constexpr ValueRange kFinite{std::numeric_limits<float>::lowest(), std::numeric_limits<float>::max()};

    // path: the file's name as the messages give it.
    explicit FileValues(std::string path);

    // The whole text is one decimal number that a float (an int32) holds; false for anything else, "nan" and
    // "inf" included.
    static bool ParseFloat(std::string_view text, float& value);
    static bool ParseInt(std::string_view text, std::int32_t& value);

    // Data files: throws FileError "Incorrect "<path>" file format", with ": <reason>" when one is given.
    [[noreturn]] void Refuse() const;
    [[noreturn]] void Refuse(const std::string& reason) const;
    // The value when the range holds it; else refused ("<what> is <value>, outside <lowest> to <highest>").
    float Require(float value, ValueRange range, std::string_view what) const;
    float RequireFloat(std::string_view text, ValueRange range, std::string_view what) const;
    std::int32_t RequireInt(std::string_view text, std::int32_t lowest, std::int32_t highest,
                            std::string_view what) const;
    // The next blank-separated value of a text file, as above; a file that has ended is refused.
    float NextFloat(FileTextual& file, ValueRange range, std::string_view what) const;
    std::int32_t NextInt(FileTextual& file, std::int32_t lowest, std::int32_t highest, std::string_view what) const;
    // The next non-empty line of a text file; a file that has ended is refused.
    std::string NextLine(FileTextual& file, std::string_view what) const;

    // Player's files: the value when the range holds it; else the fallback, and the replacement is noted.
    float Mend(float value, ValueRange range, float fallback, std::string_view what);

    // Notes the bytes, or the values, that follow the last record read.
    void CheckEnd(const FileBinary& file);
    void CheckEnd(FileTextual& file);
    // Keeps the first note: one line tells what was wrong first.
    void Note(const std::string& text);
    bool HasNote() const { return !m_note.empty(); }
    // ""<path>": <note>", the line a warning gives.
    std::string NoteLine() const;
    // The note as one warning line; nothing without one.
    void WarnOfNote(MessageManager& log) const;

private:
    std::string Outside(float value, ValueRange range, std::string_view what) const;
    std::string Present(std::string text, std::string_view what) const;

    std::string m_path;
    std::string m_note;
};

} // namespace KeystrelEngine
