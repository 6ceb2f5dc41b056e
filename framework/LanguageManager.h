// Decides once, at start-up, in which of the six languages the game runs: the installer's or the player's
// registry choice when its fonts list exists, else the first language whose fonts list exists, else English.
// It then makes a keyboard layout of that language active, so that players type their names in it, and switches
// the ANSI code page to the language's.
#pragma once

#include "platform/win32/Keyboard.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {
class FileManager;
}

namespace GameFramework {

struct LanguageEntry
{
    std::string code; // two letters, the stem of the fonts list and the folder of the text tables
    std::uint32_t languageId = 0;
    std::string name;
};

class LanguageManager
{
public:
    // registryKey is the game's key below the local-machine and current-user roots.
    LanguageManager(KeystrelEngine::FileManager* files, const std::string& registryKey);
    // Unloads the layout this object loaded.
    virtual ~LanguageManager();

    LanguageManager(const LanguageManager&) = delete;
    LanguageManager& operator=(const LanguageManager&) = delete;

    // The first entry whose code equals the given one, both lower-cased; null when there is none.
    const LanguageEntry* FindLanguage(const std::string& code) const;
    const LanguageEntry& GetCurrent() const { return *m_current; }

private:
    // "data\ui\fonts\" + code + ".ini" exists in a pack or on disk.
    bool IsAvailable(const std::string& code) const;
    std::string ChooseCode(const std::string& registryKey) const;
    void ActivateLayout();
    void SetCodePage() const;

    KeystrelEngine::FileManager* m_files;
    std::vector<LanguageEntry> m_entries;
    const LanguageEntry* m_current = nullptr;
    HKL m_loadedLayout = nullptr;
};

} // namespace GameFramework
