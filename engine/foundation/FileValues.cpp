#include "FileValues.h"

#include "Error.h"
#include "FileBinary.h"
#include "FileTextual.h"
#include "MessageManager.h"
#include "StringUtils.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace KeystrelEngine {
namespace {

// Seven significant digits: 10000, 0.0001, 3e+38, nan.
std::string Show(float value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.7g", static_cast<double>(value));
    return text;
}

// The length of the run of digits that starts at the position.
std::size_t Digits(std::string_view text, std::size_t at)
{
    std::size_t end = at;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    return end - at;
}

std::size_t Sign(std::string_view text, std::size_t at)
{
    return at < text.size() && (text[at] == '+' || text[at] == '-') ? 1 : 0;
}

// An optional sign and digits; then, unless whole numbers only are asked for, an optional point with digits
// (a digit on one side of it at least) and an optional exponent of "e" or "E", a sign and digits. Nothing else.
bool IsDecimal(std::string_view text, bool whole)
{
    std::size_t at = Sign(text, 0);
    const std::size_t integer = Digits(text, at);
    at += integer;
    if (whole)
        return integer > 0 && at == text.size();
    std::size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        fraction = Digits(text, at + 1);
        at += 1 + fraction;
    }
    if (integer + fraction == 0)
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        at += 1 + Sign(text, at + 1);
        const std::size_t exponent = Digits(text, at);
        if (exponent == 0)
            return false;
        at += exponent;
    }
    return at == text.size();
}

// The value of a decimal number; infinite when it lies beyond a double's limits.
double ToDouble(std::string_view decimal)
{
    return std::strtod(std::string(decimal).c_str(), nullptr);
}

// The value of a decimal whole number; at the nearer limit of a long long when it lies beyond them.
long long ToLongLong(std::string_view decimal)
{
    return std::strtoll(std::string(decimal).c_str(), nullptr, 10);
}

bool HoldsInt(long long number)
{
    return number >= std::numeric_limits<std::int32_t>::min() && number <= std::numeric_limits<std::int32_t>::max();
}

} // namespace

FileValues::FileValues(std::string path) : m_path(std::move(path)) {}

// The double must lie within the float's limits too, or the value would become infinite on the way.
bool FileValues::ParseFloat(std::string_view text, float& value)
{
    if (!IsDecimal(text, false))
        return false;
    const double number = ToDouble(text);
    if (!(std::fabs(number) <= std::numeric_limits<float>::max()))
        return false;
    value = static_cast<float>(number);
    return true;
}

bool FileValues::ParseInt(std::string_view text, std::int32_t& value)
{
    if (!IsDecimal(text, true))
        return false;
    const long long number = ToLongLong(text);
    if (!HoldsInt(number))
        return false;
    value = static_cast<std::int32_t>(number);
    return true;
}

std::string FileValues::Refusal() const
{
    return "Incorrect \"" + m_path + "\" file format";
}

std::string FileValues::Refusal(const std::string& reason) const
{
    return Refusal() + ": " + reason;
}

void FileValues::Refuse() const
{
    throw FileError(Refusal());
}

void FileValues::Refuse(const std::string& reason) const
{
    throw FileError(Refusal(reason));
}

std::string FileValues::VersionText(std::uint32_t current) const
{
    return "Incorrect \"" + m_path + "\" format version, current is " + FormatUnsigned(current);
}

void FileValues::RefuseVersion(std::uint32_t current) const
{
    throw FileError(VersionText(current));
}

void FileValues::RefuseFoundVersion(std::uint32_t found, std::uint32_t current) const
{
    throw FileError("Incorrect \"" + m_path + "\" format version (" + FormatUnsigned(found) + "), current is " +
                    FormatUnsigned(current));
}

void FileValues::CheckHeader(FileBinary& file, std::string_view magic, std::uint32_t version) const
{
    file.CheckHeader(magic, version, Refusal(), VersionText(version));
}

std::string FileValues::Outside(std::string_view shown, std::string_view lowest, std::string_view highest,
                                std::string_view what)
{
    return std::string(what) + " is " + std::string(shown) + ", outside " + std::string(lowest) + " to " +
           std::string(highest);
}

std::string FileValues::Outside(float value, ValueRange range, std::string_view what)
{
    return Outside(Show(value), Show(range.lowest), Show(range.highest), what);
}

float FileValues::Require(float value, ValueRange range, std::string_view what) const
{
    if (!range.Holds(value))
        Refuse(Outside(value, range, what));
    return value;
}

std::int64_t FileValues::Require(std::int64_t value, std::int64_t lowest, std::int64_t highest,
                                 std::string_view what) const
{
    if (value < lowest || value > highest)
        Refuse(Outside(std::to_string(value), std::to_string(lowest), std::to_string(highest), what));
    return value;
}

// The text is shown as it stands: a number beyond a double's limits has no other form.
float FileValues::RequireFloat(std::string_view text, ValueRange range, std::string_view what) const
{
    if (!IsDecimal(text, false))
        Refuse(std::string(what) + " \"" + std::string(text) + "\" is no number");
    const double number = ToDouble(text);
    if (!(number >= range.lowest && number <= range.highest))
        Refuse(Outside(text, Show(range.lowest), Show(range.highest), what));
    return static_cast<float>(number);
}

std::int32_t FileValues::RequireInt(std::string_view text, std::int32_t lowest, std::int32_t highest,
                                    std::string_view what) const
{
    if (!IsDecimal(text, true))
        Refuse(std::string(what) + " \"" + std::string(text) + "\" is no whole number");
    const long long number = ToLongLong(text);
    if (number < lowest || number > highest)
        Refuse(Outside(text, FormatInt(lowest), FormatInt(highest), what));
    return static_cast<std::int32_t>(number);
}

float FileValues::NextFloat(FileTextual& file, ValueRange range, std::string_view what) const
{
    return RequireFloat(Present(file.ReadToken(), what), range, what);
}

float FileValues::NextFloat(FileBinary& file, ValueRange range, std::string_view what) const
{
    return Require(std::bit_cast<float>(file.ReadU32()), range, what);
}

std::int32_t FileValues::NextInt(FileTextual& file, std::int32_t lowest, std::int32_t highest,
                                 std::string_view what) const
{
    return RequireInt(Present(file.ReadToken(), what), lowest, highest, what);
}

std::string FileValues::NextLine(FileTextual& file, std::string_view what) const
{
    return Present(file.ReadNonEmptyLine(), what);
}

// Text a text file gave; empty only once the file has ended, which is refused.
std::string FileValues::Present(std::string text, std::string_view what) const
{
    if (text.empty())
        Refuse(std::string(what) + " is missing");
    return text;
}

float FileValues::Mend(float value, ValueRange range, float fallback, std::string_view what)
{
    if (range.Holds(value))
        return value;
    Note(Outside(value, range, what) + "; " + Show(fallback) + " is used");
    return fallback;
}

void FileValues::CheckEnd(const FileBinary& file)
{
    if (file.GetRemaining() != 0)
        Note(FormatUnsigned(file.GetRemaining()) + " bytes follow the last record");
}

void FileValues::CheckEnd(FileTextual& file)
{
    if (!file.ReadToken().empty())
        Note("values follow the last record");
}

void FileValues::Note(const std::string& text)
{
    if (m_note.empty())
        m_note = text;
}

std::string FileValues::NoteLine() const
{
    return "\"" + m_path + "\": " + m_note;
}

void FileValues::WarnOfNote(MessageManager& log) const
{
    if (HasNote())
        log.Warning(NoteLine());
}

} // namespace KeystrelEngine
