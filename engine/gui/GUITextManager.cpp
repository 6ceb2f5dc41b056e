#include "GUITextManager.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/StringUtils.h"

#include <algorithm>

namespace KeystrelEngine {

namespace {

// A header is "[" key "]" once the blanks around it are trimmed; "[]" names the empty key.
bool IsHeader(const std::string& line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

} // namespace

GUITextManager::GUITextManager(MessageManager* log, FileManager* files) : m_log(log), m_files(files) {}

GUITextManager::~GUITextManager() = default;

// The text after a header is taken as it is read, blanks included, even when it looks like a header itself.
// Reading cuts "//" comments from every line, so a text cannot hold "//". A text that holds a control character
// (a zero ends what is drawn) refuses the table.
void GUITextManager::LoadTexts(const std::string& name)
{
    const std::unique_ptr<FileTextual> file = m_files->OpenTextual(MakeDataPath(name), false);
    const FileValues values(name);
    std::string line;
    std::u16string text;
    while (file->ReadLine(line)) {
        TrimLeft(line);
        TrimRight(line);
        if (!IsHeader(line))
            continue;
        while (file->ReadLineW(text)) {
            if (text.empty())
                continue;
            const std::string key = line.substr(1, line.size() - 2);
            if (std::any_of(text.begin(), text.end(), [](char16_t unit) { return unit < u' ' && unit != u'\t'; }))
                values.Refuse("the text of \"" + key + "\" holds a control character");
            SetText(key, text);
            break;
        }
    }
}

void GUITextManager::SetText(const std::string& key, const std::u16string& text)
{
    m_texts[ToUpper(key)] = text;
}

const std::u16string& GUITextManager::GetText(std::string_view key, std::int32_t number)
{
    static const std::u16string unknown = u"UNKNOWN";
    m_lookupKey.assign(key);
    ToUpperInPlace(m_lookupKey);
    if (number != -1)
        m_lookupKey += FormatUnsigned(static_cast<std::uint32_t>(number));
    const auto found = m_texts.find(m_lookupKey);
    return found == m_texts.end() ? unknown : found->second;
}

} // namespace KeystrelEngine
