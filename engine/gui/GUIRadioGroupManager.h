// The groups of radio buttons by group number. Nothing in the game makes radio buttons, so the map stays empty;
// the GUI manager owns it beside its other managers.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace KeystrelEngine {

class GUIRadioButton;
class MessageManager;

class GUIRadioGroupManager
{
public:
    explicit GUIRadioGroupManager(MessageManager* log);
    virtual ~GUIRadioGroupManager();

    GUIRadioGroupManager(const GUIRadioGroupManager&) = delete;
    GUIRadioGroupManager& operator=(const GUIRadioGroupManager&) = delete;

    // The members of each group, not owned.
    const std::map<std::uint32_t, std::vector<GUIRadioButton*>>& GetGroups() const { return m_groups; }

private:
    [[maybe_unused]] MessageManager* m_log; // for the group operations, which the game never asks for
    std::map<std::uint32_t, std::vector<GUIRadioButton*>> m_groups;
};

} // namespace KeystrelEngine
