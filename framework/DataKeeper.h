// The base of every object that loads and owns a set of engine resources (the game's shared resources, one
// level's data). The derived class does the load in DoLoad and hands what it makes to the lists below, through
// which the keeper frees it.
#pragma once

#include "platform/win32/Win32.h"

#include <atomic>
#include <vector>

namespace KeystrelEngine {
class Engine;
class FileManager;
class MessageManager;
class Model;
class ModelManager;
class ParticleSystem;
class ParticleSystemManager;
class ShaderManager;
class ShaderUser;
class SpriteGroup;
class SpriteGroupManager;
} // namespace KeystrelEngine

namespace GameFramework {

// The engine services a keeper loads through; none is owned.
struct DataKeeperServices
{
    KeystrelEngine::MessageManager* log = nullptr;
    KeystrelEngine::FileManager* files = nullptr;
    KeystrelEngine::ShaderManager* shaders = nullptr;
    KeystrelEngine::ModelManager* models = nullptr;
    KeystrelEngine::SpriteGroupManager* spriteGroups = nullptr;
    KeystrelEngine::ParticleSystemManager* particleSystems = nullptr;
};

class DataKeeper
{
public:
    explicit DataKeeper(const DataKeeperServices& services);
    // Takes its services from the engine.
    explicit DataKeeper(KeystrelEngine::Engine* engine);
    // A running load of the keeper's own thread that has not reached its end is asked to stop and waited for.
    // The shaders go back to the shader manager; the objects of the other lists are deleted.
    virtual ~DataKeeper();

    DataKeeper(const DataKeeper&) = delete;
    DataKeeper& operator=(const DataKeeper&) = delete;

    // Loads at once, or with threaded set starts the keeper's own thread and returns; a thread that cannot be
    // started is a fatal error.
    void Load();
    static DWORD LoadThreadProc(LPVOID keeper);

    float GetProgress() const { return m_progress.load(); }

protected:
    virtual void DoLoad() = 0;

    KeystrelEngine::Engine* m_engine = nullptr; // null when the services were given one by one
    KeystrelEngine::MessageManager* m_log;
    KeystrelEngine::FileManager* m_fileManager;
    KeystrelEngine::ShaderManager* m_shaderManager;
    KeystrelEngine::ModelManager* m_modelManager;
    KeystrelEngine::SpriteGroupManager* m_spriteGroupManager;
    KeystrelEngine::ParticleSystemManager* m_particleSystemManager;

    // Moves from 0.0 towards 1.0 as the derived load goes on; read by other threads.
    std::atomic<float> m_progress{0.0f};
    // Set by the destructor to ask a running load of the keeper's own thread to stop.
    std::atomic<bool> m_abort{false};
    bool m_threaded = false;
    HANDLE m_thread = nullptr;

    std::vector<KeystrelEngine::ShaderUser*> m_shaders;
    std::vector<KeystrelEngine::Model*> m_models;
    std::vector<KeystrelEngine::ParticleSystem*> m_particleSystems;
    std::vector<KeystrelEngine::SpriteGroup*> m_spriteGroups;
};

} // namespace GameFramework
