#include "platform/win32/Registry.h"

#include "platform/win32/Files.h"
#include "platform/win32/HostPath.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

enum class Hive
{
    Empty,
    Machine,
    User
};

struct RegistryValue
{
    std::string name;
    DWORD type = REG_SZ;
    std::vector<BYTE> data;
};

} // namespace

struct HKEY__
{
    Hive hive = Hive::Empty;
    std::string path; // below the root, without leading or trailing backslash
    std::vector<RegistryValue> values;
};

namespace {

HKEY__ g_classesRoot{Hive::Empty, {}, {}};
HKEY__ g_currentUser{Hive::User, {}, {}};
HKEY__ g_localMachine{Hive::Machine, {}, {}};
HKEY__ g_users{Hive::Empty, {}, {}};
HKEY__ g_currentConfig{Hive::Empty, {}, {}};

bool IsRoot(HKEY key)
{
    return key == &g_classesRoot || key == &g_currentUser || key == &g_localMachine || key == &g_users ||
           key == &g_currentConfig;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HiveFile(Hive hive)
{
    const std::string chosen =
        Environment(hive == Hive::Machine ? "KEYSTREL_REGISTRY_MACHINE" : "KEYSTREL_REGISTRY_USER");
    if (!chosen.empty())
        return chosen;
    if (hive == Hive::Machine) {
        std::string program;
        GetModuleFileNameA(nullptr, program);
        return (std::filesystem::path(program).parent_path() / "registry.ini").string();
    }
    const std::string config = Environment("XDG_CONFIG_HOME");
    const std::string folder = !config.empty() && config[0] == '/' ? config : Environment("HOME") + "/.config";
    return folder + "/keystrel/registry.ini";
}

std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool SamePath(const std::string& a, const std::string& b)
{
    return Win32Host::CompareNoCase(a, b) == 0;
}

// The section names the key itself or a key below it.
bool NamesKeyOrBelow(const std::string& section, const std::string& path)
{
    return SamePath(section, path) || (section.size() > path.size() && section[path.size()] == '\\' &&
                                       SamePath(section.substr(0, path.size()), path));
}

bool ParseDword(const std::string& text, DWORD& value)
{
    constexpr std::size_t prefix = 6; // "dword:"
    if (text.size() <= prefix || text.size() > prefix + 8 || !SamePath(text.substr(0, prefix), "dword:"))
        return false;
    char* end = nullptr;
    value = static_cast<DWORD>(std::strtoul(text.c_str() + prefix, &end, 16));
    return *end == '\0' && std::isxdigit(static_cast<unsigned char>(text[prefix]));
}

RegistryValue MakeValue(const std::string& name, const std::string& text)
{
    RegistryValue value{name, REG_SZ, {}};
    DWORD number = 0;
    if (ParseDword(text, number)) {
        value.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8)
            value.data.push_back(static_cast<BYTE>(number >> shift));
    } else {
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
    }
    return value;
}

// The key's value of that name; null when it holds none.
RegistryValue* FindValue(HKEY__& key, const std::string& name)
{
    const auto held = std::find_if(key.values.begin(), key.values.end(),
                                   [&](const RegistryValue& value) { return SamePath(value.name, name); });
    return held == key.values.end() ? nullptr : &*held;
}

void SetValue(HKEY__& key, RegistryValue value)
{
    if (RegistryValue* held = FindValue(key, value.name))
        *held = std::move(value);
    else
        key.values.push_back(std::move(value));
}

// Reads the key's values from its hive's file; false when the hive holds no such key.
bool ReadHive(HKEY__& key)
{
    std::ifstream file(HiveFile(key.hive));
    bool exists = false;
    bool inKey = false;
    std::string line;
    while (std::getline(file, line)) {
        line = Trimmed(line);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string section = Trimmed(line.substr(1, line.size() - 2));
            inKey = SamePath(section, key.path);
            exists = exists || NamesKeyOrBelow(section, key.path);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inKey && equals != std::string::npos)
            SetValue(key, MakeValue(Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))));
    }
    return exists;
}

