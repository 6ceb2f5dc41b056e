#include "BonusManager.h"

#include <algorithm>

namespace Wispfold {

BonusManager::BonusManager(const PlayServices& services, const PlayResources& resources)
    : m_services(services), m_resources(&resources)
{
}

Bonus* BonusManager::Create(BonusKind kind)
{
    m_bonuses.push_back(std::make_unique<Bonus>(m_services, *m_resources, kind));
    return m_bonuses.back().get();
}

void BonusManager::Update()
{
    for (const std::unique_ptr<Bonus>& bonus : m_bonuses)
        bonus->Update();
}

void BonusManager::Remove(const Bonus* token)
{
    const auto found = std::find_if(m_bonuses.begin(), m_bonuses.end(),
                                    [token](const std::unique_ptr<Bonus>& bonus) { return bonus.get() == token; });
    if (token && found != m_bonuses.end())
        m_bonuses.erase(found);
}

} // namespace Wispfold
