// A model of the model manager's registry held by one owner (a GUI window's quad, a font's batch). Giving it up
// removes it from the registry and deletes it, only when the registry still held it.
#pragma once

#include "engine/render/ModelManager.h"

#include <memory>

namespace KeystrelEngine {

struct RegisteredModelRelease
{
    ModelManager* models = nullptr;

    void operator()(Model* model) const
    {
        if (models->GetRegistry().Remove(model))
            delete model;
    }
};

using RegisteredModel = std::unique_ptr<Model, RegisteredModelRelease>;

} // namespace KeystrelEngine
