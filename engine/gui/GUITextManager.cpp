#include "GUITextManager.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/StringUtils.h"

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
// Reading cuts "//" comments from every line, so a text cannot hold "//".
void GUITextManager::LoadTexts(const std::string& name)
{
    const std::unique_ptr<FileTextual> file = m_files->OpenTextual(MakeDataPath(name), false);
    std::string line;
    std::u16string text;
    while (file->ReadLine(line)) {
        TrimLeft(line);
        TrimRight(line);
        if (!IsHeader(line))
            continue;
        while (file->ReadLineW(text)) {
            if (!text.empty()) {
                SetText(line.substr(1, line.size() - 2), text);
                break;
            }
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
