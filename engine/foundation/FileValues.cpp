#include "FileValues.h"

#include "Error.h"
#include "FileBinary.h"
#include "FileTextual.h"
#include "MessageManager.h"
#include "StringUtils.h"

#include <cerrno>
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

} // namespace

FileValues::FileValues(std::string path) : m_path(std::move(path)) {}

// strtod reads the text as a double; the float must hold it too, or the value would become infinite on the way.
bool FileValues::ParseFloat(std::string_view text, float& value)
{
    const std::string whole(text);
    char* end = nullptr;
    const double number = std::strtod(whole.c_str(), &end);
    if (whole.empty() || end != whole.c_str() + whole.size() || !std::isfinite(number) ||
        std::fabs(number) > std::numeric_limits<float>::max())
        return false;
    value = static_cast<float>(number);
    return true;
}

bool FileValues::ParseInt(std::string_view text, std::int32_t& value)
{
    const std::string whole(text);
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(whole.c_str(), &end, 10);
    if (whole.empty() || end != whole.c_str() + whole.size() || errno == ERANGE ||
        number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(number);
    return true;
}

void FileValues::Refuse() const
{
    throw FileError("Incorrect \"" + m_path + "\" file format");
}

void FileValues::Refuse(const std::string& reason) const
{
    throw FileError("Incorrect \"" + m_path + "\" file format: " + reason);
}

std::string FileValues::Outside(float value, ValueRange range, std::string_view what) const
{
    return std::string(what) + " is " + Show(value) + ", outside " + Show(range.lowest) + " to " + Show(range.highest);
}

float FileValues::Require(float value, ValueRange range, std::string_view what) const
{
    if (!range.Holds(value))
        Refuse(Outside(value, range, what));
    return value;
}

float FileValues::RequireFloat(std::string_view text, ValueRange range, std::string_view what) const
{
    float value = 0.0f;
    if (!ParseFloat(text, value))
        Refuse(std::string(what) + " \"" + std::string(text) + "\" is no number");
    return Require(value, range, what);
}

std::int32_t FileValues::RequireInt(std::string_view text, std::int32_t lowest, std::int32_t highest,
                                    std::string_view what) const
{
    std::int32_t value = 0;
    if (!ParseInt(text, value))
        Refuse(std::string(what) + " \"" + std::string(text) + "\" is no whole number");
    if (value < lowest || value > highest)
        Refuse(std::string(what) + " is " + FormatInt(value) + ", outside " + FormatInt(lowest) + " to " +
               FormatInt(highest));
    return value;
}

float FileValues::NextFloat(FileTextual& file, ValueRange range, std::string_view what) const
{
    return RequireFloat(Present(file.ReadToken(), what), range, what);
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
