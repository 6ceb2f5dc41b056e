// The vertex colour of a model as its owners read and write it: the colour stored in the first vertex, white for
// a model whose vertices carry no colour (or that has none).
#pragma once

#include "engine/render/Color.h"

namespace KeystrelEngine {
class Model;
}

namespace Wispfold {

KeystrelEngine::Color GetModelColour(const KeystrelEngine::Model& model);
// Writes the colour into every vertex when it differs from the stored one; models without colours stay as
// they are.
void SetModelColour(KeystrelEngine::Model& model, const KeystrelEngine::Color& colour);

} // namespace Wispfold
