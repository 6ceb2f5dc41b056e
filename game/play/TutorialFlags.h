// The player's tutorial flags as the tutorial sees them: a set flag means the topic is still to be shown. The
// game keeps them in the player's profile (game flags 4 to 11) and saves the profile when one is cleared.
#pragma once

#include <cstdint>

namespace Wispfold {

class TutorialFlags
{
public:
    virtual ~TutorialFlags() = default;

    // flag: the profile's game flag index, 4 to 11.
    virtual bool IsPending(std::uint32_t flag) const = 0;
    // The topic has been shown: the flag is cleared and kept.
    virtual void ClearAndSave(std::uint32_t flag) = 0;
};

} // namespace Wispfold
