// Variables live in a map keyed by lower-case name. An owner that goes away detaches its variables: the record
// stays (it is still saved, with the value kept at detaching) and the value returns into the new storage when
// the owner registers again. Lines of the configuration file whose names are not registered yet wait as
// pending lines and are executed when the name is registered. Change tracking compares each tracked variable's
// storage with its last seen value at the start of every frame, so a change is visible for one frame.
#include "Config.h"

#include "Error.h"
#include "FileBinary.h"
#include "FileManager.h"
#include "FileTextual.h"
#include "MessageManager.h"
#include "StringUtils.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace KeystrelEngine {
namespace {

template <typename T> T& As(const Config::Variable& variable)
{
    return *static_cast<T*>(variable.storage);
}

// Cleans a console or file line: blanks at both ends and backslashes at the start go, and a run of blanks
// shrinks to one, so one separator always remains between name and value.
std::string CleanLine(const std::string& line)
{
    std::string text = line;
    TrimLeft(text);
    TrimRight(text);
    StripLeadingBackslashes(text);
    std::string cleaned;
    cleaned.reserve(text.size());
    for (char c : text) {
        if (!(c == ' ' && !cleaned.empty() && cleaned.back() == ' '))
            cleaned += c;
    }
    return cleaned;
}

struct ParsedLine
{
    bool empty = true;
    std::string name;  // lower case
    std::string value; // without a comment ("\\\\" to the end) and blanks at its ends
};

// The name runs from the first character that is neither white space nor a backslash to the next one that is.
ParsedLine ParseLine(const std::string& line)
{
    const std::string text = CleanLine(line);
    ParsedLine parsed;
    parsed.empty = text.empty();
    std::size_t at = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (IsSpace(c) || c == '\\') {
            if (!parsed.name.empty())
                break;
        } else {
            parsed.name += c;
        }
    }
    ToLowerInPlace(parsed.name);
    parsed.value = text.substr(std::min(at, text.size()));
    if (const std::size_t comment = parsed.value.find("\\\\"); comment != std::string::npos)
        parsed.value.resize(comment);
    TrimLeft(parsed.value);
    TrimRight(parsed.value);
    return parsed;
}

// Letters, digits and '_': the names variables are registered with.
bool IsVariableName(const std::string& name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

bool IsControl(char c)
{
    return c >= 0 && c < ' ' && c != '\t';
}

// A value that the variable's type reads whole: a decimal integer for ints and bools, a number within the
// variable's range for floats, text without control characters for strings. Anything else would be stored as 0,
// kept half, or would break the file's lines when saved.
bool ReadsWhole(const Config::Variable& variable, const std::string& value)
{
    if (std::any_of(value.begin(), value.end(), IsControl))
        return false;
    std::int32_t integer = 0;
    float number = 0.0f;
    switch (variable.type) {
    case Config::TypeInt:
    case Config::TypeBool:
        return FileValues::ParseInt(value, integer);
    case Config::TypeFloat:
        return FileValues::ParseFloat(value, number) && variable.range.Holds(number);
    default:
        return true;
    }
}

bool IsReadable(const Config::Variable& variable, const ParsedLine& parsed)
{
    return variable.type == Config::TypeCommand || (!parsed.value.empty() && ReadsWhole(variable, parsed.value));
}

// A float is kept within its variable's range, so that what is saved always loads again: a number beyond it goes
// to the nearer end, and a value that is no number (NaN or infinite) sets 0 there as well.
float InRange(const Config::Variable& variable, double value)
{
    const double number = std::isfinite(value) ? value : 0.0;
    return static_cast<float>(
        std::clamp(number, static_cast<double>(variable.range.lowest), static_cast<double>(variable.range.highest)));
}

// The number at the start of the text as atof reads it. Digits beyond a double's limits, however many, read as the
// largest double of their sign, so that they go to the nearer end of the range as any far number does; only text
// that names infinity or NaN ("inf", "nan") is no number.
double LeadingFloat(const std::string& text)
{
    errno = 0;
    const double number = std::strtod(text.c_str(), nullptr);
    if (std::isinf(number) && errno == ERANGE)
        return std::copysign(std::numeric_limits<double>::max(), number);
    return number;
}

// A string never holds a line break or another control character: the file keeps one setting per line.
std::string WithoutControls(std::string text)
{
    std::erase_if(text, IsControl);
    return text;
}

// The decimal number at the start of text as strtoul reads it with a 32-bit unsigned long: leading blanks, an
// optional sign (a minus negates modulo 2^32) and the digits that follow; a value beyond the range saturates, text
// without digits gives 0.
std::uint32_t LeadingNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > std::numeric_limits<std::uint32_t>::max())
            return std::numeric_limits<std::uint32_t>::max();
    }
    const auto number = static_cast<std::uint32_t>(value);
    return negative ? 0u - number : number;
}

} // namespace

