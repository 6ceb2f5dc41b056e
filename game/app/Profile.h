// The player's profile of this game: the framework's record followed by twelve one-byte flags, relax mode and
// what the player still has to be shown (the relax offer, the introduction, the ending, eight tutorial hints).
// The flags lie in the file in the order of their indices, one byte each; any byte other than 0 reads as set.
#pragma once

#include "framework/ProfileBase.h"

#include <array>
#include <cstddef>
#include <string>

namespace Wispfold {

class Profile : public GameFramework::ProfileBase
{
public:
    enum Flag : std::size_t
    {
        RelaxMode = 0,         // no energy is spent in a level
        RelaxOfferPending = 1, // the relax window is still to be offered after a game over
        IntroductionPending = 2,
        EndingPending = 3,
        FirstTutorialHint = 4, // hints 0..7 still to show: FirstTutorialHint + hint
        FlagCount = 12
    };
    static constexpr std::size_t kTutorialHintCount = FlagCount - FirstTutorialHint;

    // A new profile of the player's name, with the flags of a new player, saved under a file name of its own.
    // Throws FileError when it cannot be saved.
    Profile(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* files, const std::string& baseFolder,
            const std::u16string& name);
    // The profile read from the profile file of that name, its levels mended to the catalogue's when one is
    // given; throws an empty Error when the file cannot be read (the reason is logged).
    Profile(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* files, const std::string& baseFolder,
            const std::string& fileName, const GameFramework::LevelManagerBase* catalogue = nullptr);

    // The flags start as a new player's: relax mode off, everything else still to be shown.
    void AssignFileName(const std::u16string& name) override;
    // The base record, then the flags.
    void Write(KeystrelEngine::FileBinary& file) override;
    void Read(KeystrelEngine::FileBinary& file) override;

    bool GetFlag(Flag flag) const { return m_flags[flag]; }
    void SetFlag(Flag flag, bool value) { m_flags[flag] = value; }
    bool IsTutorialHintPending(std::size_t hint) const { return m_flags[FirstTutorialHint + hint]; }
    void SetTutorialHintPending(std::size_t hint, bool value) { m_flags[FirstTutorialHint + hint] = value; }

private:
    std::array<bool, FlagCount> m_flags{};
};

} // namespace Wispfold
