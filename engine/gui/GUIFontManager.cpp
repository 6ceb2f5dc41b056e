#include "GUIFontManager.h"

#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

#include <cmath>

namespace KeystrelEngine {

namespace {

enum class Placement
{
    Centre,
    NearEdge, // the origin's side
    FarEdge,
    AtPosition
};

// The bits of each group in the order they are tested.
Placement HorizontalPlacement(std::uint32_t flags)
{
    if (flags & GUIFontManager::kCentreX)
        return Placement::Centre;
    if (flags & GUIFontManager::kLeft)
        return Placement::NearEdge;
    return (flags & GUIFontManager::kRight) ? Placement::FarEdge : Placement::AtPosition;
}

Placement VerticalPlacement(std::uint32_t flags)
{
    if (flags & GUIFontManager::kCentreY)
        return Placement::Centre;
    if (flags & GUIFontManager::kBottom)
        return Placement::FarEdge;
    return (flags & GUIFontManager::kTop) ? Placement::NearEdge : Placement::AtPosition;
}

// One axis: where a text of the given extent starts in a span from origin. A text turned so that it runs
// backwards on this axis (negative direction) starts at its far end, so that it stays inside.
float Align(Placement placement, float origin, float span, float extent, float position, float direction)
{
    const float backwards = direction < 0.0f ? extent : 0.0f;
    switch (placement) {
    case Placement::Centre:
        return origin + (span - extent) * 0.5f + backwards;
    case Placement::NearEdge:
        return origin + backwards;
    case Placement::FarEdge:
        return origin + span - extent + backwards;
    default:
        return origin + position;
    }
}

} // namespace

GUIFontManager::GUIFontManager(MessageManager* log, FileManager* files, ShaderManager* shaders, ModelManager* models,
                               Camera* camera)
    : m_log(log), m_files(files), m_shaders(shaders), m_models(models), m_camera(camera)
{
}

GUIFontManager::~GUIFontManager()
{
    m_fonts.clear();
    m_instances.clear();
}

GUIFont* GUIFontManager::LoadFont(std::uint32_t id, const std::string& fileName, const ShaderDescriptor& descriptor)
{
    auto font = std::make_unique<GUIFont>(m_log, m_files, m_models, m_shaders, m_camera, fileName, descriptor);
    const auto [entry, added] = m_fonts.try_emplace(id, std::move(font));
    if (!added)
        m_log->Error("Font " + FormatUnsigned(id) + " is loaded already; \"" + fileName + "\" is not used");
    return entry->second.get();
}

GUIFont* GUIFontManager::FindFont(std::uint32_t id) const
{
    const auto found = m_fonts.find(id);
    return found == m_fonts.end() ? nullptr : found->second.get();
}

float GUIFontManager::PrintedWidth(std::uint32_t id, std::u16string_view text) const
{
    const GUIFont* font = FindFont(id);
    return font ? font->PrintedWidth(text) : 0.0f;
}

std::u16string GUIFontManager::FitText(std::uint32_t id, std::u16string_view text, float width) const
{
    const GUIFont* font = FindFont(id);
    return font ? font->FitText(text, width) : std::u16string(text);
}

GUIFont* GUIFontManager::GetFontInstance(std::uint32_t id, const GUIWindow& window)
{
    const GUIFont* font = FindFont(id);
    if (!font)
        return nullptr;
    for (const std::unique_ptr<GUIFont>& instance : m_instances) {
        if (instance->GetSource() == font &&
            std::fabs(instance->GetDepth() + kInstanceOffset - window.GetDepth()) < kDepthTolerance)
            return instance.get();
    }
    GUIFont* instance = m_instances.emplace_back(std::make_unique<GUIFont>(*font)).get();
    instance->SetDepth(window.GetDepth() - kInstanceOffset);
    return instance;
}

GUIPoint GUIFontManager::PrintInWindow(std::uint32_t id, const GUIWindow& window, std::u16string_view text,
                                       std::uint32_t flags, float angle, GUIPoint position) const
{
    const GUIFont* font = FindFont(id);
    if (!font)
        return {};
    const GUIPoint corner = window.GetAbsolutePosition();
    const GUIRect area = window.GetTextArea();
    const TextBounds bounds = font->MeasureText(text, angle, -1.0f);
    const float width = bounds.maxX - bounds.minX;
    const float height = bounds.maxY - bounds.minY;
    return {Align(HorizontalPlacement(flags), corner.x + area.x, area.width, width, position.x, std::cos(angle)),
            Align(VerticalPlacement(flags), corner.y + area.y, area.height, height, position.y, std::sin(angle))};
}

void GUIFontManager::EndFrame()
{
    std::erase_if(m_instances, [](const std::unique_ptr<GUIFont>& instance) { return instance->GetQuadCount() == 0; });
    for (const auto& [id, font] : m_fonts)
        font->EndFrame();
    for (const std::unique_ptr<GUIFont>& instance : m_instances)
        instance->EndFrame();
}

} // namespace KeystrelEngine
