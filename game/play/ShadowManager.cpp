#include "ShadowManager.h"

#include <algorithm>

namespace Wispfold {

ShadowManager::ShadowManager(const PlayServices& services, const PlayResources& resources)
    : m_services(services), m_resources(&resources)
{
}

void ShadowManager::Attach(const Item& item)
{
    const auto free = std::find_if(m_shadows.begin(), m_shadows.end(),
                                   [](const std::unique_ptr<Shadow>& shadow) { return !shadow->m_owner; });
    if (free != m_shadows.end()) {
        (*free)->m_owner = &item;
        return;
    }
    m_shadows.push_back(std::make_unique<Shadow>(m_services, *m_resources, m_shadowHeight));
    m_shadows.back()->m_owner = &item;
}

void ShadowManager::Detach(const Item& item)
{
    for (const std::unique_ptr<Shadow>& shadow : m_shadows) {
        if (shadow->m_owner == &item)
            shadow->m_owner = nullptr;
    }
}

void ShadowManager::Update()
{
    for (const std::unique_ptr<Shadow>& shadow : m_shadows)
        shadow->Update();
}

} // namespace Wispfold
