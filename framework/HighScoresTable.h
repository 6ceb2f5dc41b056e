// The ten best results of all players, kept in "high_scores_table.hsf" in the user folder.
#pragma once

#include "VersionedFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KeystrelEngine {
class FileManager;
class MessageManager;
} // namespace KeystrelEngine

namespace GameFramework {

struct HighScoreEntry
{
    std::u16string name;
    std::uint32_t score = 0;
    std::uint32_t sequence = 0; // the table's result counter when the result was added
};

class HighScoresTable
{
public:
    static constexpr std::uint32_t kCapacity = 10;

    // Loads the table; a missing or unreadable file gives an empty table, saved at once.
    HighScoresTable(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* fileManager,
                    const std::string& userFolder);
    virtual ~HighScoresTable();

    HighScoresTable(const HighScoresTable&) = delete;
    HighScoresTable& operator=(const HighScoresTable&) = delete;

    // Adds a result and saves the table. Returns the new entry while it stays among the best, else null.
    const HighScoreEntry* Add(const std::u16string& name, std::uint32_t score);
    // Appends an entry without sorting.
    void Insert(const std::u16string& name, std::uint32_t score, std::uint32_t sequence);
    // A save that fails is logged, and the previous file stays.
    void Save();
    void Clear();

    // Best first. Entries keep their addresses while they stay in the table.
    const std::vector<std::unique_ptr<HighScoreEntry>>& GetEntries() const { return m_entries; }
    std::uint32_t GetResultCounter() const { return m_resultCounter; }
    const std::string& GetPath() const { return m_path; }

private:
    void Load();
    void ReadEntries(KeystrelEngine::FileBinary& file);
    void WriteEntries(KeystrelEngine::FileBinary& file) const;

    KeystrelEngine::MessageManager* m_log;
    VersionedFile m_file;
    std::vector<std::unique_ptr<HighScoreEntry>> m_entries;
    std::string m_path;
    std::uint32_t m_resultCounter = 0;
};

} // namespace GameFramework
