#include "DataKeeper.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/VectorUtils.h"
#include "engine/gui/Engine.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/ShaderManager.h"
#include "engine/render/SpriteGroup.h"

namespace GameFramework {

DataKeeper::DataKeeper(const DataKeeperServices& services)
    : m_log(services.log), m_fileManager(services.files), m_shaderManager(services.shaders),
      m_modelManager(services.models), m_spriteGroupManager(services.spriteGroups),
      m_particleSystemManager(services.particleSystems)
{
}

DataKeeper::DataKeeper(KeystrelEngine::Engine* engine)
    : DataKeeper(DataKeeperServices{engine->m_log.get(), engine->m_files.get(), engine->m_shaders.get(),
                                    engine->m_models.get(), engine->m_spriteGroups.get(),
                                    engine->m_particleSystems.get()})
{
    m_engine = engine;
}

DataKeeper::~DataKeeper()
{
    if (m_thread && m_progress.load() + 0.0001f <= 1.0f) {
        m_abort = true;
        WaitForSingleObject(m_thread, INFINITE);
    }
    if (m_thread)
        CloseHandle(m_thread);
    for (KeystrelEngine::ShaderUser* shader : m_shaders)
        m_shaderManager->RemoveShader(shader);
    m_shaders.clear();
    KeystrelEngine::DestroyAllAndClear(m_models);
    KeystrelEngine::DestroyAllAndClear(m_particleSystems);
    KeystrelEngine::DestroyAllAndClear(m_spriteGroups);
}

void DataKeeper::Load()
{
    if (!m_threaded) {
        DoLoad();
        return;
    }
    m_thread = CreateThread(nullptr, 0, &DataKeeper::LoadThreadProc, this, 0, nullptr);
    if (!m_thread)
        m_log->FatalError("Failed to create \"DataKeeper::Load\" thread");
}

// Nobody waits for this thread's errors, so they end here as an error line instead of ending the program.
DWORD DataKeeper::LoadThreadProc(LPVOID keeper)
{
    auto* self = static_cast<DataKeeper*>(keeper);
    try {
        self->DoLoad();
    } catch (const KeystrelEngine::Error& error) {
        self->m_log->Error(error.GetText());
    }
    return 1;
}

} // namespace GameFramework
