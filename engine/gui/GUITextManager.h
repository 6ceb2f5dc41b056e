// Every text the player sees, by upper-case key. Text files hold pairs of lines: a header line with the key in
// square brackets, then the text on the next non-empty line. Texts are asked for by key, often with a number
// appended ("HELP_TEXT_" and 3 ask for "HELP_TEXT_3"); a key that no file gave reads "UNKNOWN".
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace KeystrelEngine {

class FileManager;
class MessageManager;

class GUITextManager
{
public:
    GUITextManager(MessageManager* log, FileManager* files);
    virtual ~GUITextManager();

    GUITextManager(const GUITextManager&) = delete;
    GUITextManager& operator=(const GUITextManager&) = delete;

    // Reads one text file below the data folder; a key given again replaces the earlier text. A missing file
    // raises the file manager's FileError.
    void LoadTexts(const std::string& name);
    void SetText(const std::string& key, const std::u16string& text);
    // The text of key + number (no number when it is -1), the key in any case. The reference stays valid until
    // the next SetText or LoadTexts.
    const std::u16string& GetText(std::string_view key, std::int32_t number);

private:
    MessageManager* m_log;
    FileManager* m_files;
    std::map<std::string, std::u16string> m_texts;
    std::string m_lookupKey; // reused by every lookup, so drawing a key text every frame allocates nothing
};

} // namespace KeystrelEngine
