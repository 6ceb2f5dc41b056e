#include "LanguageManager.h"

#include "ReadRegistryString.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/StringUtils.h"
#include "platform/win32/Text.h"

namespace GameFramework {
namespace {

constexpr int kLocalMachine = 3;
constexpr int kCurrentUser = 2;
constexpr std::uint32_t kRussian = 0x0419;

std::uint32_t LanguageOfLayout(HKL layout)
{
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(layout) >> 16) & 0xFFFF;
}

} // namespace

LanguageManager::LanguageManager(KeystrelEngine::FileManager* files, const std::string& registryKey)
    : m_files(files), m_entries{{"en", 0x0409, "english"}, {"ru", kRussian, "russian"}, {"ge", 0x0407, "german"},
                                {"fr", 0x040C, "french"},  {"it", 0x0410, "italian"},   {"sp", 0x040A, "spanish"}}
{
    m_current = FindLanguage(ChooseCode(registryKey));
    if (!m_current)
        m_current = FindLanguage("en");
    ActivateLayout();
    SetCodePage();
}

LanguageManager::~LanguageManager()
{
    if (m_loadedLayout)
        UnloadKeyboardLayout(m_loadedLayout);
}

const LanguageEntry* LanguageManager::FindLanguage(const std::string& code) const
{
    const std::string wanted = KeystrelEngine::ToLower(code);
    for (const LanguageEntry& entry : m_entries) {
        if (KeystrelEngine::ToLower(entry.code) == wanted)
            return &entry;
    }
    return nullptr;
}

bool LanguageManager::IsAvailable(const std::string& code) const
{
    return m_files->FileExists("data\\ui\\fonts\\" + code + ".ini");
}

// The registry value is looked up in the table without regard to case, but its fonts list by the value as given.
std::string LanguageManager::ChooseCode(const std::string& registryKey) const
{
    std::string code;
    if (!GameTools::ReadRegistryString(kLocalMachine, registryKey, "Language", code))
        GameTools::ReadRegistryString(kCurrentUser, registryKey, "Language", code);
    if (!code.empty() && IsAvailable(code))
        return code;
    for (const LanguageEntry& entry : m_entries) {
        if (IsAvailable(entry.code))
            return entry.code;
    }
    return "en";
}

// A failed switch leaves the player's layout as it was.
void LanguageManager::ActivateLayout()
{
    const std::uint32_t language = m_current->languageId;
    if (LanguageOfLayout(GetKeyboardLayout(0)) == language)
        return;
    if (ActivateKeyboardLayout(reinterpret_cast<HKL>(std::uintptr_t{language}), 0))
        return;
    const HKL loaded = LoadKeyboardLayoutA(KeystrelEngine::FormatHex(language).c_str(), KLF_ACTIVATE);
    if (loaded && LanguageOfLayout(loaded) == language)
        m_loadedLayout = loaded;
}

// The C library's locale stays untouched; the text conversions follow the ANSI code page instead.
void LanguageManager::SetCodePage() const
{
    _setmbcp(m_current->languageId == kRussian ? 1251 : 1252);
}

} // namespace GameFramework
