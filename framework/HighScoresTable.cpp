#include "HighScoresTable.h"

#include "engine/foundation/FileBinary.h"

#include <algorithm>

namespace GameFramework {
namespace {

// The higher score first; of equal scores the older result.
bool IsBetter(const std::unique_ptr<HighScoreEntry>& a, const std::unique_ptr<HighScoreEntry>& b)
{
    return a->score != b->score ? a->score > b->score : a->sequence < b->sequence;
}

} // namespace

HighScoresTable::HighScoresTable(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* fileManager,
                                 const std::string& userFolder)
    : m_log(log), m_file(fileManager, "GFHSF", 100), m_path(userFolder + "\\high_scores_table.hsf")
{
    Load();
}

HighScoresTable::~HighScoresTable() = default;

const HighScoreEntry* HighScoresTable::Add(const std::u16string& name, std::uint32_t score)
{
    Insert(name, score, m_resultCounter++);
    const HighScoreEntry* added = m_entries.back().get();
    std::stable_sort(m_entries.begin(), m_entries.end(), IsBetter);
    while (m_entries.size() > kCapacity) {
        if (m_entries.back().get() == added)
            added = nullptr;
        m_entries.pop_back();
    }
    Save();
    return added;
}

void HighScoresTable::Insert(const std::u16string& name, std::uint32_t score, std::uint32_t sequence)
{
    m_entries.push_back(std::make_unique<HighScoreEntry>(HighScoreEntry{name, score, sequence}));
}

void HighScoresTable::Save()
{
    m_file.Save(m_path, [this](KeystrelEngine::FileBinary& file) { WriteEntries(file); });
}

void HighScoresTable::Clear()
{
    m_entries.clear();
}

// A missing file is the first start. One that cannot be read is set aside as ".bad" before the fresh table
// replaces it, so a damaged file or one of another version is never lost. One that holds more than its entries
// (more than the table keeps, or bytes after them) is copied to ".bad" and saved with the entries kept. A file that
// cannot be kept so stays as it is until a result of this run is saved.
void HighScoresTable::Load()
{
    const auto forget = [this] {
        m_resultCounter = 0;
        Clear();
    };
    const VersionedFile::Records records{.read = [this](KeystrelEngine::FileBinary& file) { ReadEntries(file); },
                                         .forget = forget,
                                         .write = [this](KeystrelEngine::FileBinary& file) { WriteEntries(file); }};
    m_file.LoadPlayerFile(m_path, *m_log, records, VersionedFile::SetAsideUnreadable);
}

// Entries are added as they are read: a count read from the file reserves nothing.
void HighScoresTable::ReadEntries(KeystrelEngine::FileBinary& file)
{
    m_resultCounter = file.ReadU32();
    const std::uint32_t count = file.ReadU32();
    for (std::uint32_t i = 0; i < count && i < kCapacity; ++i) {
        std::u16string name = file.ReadWString();
        const std::uint32_t score = file.ReadU32();
        Insert(name, score, file.ReadU32());
    }
}

void HighScoresTable::WriteEntries(KeystrelEngine::FileBinary& file) const
{
    WriteU32(file, m_resultCounter);
    WriteU32(file, static_cast<std::uint32_t>(m_entries.size()));
    for (const auto& entry : m_entries) {
        WriteWString(file, entry->name);
        WriteU32(file, entry->score);
        WriteU32(file, entry->sequence);
    }
}

} // namespace GameFramework
