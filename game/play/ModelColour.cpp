#include "ModelColour.h"

#include "engine/render/Model.h"
#include "engine/render/VertexBuffer.h"

#include <cstdint>
#include <cstring>

namespace Wispfold {

using KeystrelEngine::Color;
using KeystrelEngine::VertexBuffer;

Color GetModelColour(const KeystrelEngine::Model& model)
{
    Color colour{1.0f, 1.0f, 1.0f, 1.0f};
    const VertexBuffer* buffer = model.GetVertexBuffer();
    if (!buffer || !buffer->HasColours() || buffer->GetVertexCount() == 0)
        return colour;
    std::uint32_t argb = 0;
    std::memcpy(&argb, buffer->GetData() + VertexBuffer::kColourOffset, sizeof(argb));
    VertexBuffer::ColorFromDword(colour, argb);
    return colour;
}

void SetModelColour(KeystrelEngine::Model& model, const Color& colour)
{
    if (Color::Differs(colour, GetModelColour(model)))
        model.GetVertexBuffer()->SetColor(colour);
}

} // namespace Wispfold
