// The one rule every loader applies to what its file gives: a float is finite and within the range its use can
// bear, a number in a text file is the whole of its token, a count is no more than the records that follow it,
// and a file ends with its last record. A loader of the game's data refuses a file that breaks the rule (FileError
// naming the file, which the game reports as for any other damaged data). A loader of the player's own files puts
// a fallback in place of a value it cannot use, and reports what it mended in one warning line. Bytes or values
// left after the last record are not a reason to refuse: they get that one line too.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
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
    // Positions and distances, and the other magnitudes of the world (times, rates, speeds, directions): the world
    // reaches this far from its origin, five times the level camera's far plane, so that sums and products of a
    // few of them stay far from the float limits.
    static constexpr float kWorldExtent = 10000.0f;
    static constexpr ValueRange kWorld{-kWorldExtent, kWorldExtent};
    // Sizes, factors and widths: above 0 (the engine's tolerance) and at most what a line of a thousand glyphs,
    // or a level's energy budget, can be multiplied by.
    static constexpr ValueRange kScale{0.0001f, 1000.0f};
    // Volumes, colours, shares (the energy a bounce keeps, a skin weight) and the camera's blend.
    static constexpr ValueRange kUnit{0.0f, 1.0f};
    // Places within a texture, which spans 0 to 1 across and up: a rectangle cut from it (a font's glyph) lies
    // there, or it draws from the wrong place.
    static constexpr ValueRange kTexture{0.0f, 1.0f};
    // Values without a range of their own (texture coordinates that repeat across a surface, tallies kept as
    // floats): within a million either way, so that sums of as many as a file can hold stay finite.
    static constexpr ValueRange kBounded{-1.0e6f, 1.0e6f};
    // Any finite float.
    static constexpr ValueRange kFinite{std::numeric_limits<float>::lowest(), std::numeric_limits<float>::max()};

    // path: the file's name as the messages give it.
    explicit FileValues(std::string path);

    // The whole text is one decimal number: an optional sign, digits with an optional fraction (or a fraction
    // alone), an optional exponent, and nothing before or after it. Blanks, hexadecimal, "nan" and "inf" are
    // none. ParseFloat: a number a float holds (a finite one too large for a float is none); ParseInt: a whole
    // number, without fraction or exponent, that an int32 holds.
    static bool ParseFloat(std::string_view text, float& value);
    static bool ParseInt(std::string_view text, std::int32_t& value);

    // "Incorrect "<path>" file format", with ": <reason>" when one is given: the text of every refusal.
    std::string Refusal() const;
    std::string Refusal(const std::string& reason) const;
    // Data files: throws FileError with the refusal.
    [[noreturn]] void Refuse() const;
    [[noreturn]] void Refuse(const std::string& reason) const;
    // A file of another version of its format: "Incorrect "<path>" format version, current is <current>". The
    // game's own files name the version found as well: "format version (<found>), current is <current>".
    [[noreturn]] void RefuseVersion(std::uint32_t current) const;
    [[noreturn]] void RefuseFoundVersion(std::uint32_t found, std::uint32_t current) const;
    // The common 13-byte header of the engine's binary files: refused when the magic or the length (which must be
    // the file's size) is wrong, refused by version when the version is.
    void CheckHeader(FileBinary& file, std::string_view magic, std::uint32_t version) const;

    // The value when the range holds it; else refused ("<what> is <value>, outside <lowest> to <highest>").
    float Require(float value, ValueRange range, std::string_view what) const;
    std::int64_t Require(std::int64_t value, std::int64_t lowest, std::int64_t highest, std::string_view what) const;
    // Every value when the range holds them all; else refused as above. name() tells what they are; it is asked
    // only for a value refused, so that a loader names its records without building names for the sound ones.
    template <class Name> void RequireAll(std::span<const float> values, ValueRange range, Name&& name) const
    {
        for (const float value : values) {
            if (!range.Holds(value))
                Require(value, range, name());
        }
    }
    // A text that is no decimal number is refused as such; a number out of the range (one beyond the float's or
    // the int32's limits among them) as outside it.
    float RequireFloat(std::string_view text, ValueRange range, std::string_view what) const;
    std::int32_t RequireInt(std::string_view text, std::int32_t lowest, std::int32_t highest,
                            std::string_view what) const;
    // The next blank-separated value of a text file, as above; a file that has ended is refused.
    float NextFloat(FileTextual& file, ValueRange range, std::string_view what) const;
    // The next float of a binary file, its four bytes as stored, when the range holds it; else refused as above.
    float NextFloat(FileBinary& file, ValueRange range, std::string_view what) const;
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
    std::string VersionText(std::uint32_t current) const;
    // "<what> is <shown>, outside <lowest> to <highest>".
    static std::string Outside(std::string_view shown, std::string_view lowest, std::string_view highest,
                               std::string_view what);
    static std::string Outside(float value, ValueRange range, std::string_view what);
    std::string Present(std::string text, std::string_view what) const;

    std::string m_path;
    std::string m_note;
};

} // namespace KeystrelEngine
