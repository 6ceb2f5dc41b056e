#include "GUIWindow.h"

#include "GUIFontManager.h"
#include "GUIQuad.h"
#include "GUITextManager.h"
#include "engine/render/Matrix4.h"
#include "engine/render/VertexBuffer.h"

#include <algorithm>
#include <cstring>

namespace KeystrelEngine {

namespace {

// Self-made quads: static vertices in a strip, drawn last at a fixed depth, with or without vertex colours.
constexpr std::uint32_t kQuadFlags = 0xC11;
constexpr std::uint32_t kColouredQuadFlags = 0xC31;
// Loaded and cloned quads: unlit, no Z test, not in the first draw group, hidden until shown; drawn last at a
// fixed depth.
constexpr std::uint32_t kQuadFlagsCleared = Model::kLit | Model::kZTest | Model::kDrawFirst | Model::kShown;
constexpr std::uint32_t kQuadFlagsSet = Model::kDrawLast | Model::kFixedDepth;

std::uint32_t ExtraModelFlags(std::uint32_t windowFlags)
{
    return (windowFlags & GUIWindow::kColouredQuad) ? Model::kColours : 0;
}

Model* AdaptQuad(Model* quad)
{
    if (quad)
        quad->m_flags = (quad->m_flags & ~kQuadFlagsCleared) | kQuadFlagsSet;
    return quad;
}

// The unit quad as a strip: (1, 0), (1, 1), (0, 0), (0, 1), the texture spanning (0, 0) to (u, v).
Model* MakeQuad(const GUIServices& services, std::uint32_t windowFlags, const ShaderDescriptor& descriptor,
                float extentU, float extentV)
{
    return MakeGUIQuad(*services.models, services.camera,
                       (windowFlags & GUIWindow::kColouredQuad) ? kColouredQuadFlags : kQuadFlags, descriptor,
                       {{{1, 0, extentU, 0}, {1, 1, extentU, extentV}, {0, 0, 0, 0}, {0, 1, 0, extentV}}});
}

} // namespace

// Creation ----------------------------------------------------------------------------------------------------

GUIWindow::GUIWindow(const GUIServices& services, Model* quad)
    : m_services(services), m_quad(quad, RegisteredModelRelease{services.models})
{
}

GUIWindow::GUIWindow(const GUIServices& services, std::uint32_t flags, GUIPoint position, GUISize size,
                     const ShaderDescriptor& descriptor, GUIWindow* parent, float extentU, float extentV)
    : GUIWindow(services, MakeQuad(services, flags, descriptor, extentU, extentV))
{
    Initialise(flags, position, size, parent);
}

GUIWindow::GUIWindow(const GUIServices& services, std::uint32_t flags, GUIPoint position, GUISize size,
                     const Model* source, GUIWindow* parent)
    : GUIWindow(services, source
                              ? AdaptQuad(services.models->CloneModel(*source, services.camera, ExtraModelFlags(flags)))
                              : nullptr)
{
    Initialise(flags, position, size, parent);
}

GUIWindow::GUIWindow(const GUIServices& services, std::uint32_t flags, GUIPoint position, GUISize size,
                     const std::string& modelName, GUIWindow* parent)
    : GUIWindow(services, AdaptQuad(services.models->LoadModel(modelName, services.camera, ExtraModelFlags(flags))))
{
    Initialise(flags, position, size, parent);
}

void GUIWindow::Initialise(std::uint32_t flags, GUIPoint position, GUISize size, GUIWindow* parent)
{
    AddFlags(flags);
    SetParent(parent);
    m_position = position;
    m_size = size;
}

GUIWindow::~GUIWindow()
{
    if (m_parent)
        m_parent->RemoveChild(this);
    for (GUIWindow* child : m_children) {
        child->m_parent = nullptr;
        if (!(child->m_flags & kLayerBits))
            child->SetDepth(kDefaultDepth);
        child->UpdateVisibility();
    }
    m_children.clear();
}

// Tree, depth and visibility ------------------------------------------------------------------------------------

void GUIWindow::SetDepth(float depth)
{
    m_depth = depth;
    if (m_quad)
        m_quad->SetSortDepth(depth);
}

float GUIWindow::TopLevelDepth() const
{
    if (m_flags & kLayer10)
        return -10.0f;
    if (m_flags & kLayer20)
        return -20.0f;
    if (m_flags & kLayer30)
        return -30.0f;
    return kDefaultDepth;
}

void GUIWindow::SetVisible(bool visible)
{
    if (visible == ((m_flags & kShown) != 0))
        return;
    m_flags ^= kShown;
    UpdateVisibility();
    if (visible && !m_parent)
        SetDepth(TopLevelDepth());
}

void GUIWindow::AddFlags(std::uint32_t bits)
{
    if (m_flags & bits)
        return;
    m_flags |= bits;
    if (bits & kShown)
        UpdateVisibility();
    if (!m_parent)
        SetDepth(TopLevelDepth());
}

// A window that joins a parent gives up its own layer bits: its depth comes from the parent from then on.
void GUIWindow::SetParent(GUIWindow* parent)
{
    if (m_parent)
        m_parent->RemoveChild(this);
    m_parent = parent;
    if (!parent) {
        if (!(m_flags & kLayerBits))
            SetDepth(kDefaultDepth);
    } else {
        parent->m_children.push_back(this);
        if (m_flags & kLayerBits) {
            m_flags &= ~kLayerBits;
            SetDepth(kDefaultDepth);
        }
        SetLayer(m_layer);
    }
    UpdateVisibility();
}

void GUIWindow::RemoveChild(GUIWindow* child)
{
    const auto found = std::find(m_children.begin(), m_children.end(), child);
    if (found != m_children.end())
        m_children.erase(found);
}

void GUIWindow::SetLayer(std::int32_t layer)
{
    m_layer = layer;
    if (m_parent)
        SetDepth(m_parent->m_depth - kLayerStep * static_cast<float>(layer));
    for (GUIWindow* child : m_children)
        child->SetLayer(child->m_layer);
}

void GUIWindow::UpdateVisibility()
{
    const bool wasVisible = m_visible;
    m_visible = (!m_parent || m_parent->m_visible) && (m_flags & kShown);
    if (m_visible && !wasVisible)
        m_cursorOver = false;
    if (m_quad) {
        if (m_visible)
            m_quad->m_flags |= Model::kShown;
        else
            m_quad->m_flags &= ~Model::kShown;
    }
    for (GUIWindow* child : m_children)
        child->UpdateVisibility();
}

GUIPoint GUIWindow::GetAbsolutePosition() const
{
    GUIPoint absolute = m_position;
    for (const GUIWindow* ancestor = m_parent; ancestor; ancestor = ancestor->m_parent) {
        absolute.x += ancestor->m_position.x;
        absolute.y += ancestor->m_position.y;
    }
    return absolute;
}

GUIRect GUIWindow::GetTextArea() const
{
    return m_hasExtraRect ? m_extraRect : GUIRect{0.0f, 0.0f, m_size.width, m_size.height};
}

// Colour ----------------------------------------------------------------------------------------------------------

void GUIWindow::SetColour(const Color& colour)
{
    if (m_quad)
        m_quad->GetVertexBuffer()->SetColor(colour);
}

Color GUIWindow::GetColour() const
{
    Color colour{1.0f, 1.0f, 1.0f, 1.0f};
    if (!m_quad || !m_quad->GetVertexBuffer()->HasColours())
        return colour;
    std::uint32_t argb = 0;
    std::memcpy(&argb, m_quad->GetVertexBuffer()->GetData() + VertexBuffer::kColourOffset, sizeof(argb));
    VertexBuffer::ColorFromDword(colour, argb);
    return colour;
}

// The frame -------------------------------------------------------------------------------------------------------

bool GUIWindow::Update(float cursorX, float cursorY, bool /*buttonHeld*/, bool /*buttonWentDown*/)
{
    m_cursorOver = false;
    if (!m_visible)
        return false;
    const GUIPoint absolute = GetAbsolutePosition();
    GUIRect hit{absolute.x, absolute.y, m_size.width, m_size.height};
    if (m_hasHitArea)
        hit = {absolute.x + m_hitArea.x, absolute.y + m_hitArea.y, m_hitArea.width, m_hitArea.height};
    m_cursorOver = hit.x < cursorX && hit.y < cursorY && cursorX < hit.x + hit.width && cursorY < hit.y + hit.height;
    return true;
}

bool GUIWindow::Draw()
{
    if (!m_visible) {
        m_textCount = 0;
        return false;
    }
    if (m_placeQuad && m_quad)
        PlaceQuad();
    for (std::uint32_t i = 0; i < m_textCount; ++i)
        DrawText(*m_textRecords[i]);
    m_textCount = 0;
    return true;
}

// translation (absolute position) x scale (size): the unit quad covers the window's rectangle.
void GUIWindow::PlaceQuad()
{
    const GUIPoint absolute = GetAbsolutePosition();
    Matrix4 placement;
    placement.MakeTranslation({absolute.x, absolute.y, 0.0f});
    Matrix4 scale;
    scale.m[0] = m_size.width;
    scale.m[5] = m_size.height;
    m_quad->ResetWorldMatrix();
    m_quad->MultiplyWorldMatrix(placement * scale);
}

// A size override applies to the loaded font only while this record is printed. A font id that is not loaded
// prints nothing (and has no size to override).
void GUIWindow::DrawText(GUITextRecord& record)
{
    GUIFontManager& fonts = *m_services.fonts;
    if (record.isKey)
        record.text = m_services.texts->GetText(record.key, record.number);
    GUIFont* font = fonts.FindFont(record.fontId);
    GUIFont* instance = fonts.GetFontInstance(record.fontId, *this);
    if (!font || !instance)
        return;
    const float fontSize = font->m_size;
    if (record.size > 0.0f)
        font->m_size = record.size;
    const GUIPoint start =
        fonts.PrintInWindow(record.fontId, *this, record.text, record.flags, record.angle, record.position);
    instance->Print(start.x, start.y, record.angle, record.colour, record.text);
    font->m_size = fontSize;
}

// Texts -------------------------------------------------------------------------------------------------------------

GUITextRecord& GUIWindow::AllocTextRecord()
{
    if (m_textCount == m_textRecords.size())
        m_textRecords.push_back(std::make_unique<GUITextRecord>());
    return *m_textRecords[m_textCount++];
}

GUITextRecord& GUIWindow::AddRecord(std::uint32_t flags, std::uint32_t fontId, float angle, float size,
                                    GUIPoint position, const Color& colour)
{
    GUITextRecord& record = AllocTextRecord();
    record.flags = flags;
    record.fontId = fontId;
    record.angle = angle;
    record.size = size;
    record.position = position;
    record.colour = colour;
    return record;
}

void GUIWindow::AddText(std::uint32_t flags, std::uint32_t fontId, std::u16string_view text, float angle, float size,
                        GUIPoint position, const Color& colour)
{
    if (text.empty())
        return;
    GUITextRecord& record = AddRecord(flags, fontId, angle, size, position, colour);
    record.text = text;
    record.isKey = false;
}

void GUIWindow::AddTextKey(std::uint32_t flags, std::uint32_t fontId, const std::string& key, std::int32_t number,
                           float angle, float size, GUIPoint position, const Color& colour)
{
    GUITextRecord& record = AddRecord(flags, fontId, angle, size, position, colour);
    record.key = key;
    record.number = number;
    record.isKey = true;
}

} // namespace KeystrelEngine
