// The high-score table: rank, name and score of each entry in three columns, the entry the finished game made
// picked out in another font, or a line saying there are no records yet. Shown from the main menu (mode 2, BACK)
// and after a game has been completed (9) or lost (10, OK). After a lost game it offers relax mode once to a
// player who does not play in it.
#pragma once

#include "framework/GUIHighScoresWindowBase.h"
#include "game/app/GUIMenuWindow.h"

#include <array>
#include <string>
#include <vector>

namespace GameFramework {
class HighScoresTable;
class ProfileManagerBase;
} // namespace GameFramework

namespace Wispfold {

class GUIHighScoresWindow : public GameFramework::GUIHighScoresWindowBase, public GUIMenuWindow
{
public:
    static constexpr std::int32_t kModeMainMenu = 2;
    static constexpr std::int32_t kModeGameOver = 10;
    static constexpr std::uint32_t kRequestRelaxOffer = 25;
    static constexpr float kFirstRowY = 358.0f;
    static constexpr float kRowStep = 21.0f;
    // An empty table's line stands amid the rows' room on the frame, clear of the button row below it.
    static constexpr float kNoRecordsY = 190.0f;
    static constexpr std::uint32_t kRowFont = 3;
    static constexpr std::uint32_t kHighlightFont = 4;

    enum Column
    {
        Rank,
        Name,
        Score,
        ColumnCount
    };

    GUIHighScoresWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                        GameFramework::ProfileManagerBase* profiles, const GameData* data,
                        const GameFramework::HighScoresTable* table, GUIMenuWindowManager* manager,
                        KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // Takes the table as it stands now.
    void Open(std::int32_t mode, const GameFramework::HighScoreEntry* highlighted) override;
    void Close() override;

    GUIControl* GetButton() const { return m_button; }
    KeystrelEngine::GUIWindow* GetColumn(Column column) const { return m_columns[column]; }

private:
    // One entry's texts, made at Open.
    struct Row
    {
        const GameFramework::HighScoreEntry* entry;
        std::array<std::u16string, ColumnCount> texts;
    };

    std::uint32_t ButtonRequest();
    void MakeRows();
    std::uint32_t RowFont(const GameFramework::HighScoreEntry* entry) const;
    void AddRows();

    GameFramework::ProfileManagerBase* m_profiles;
    const GameFramework::HighScoresTable* m_table;
    GUIControl* m_button;
    std::array<KeystrelEngine::GUIWindow*, ColumnCount> m_columns{};
    std::vector<Row> m_rows; // in table order
};

} // namespace Wispfold