Config::Config(const std::string& applicationName, const std::string& folder, MessageManager* log,
               FileManager* fileManager, const std::string& videoMode, bool videoModeForced, bool fullScreenForced,
               bool fullScreen)
    : m_name(applicationName.empty() ? "Keystrel Engine" : applicationName),
      m_path(folder.empty() ? m_name + ".ini" : folder + "\\" + m_name + ".ini"), m_log(log),
      m_fileManager(fileManager), m_videoModeForced(videoModeForced && !videoMode.empty()),
      m_fullScreenForced(fullScreenForced)
{
    struct Own
    {
        const char* name;
        VariableType type;
        bool saved;
        std::string defaultValue;
        void* storage;
        ValueRange range = FileValues::kFinite;
    };
    const Own table[] = {
        {"reset_config", TypeCommand, false, "", nullptr},
        {"v_mode", TypeString, true, videoMode.empty() ? "800x600x32" : videoMode, &v_mode},
        {"v_fullscreen", TypeBool, true, fullScreen ? "1" : "0", &v_fullscreen},
        {"v_vsync", TypeBool, true, "1", &v_vsync},
        {"v_brightness", TypeFloat, true, "1.0", &v_brightness, kColourRange},
        {"v_contrast", TypeFloat, true, "1.0", &v_contrast, kColourRange},
        {"v_gamma", TypeFloat, true, "1.0", &v_gamma, kColourRange},
        {"v_window_change_mode", TypeCommand, false, "", nullptr},
        {"r_use_mip_mapping", TypeBool, true, "1", &r_use_mip_mapping},
        {"r_show_octree_nodes", TypeBool, true, "0", &r_show_octree_nodes},
        {"r_show_faces_edges", TypeBool, true, "0", &r_show_faces_edges},
        {"r_show_faces_normals", TypeBool, true, "0", &r_show_faces_normals},
        {"r_show_mip_maps", TypeBool, true, "0", &r_show_mip_maps},
        {"r_texture_anisotropy", TypeInt, true, "1", &r_texture_anisotropy},
        {"c_invert_mouse", TypeBool, true, "0", &c_invert_mouse},
        {"sc_take_screenshot", TypeCommand, false, "", nullptr},
        {"sc_take_screenshot_tga", TypeCommand, false, "", nullptr},
        {"sc_take_screenshot_jpg", TypeCommand, false, "", nullptr},
        {"sc_take_screenshot_format", TypeInt, true, "0", &sc_take_screenshot_format},
        {"sc_start_movie_record", TypeCommand, false, "", nullptr},
        {"sc_stop_movie_record", TypeCommand, false, "", nullptr},
        {"exit", TypeCommand, false, "", nullptr},
    };
    for (const Own& variable : table)
        RegisterVariable(variable.name, variable.defaultValue, variable.type, variable.saved, variable.storage, false,
                         variable.range);
}

Config::~Config() = default;

Config::Variable* Config::Find(const std::string& name)
{
    const auto it = m_variables.find(ToLower(name));
    return it == m_variables.end() ? nullptr : &it->second;
}

const Config::Variable* Config::Find(const std::string& name) const
{
    const auto it = m_variables.find(ToLower(name));
    return it == m_variables.end() ? nullptr : &it->second;
}

Config::Variable* Config::FindAttached(const std::string& name)
{
    Variable* variable = Find(name);
    return variable && !variable->detached ? variable : nullptr;
}

void Config::RegisterVariable(const std::string& name, const std::string& defaultValue, VariableType type, bool saved,
                              void* storage, bool trackChanges, ValueRange range)
{
    const std::string key = ToLower(name);
    if (Variable* existing = Find(key)) {
        if (existing->detached) {
            existing->storage = storage;
            existing->detached = false;
            existing->changedThisFrame = existing->trackChanges;
            Store(*existing, existing->keptValue);
        }
        return;
    }
    Variable& variable = m_variables[key];
    variable.type = type;
    variable.saved = saved;
    variable.storage = storage;
    variable.defaultValue = defaultValue;
    variable.trackChanges = trackChanges;
    variable.changedThisFrame = trackChanges; // a newly tracked variable counts as changed in its first frame
    variable.range = range;
    ResetVariable(variable);
    if (const auto pending = m_pending.find(key); pending != m_pending.end()) {
        const PendingLine line = pending->second;
        m_pending.erase(pending);
        ExecutePending(variable, line);
    }
}

