// The log page holds no line breaks of its own: every line feed of a text becomes "<BR>". Entry texts are
// escaped ('&', '<', '>') so that a file name or message can never break the page; the history keeps the texts
// as they were given. Head and end lines frame the entries in green on white "========" rules.
//
// Every entry is in the file when its call returns (flushed, or closed in reopen-per-write mode), so a crash, a
// kill or a hang leaves the log up to its last entry. A log whose file cannot be opened or written (a read-only or
// full disk) writes its entries, as plain text, to standard error instead, after one line that names the file and
// the reason.
#include "MessageManager.h"

#include "Error.h"
#include "StringUtils.h"
#include "platform/win32/Win32.h"

#include <cerrno>
#include <cstring>

namespace KeystrelEngine {
namespace {

struct Colour
{
    float r, g, b;
};

constexpr Colour kWhite{1, 1, 1}, kGrey{0.5f, 0.5f, 0.5f}, kRed{1, 0, 0}, kGreen{0, 1, 0}, kBlack{0, 0, 0};

Colour KindColour(unsigned kind)
{
    switch (kind) {
    case MessageManager::KindWarning:
        return kGrey;
    case MessageManager::KindError:
    case MessageManager::KindFatalError:
        return kRed;
    default:
        return kWhite;
    }
}

bool IsWhite(const Colour& c)
{
    auto near = [](float x, float y) { return x - y <= 0.0001f && y - x <= 0.0001f; };
    return near(c.r, 1) && near(c.g, 1) && near(c.b, 1);
}

std::string ColourText(const Colour& c)
{
    std::string text = "#";
    for (float component : {c.r, c.g, c.b})
        text += FormatHex(static_cast<std::uint32_t>(component * 255.0f)).substr(6);
    return text;
}

std::string FontOpening(const Colour& c)
{
    return "<FONT color=\"" + ColourText(c) + "\">";
}

std::string Escape(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// "Tue Dec 08 01:35:54 2026"
std::string TimeText()
{
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    SYSTEMTIME now;
    GetLocalTime(&now);
    return std::string(days[now.wDayOfWeek % 7]) + " " + months[(now.wMonth + 11) % 12] + " " +
           FormatUnsigned(now.wDay, 2) + " " + FormatUnsigned(now.wHour, 2) + ":" + FormatUnsigned(now.wMinute, 2) +
           ":" + FormatUnsigned(now.wSecond, 2) + " " + FormatUnsigned(now.wYear, 4);
}

std::string LogPath(const std::string& folder, const std::string& baseName)
{
    const std::string file = baseName + ".html";
    if (folder.empty())
        return GetApplicationFolder() + "\\" + file;
    if (IsAbsoluteName(folder))
        return folder + "\\" + file;
    return GetApplicationFolder() + "\\" + folder + "\\" + file;
}

} // namespace

MessageManager::MessageManager(const std::string& folder, const std::string& name, const std::string& baseName,
                               bool enabled, bool reopenPerWrite)
    : m_name(name), m_enabled(enabled), m_reopenPerWrite(reopenPerWrite)
{
    if (!m_enabled)
        return;
    m_path = LogPath(folder, baseName.empty() ? name : baseName);
    if (const int failure = fopen_s(&m_file, m_path.c_str(), "wt"); failure != 0) {
        GiveUpFile("open", failure);
        return;
    }
    WriteRaw("<HTML>");
    WriteRaw("<HEAD>");
    WriteRaw("<TITLE>" + Escape(m_name) + " Log</TITLE>");
    WriteRaw("</HEAD>");
    WriteRaw("<BODY bgcolor=\"" + ColourText(kBlack) + "\">");
    WriteRaw(FontOpening(kWhite)); // stays open until the end line
    WriteRule("", " Log: ", "\n\n");
    EndWrite();
}

MessageManager::~MessageManager()
{
    if (!m_enabled || !OpenForAppend())
        return;
    WriteRule("\n", " Log end: ", "\n");
    WriteRaw("</FONT>");
    WriteRaw("</BODY>");
    WriteRaw("</HTML>");
    std::fclose(m_file);
    m_file = nullptr;
}

void MessageManager::Message(const std::string& text)
{
    WriteEntry(KindMessage, m_lineBreaks ? text + "\n" : text);
}

void MessageManager::Warning(const std::string& text)
{
    WriteEntry(KindWarning, m_lineBreaks ? "\nWarning: " + text + "!\n\n" : "Warning: " + text + "!\n");
}

void MessageManager::Error(const std::string& text)
{
    WriteEntry(KindError, m_lineBreaks ? "\nError: " + text + "!\n\n" : "Error: " + text + "!\n");
}

void MessageManager::FatalError(const std::string& text)
{
    WriteEntry(KindFatalError, "PROGRAM ABORTING: " + text + "\n");
    throw KeystrelEngine::FatalError(text);
}

void MessageManager::ClearHistory()
{
    std::lock_guard lock(m_mutex);
    m_history.clear();
}

void MessageManager::WriteEntry(unsigned kind, const std::string& text)
{
    std::lock_guard lock(m_mutex);
    bool written = false;
    if (m_enabled && OpenForAppend()) {
        const Colour colour = KindColour(kind);
        const bool plain = IsWhite(colour);
        if (!plain)
            WriteRaw(FontOpening(colour));
        WriteRaw(Escape(text));
        if (!plain)
            WriteRaw("</FONT>");
        written = EndWrite();
    }
    if (m_enabled && !written)
        std::fputs(text.c_str(), stderr);
    m_history.push_back({kind, text});
}

// The head and end lines: "======== " in white, the name, caption and time in green, " ========" in white.
void MessageManager::WriteRule(const std::string& before, const std::string& caption, const std::string& after)
{
    WriteRaw(FontOpening(kWhite));
    WriteRaw(before + "======== ");
    WriteRaw("</FONT>");
    WriteRaw(FontOpening(kGreen));
    WriteRaw(Escape(m_name) + caption + TimeText());
    WriteRaw("</FONT>");
    WriteRaw(FontOpening(kWhite));
    WriteRaw(" ========" + after);
    WriteRaw("</FONT>");
}

void MessageManager::WriteRaw(const std::string& piece)
{
    if (!m_file)
        return;
    std::string page = piece;
    ReplaceAll(page, "\n", "<BR>");
    std::fputs(page.c_str(), m_file);
}

bool MessageManager::OpenForAppend()
{
    if (m_reopenPerWrite && !m_file && !m_onStandardError) {
        if (const int failure = fopen_s(&m_file, m_path.c_str(), "at"); failure != 0)
            GiveUpFile("open", failure);
    }
    return m_file != nullptr;
}

bool MessageManager::EndWrite()
{
    const bool written = m_reopenPerWrite ? std::fclose(m_file) == 0 : std::fflush(m_file) == 0;
    if (m_reopenPerWrite)
        m_file = nullptr;
    if (!written)
        GiveUpFile("write", errno);
    return written;
}

void MessageManager::GiveUpFile(const char* action, int failure)
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_onStandardError = true;
    std::fprintf(stderr, "%s Log: failed to %s \"%s\" (%s); the log goes to standard error\n", m_name.c_str(), action,
                 ToMessagePath(m_path).c_str(), std::strerror(failure));
}

} // namespace KeystrelEngine