// SOFTWARE\<maker>\<product>: the key an installer makes for its product.
bool IsProductKey(const std::string& path)
{
    const std::size_t maker = path.find('\\');
    const std::size_t product = maker == std::string::npos ? maker : path.find('\\', maker + 1);
    return product != std::string::npos && product > maker + 1 && product + 1 < path.size() &&
           path.find('\\', product + 1) == std::string::npos && SamePath(path.substr(0, maker), "SOFTWARE");
}

// The language an installer picks from the player's locale: the first of LC_ALL, LC_MESSAGES and LANG that is set
// and not empty, by its language part ("de" of "de_DE.UTF-8"); C, POSIX and every other language get English.
std::string LocaleLanguage()
{
    static const std::pair<const char*, const char*> kCodes[] = {
        {"de", "ge"}, {"ru", "ru"}, {"fr", "fr"}, {"it", "it"}, {"es", "sp"}};
    std::string locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = Environment(variable);
        if (!locale.empty())
            break;
    }
    const std::string language = locale.substr(0, locale.find_first_of("_.@"));
    for (const auto& [name, code] : kCodes) {
        if (SamePath(language, name))
            return code;
    }
    return "en";
}

// The installer's part: it made the product's key in the machine hive and wrote there the language it chose from
// the locale, unless a hive holds a "Language" of the player's own.
void AddInstallerValues(HKEY__& key)
{
    constexpr const char* kLanguage = "Language";
    HKEY__ user{Hive::User, key.path, {}};
    if (!FindValue(key, kLanguage) && !(ReadHive(user) && FindValue(user, kLanguage)))
        SetValue(key, MakeValue(kLanguage, LocaleLanguage()));
}

bool Load(HKEY__& key)
{
    if (key.path.empty())
        return true;
    if (key.hive == Hive::Empty)
        return false;
    const bool exists = ReadHive(key);
    if (key.hive != Hive::Machine || !IsProductKey(key.path))
        return exists;
    AddInstallerValues(key);
    return true;
}

std::string JoinPath(const std::string& parent, std::string child)
{
    while (!child.empty() && child.back() == '\\')
        child.pop_back();
    if (parent.empty() || child.empty())
        return parent.empty() ? child : parent;
    return parent + "\\" + child;
}

} // namespace

const HKEY HKEY_CLASSES_ROOT = &g_classesRoot;
const HKEY HKEY_CURRENT_USER = &g_currentUser;
const HKEY HKEY_LOCAL_MACHINE = &g_localMachine;
const HKEY HKEY_USERS = &g_users;
const HKEY HKEY_CURRENT_CONFIG = &g_currentConfig;

LONG RegOpenKeyA(HKEY key, LPCSTR subKey, HKEY* result)
{
    if (!key || !result)
        return ERROR_INVALID_HANDLE;
    auto opened = new HKEY__{key->hive, JoinPath(key->path, subKey ? subKey : ""), {}};
    if (!Load(*opened)) {
        delete opened;
        *result = nullptr;
        return ERROR_FILE_NOT_FOUND;
    }
    *result = opened;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* /*reserved*/, DWORD* type, BYTE* data, DWORD* dataSize)
{
    if (!key)
        return ERROR_INVALID_HANDLE;
    const RegistryValue* value = FindValue(*key, valueName ? valueName : "");
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    if (type)
        *type = value->type;
    const auto size = static_cast<DWORD>(value->data.size());
    if (!dataSize)
        return ERROR_SUCCESS;
    const DWORD room = *dataSize;
    *dataSize = size;
    if (!data)
        return ERROR_SUCCESS;
    if (room < size)
        return ERROR_MORE_DATA;
    std::copy(value->data.begin(), value->data.end(), data);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key)
{
    if (!key)
        return ERROR_INVALID_HANDLE;
    if (!IsRoot(key))
        delete key;
    return ERROR_SUCCESS;
}