// A line kept for a name registered now is read as the file's other lines were: one that its variable cannot read
// whole leaves the default, and the file is kept aside.
void Config::ExecutePending(const Variable& variable, const PendingLine& line)
{
    if (IsReadable(variable, ParseLine(line.text)))
        Execute(line.text);
    else
        KeepUnreadableFile(line.number);
}

void Config::UnregisterVariable(const std::string& name)
{
    if (Variable* variable = FindAttached(name)) {
        variable->keptValue = ValueOf(*variable);
        variable->detached = true;
        variable->storage = nullptr;
    }
}

int Config::Execute(const std::string& line, std::string* nameFound)
{
    const ParsedLine parsed = ParseLine(line);
    if (parsed.empty)
        return ResultEmptyLine;
    if (nameFound)
        *nameFound = parsed.name;
    Variable* variable = FindAttached(parsed.name);
    if (!variable)
        return ResultUnknownName;
    if (variable->type == TypeCommand) {
        variable->commandState = kCommandRaised;
        return ResultDone;
    }
    if (parsed.value.empty())
        return ResultNameOnly;
    Store(*variable, parsed.value);
    return ResultDone;
}

void Config::SetCommandState(const std::string& name, std::uint8_t state)
{
    if (Variable* variable = FindAttached(name))
        variable->commandState = state;
}

std::uint8_t Config::GetCommandState(const std::string& name) const
{
    const Variable* variable = Find(name);
    return variable && !variable->detached ? variable->commandState : 0;
}

bool Config::HasChanged(const std::string& name) const
{
    const Variable* variable = Find(name);
    return variable && variable->changedThisFrame;
}

std::string Config::GetValue(const std::string& name) const
{
    const Variable* variable = Find(name);
    return variable ? ValueOf(*variable) : std::string();
}

void Config::SetValue(const std::string& name, const std::string& text)
{
    if (Variable* variable = FindAttached(name))
        Store(*variable, text);
}

void Config::ResetToDefault(const std::string& name)
{
    if (Variable* variable = FindAttached(name))
        ResetVariable(*variable);
}

void Config::ResetVariable(Variable& variable)
{
    Store(variable, variable.defaultValue);
    variable.commandState = variable.type == TypeCommand ? kCommandIdle : 0;
}

std::string Config::GetDefaultValue(const std::string& name) const
{
    const Variable* variable = Find(name);
    return variable ? variable->defaultValue : std::string();
}

void Config::ResetAll()
{
    for (auto& [name, variable] : m_variables) {
        if (!variable.detached)
            ResetVariable(variable);
    }
}

void Config::GetNames(std::vector<std::string>& names) const
{
    names.clear();
    for (const auto& [name, variable] : m_variables) {
        if (!variable.detached)
            names.push_back(name);
    }
}

std::string Config::ValueOf(const Variable& variable)
{
    if (variable.detached)
        return variable.keptValue;
    switch (variable.type) {
    case TypeInt:
        return FormatInt(As<std::int32_t>(variable));
    case TypeFloat:
        return FormatFloat(InRange(variable, As<float>(variable)), 6);
    case TypeBool:
        return FormatBool(As<bool>(variable));
    case TypeString:
        return WithoutControls(As<std::string>(variable));
    default:
        return {};
    }
}

void Config::Store(Variable& variable, const std::string& text)
{
    if (!variable.storage)
        return;
    switch (variable.type) {
    case TypeInt:
        As<std::int32_t>(variable) = ToInt(text);
        break;
    case TypeFloat:
        As<float>(variable) = InRange(variable, LeadingFloat(text));
        break;
    case TypeBool:
        As<bool>(variable) = ToBool(text);
        break;
    case TypeString:
        As<std::string>(variable) = WithoutControls(text);
        break;
    default:
        break;
    }
}

// Copies the storage into the last seen value when they differ; true when they did.
bool Config::UpdateLastSeen(Variable& variable)
{
    switch (variable.type) {
    case TypeInt:
        if (As<std::int32_t>(variable) == variable.lastInt)
            return false;
        variable.lastInt = As<std::int32_t>(variable);
        return true;
    case TypeFloat:
        if (!(std::fabs(As<float>(variable) - variable.lastFloat) > 0.0001f))
            return false;
        variable.lastFloat = As<float>(variable);
        return true;
    case TypeBool:
        if (As<bool>(variable) == variable.lastBool)
            return false;
        variable.lastBool = As<bool>(variable);
        return true;
    case TypeString:
        if (As<std::string>(variable) == variable.lastString)
            return false;
        variable.lastString = As<std::string>(variable);
        return true;
    default:
        return false;
    }
}

