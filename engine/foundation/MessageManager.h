// The engine's log: an HTML page of white text on black, warnings in grey, errors in red, and a history of every
// entry for the console.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace KeystrelEngine {

class MessageManager
{
public:
    enum Kind : unsigned
    {
        KindMessage = 0,
        KindWarning = 1,
        KindError = 2,
        KindFatalError = 3
    };

    struct Record
    {
        unsigned kind;
        std::string text;
    };

    // folder: empty for the program's folder, absolute, or relative to the program's folder; the file is
    // folder + "\" + baseName + ".html", baseName defaulting to name.
    MessageManager(const std::string& folder, const std::string& name, const std::string& baseName, bool enabled,
                   bool reopenPerWrite);
    virtual ~MessageManager();

    MessageManager(const MessageManager&) = delete;
    MessageManager& operator=(const MessageManager&) = delete;

    void Message(const std::string& text);
    void Warning(const std::string& text);
    void Error(const std::string& text);
    // Writes the line, then throws KeystrelEngine::FatalError carrying text.
    [[noreturn]] void FatalError(const std::string& text);

    // On by default; while off, entries are written without their surrounding line breaks.
    void SetLineBreaks(bool on) { m_lineBreaks = on; }

    const std::string& GetPath() const { return m_path; }

    // Empties the history under the lock that the writers take, as the loading thread logs too.
    void ClearHistory();

    // Every entry written, also while the file is disabled; the engine empties it once per frame.
    std::vector<Record> m_history;

private:
    void WriteEntry(unsigned kind, const std::string& text);
    void WriteRule(const std::string& before, const std::string& caption, const std::string& after);
    void WriteRaw(const std::string& piece);
    bool OpenForAppend();
    // Puts what was written on disk: closes the file in reopen-per-write mode, flushes it otherwise. False when
    // the system refused; the file is then given up.
    bool EndWrite();
    // Lets go of the file with one line on standard error naming it and the system's reason; the entries from
    // now on go to standard error.
    void GiveUpFile(const char* action, int failure);

    std::string m_name;
    std::string m_path;
    std::FILE* m_file = nullptr;
    bool m_enabled;
    bool m_reopenPerWrite;
    bool m_lineBreaks = true;
    bool m_onStandardError = false;
    std::mutex m_mutex; // keeps entries whole when the loading thread logs too
};

} // namespace KeystrelEngine
