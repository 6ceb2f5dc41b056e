// Owns every bonus token of a level: makes them for the rules, ages them once a frame, and deletes one when the
// item pool asks (its butterfly was recycled or the token expired) or all of them with the manager.
#pragma once

#include "Bonus.h"
#include "PlayServices.h"

#include <memory>
#include <vector>

namespace Wispfold {

class BonusManager
{
public:
    // Neither record is owned; the resources outlive the manager.
    BonusManager(const PlayServices& services, const PlayResources& resources);
    virtual ~BonusManager() = default;

    BonusManager(const BonusManager&) = delete;
    BonusManager& operator=(const BonusManager&) = delete;

    // A new token of the kind, appended to the list; the caller hangs it on a butterfly.
    Bonus* Create(BonusKind kind);
    // Every token, in the order they were made.
    void Update();
    // Deletes the token; null and tokens that are not in the list are left alone.
    void Remove(const Bonus* token);

    const std::vector<std::unique_ptr<Bonus>>& GetBonuses() const { return m_bonuses; }

private:
    PlayServices m_services;
    const PlayResources* m_resources;
    std::vector<std::unique_ptr<Bonus>> m_bonuses;
};

} // namespace Wispfold