void Config::Update()
{
    if (GetCommandState("reset_config") == kCommandRaised) {
        SetCommandState("reset_config", kCommandIdle);
        ResetAll();
    }
    for (auto& [name, variable] : m_variables) {
        if (variable.trackChanges && !variable.detached && variable.storage && UpdateLastSeen(variable))
            variable.changedThisFrame = true;
    }
}

void Config::EndFrame()
{
    for (auto& [name, variable] : m_variables)
        variable.changedThisFrame = false;
}

void Config::Load()
{
    ResetAll();
    m_pending.clear();
    m_keptUnreadable = false;
    ReadFile();
    if (m_videoModeForced)
        ResetToDefault("v_mode");
    if (m_fullScreenForced)
        ResetToDefault("v_fullscreen");
}

void Config::ReadFile()
{
    std::unique_ptr<FileTextual> file;
    try {
        file = m_fileManager->OpenTextual(m_path, false);
    } catch (const FileError&) {
        return; // no configuration file yet: every variable keeps its default
    }
    std::string line;
    std::uint32_t number = 0, firstUnreadable = 0;
    while (file->ReadLine(line)) {
        ++number;
        if (!ReadFileLine(line, number) && firstUnreadable == 0)
            firstUnreadable = number;
    }
    file.reset();
    if (firstUnreadable != 0)
        KeepUnreadableFile(firstUnreadable);
}

// Executes one line of the file; false when the line cannot be read (a name no variable can have, a variable
// without a value, or a value its variable does not read whole), which leaves the variable as it was. A well-formed
// name that is not registered waits as a pending line, which the next save writes back as it was read.
bool Config::ReadFileLine(const std::string& line, std::uint32_t number)
{
    const ParsedLine parsed = ParseLine(line);
    if (parsed.empty)
        return true;
    const Variable* variable = FindAttached(parsed.name);
    if (!variable) {
        if (!IsVariableName(parsed.name) || std::any_of(parsed.value.begin(), parsed.value.end(), IsControl))
            return false;
        m_pending.emplace(parsed.name, PendingLine{line, number});
        return true;
    }
    if (!IsReadable(*variable, parsed))
        return false;
    Execute(line);
    return true;
}

// The settings read so far stay in use and the next save writes the file anew, so a copy keeps what was on the
// unreadable lines. One copy and one warning per load, however many lines cannot be read.
void Config::KeepUnreadableFile(std::uint32_t lineNumber)
{
    if (m_keptUnreadable)
        return;
    m_keptUnreadable = true;
    m_fileManager->KeepBadCopy(m_path, "Configuration file \"" + m_path + "\" cannot be read at line " +
                                           FormatUnsigned(lineNumber));
}

// The settings take the road of every save: a failure is logged and leaves the previous file whole.
void Config::Save()
{
    std::string text;
    for (const auto& [name, variable] : m_variables) {
        if (variable.saved && variable.type != TypeCommand)
            text += name + " " + ValueOf(variable) + "\r\n";
    }
    text += PendingLines();
    m_fileManager->SaveFile(
        m_path, [&text](FileBinary& file) { file.Write(static_cast<std::uint32_t>(text.size()), text.data()); });
}

// The lines of the file for variables this run never registered, each ended by CR LF, so that a setting of a
// part that did not run (or of another version) is not lost.
std::string Config::PendingLines() const
{
    std::string lines;
    for (const auto& [name, line] : m_pending)
        lines += line.text + "\r\n";
    return lines;
}

void Config::ParseVideoMode(const std::string& text, std::uint32_t* width, std::uint32_t* height,
                            std::uint32_t* bitsPerPixel)
{
    const std::size_t first = text.find_first_of("xX");
    const std::size_t second = first == std::string::npos ? first : text.find_first_of("xX", first + 1);
    std::uint32_t w = 640, h = 480, bpp = 16;
    if (second != std::string::npos) {
        w = LeadingNumber(text.substr(0, first));
        h = LeadingNumber(text.substr(first + 1, second - first - 1));
        bpp = LeadingNumber(text.substr(second + 1));
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
    if (bitsPerPixel)
        *bitsPerPixel = bpp;
}

} // namespace KeystrelEngine
