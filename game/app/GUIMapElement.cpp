#include "game/app/GUIMapElement.h"

#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "engine/render/ShaderUser.h"
#include "framework/GUIDoubleClickDetecter.h"
#include "game/app/GameData.h"

#include <string>

namespace Wispfold {

using KeystrelEngine::GUIWindow;
using KeystrelEngine::Matrix4;
using KeystrelEngine::Model;

namespace {

constexpr const char* kModelFolder = "ui\\menus\\map\\models\\";
// By kind: start, finish, check point, path.
constexpr const char* kKindModels[MapFile::kKindCount] = {"start", "finish", "check_point", "path"};
constexpr const char* kAlternatePathModel = "path_check_point";

const Model& MapModel(const GameData& data, const char* name)
{
    return *data.GetModel(std::string(kModelFolder) + name + ".mlf");
}

Matrix4 ShadowMatrix(const Matrix4& matrix)
{
    Matrix4 shift;
    shift.MakeTranslation({GUIMapElement::kShadowShift, -GUIMapElement::kShadowShift, 0.0f});
    return shift * matrix;
}

void ShowModelFrame(GUIWindow& window, std::uint32_t frame)
{
    Model& quad = *window.GetQuad();
    KeystrelEngine::AnimationControl& animation = quad.GetAnimationControl();
    if (animation.GetFrameCount() > 1)
        animation.m_position = static_cast<float>(frame);
    else
        quad.GetShaderUser()->SetFrame(0, frame);
}

} // namespace

GUIMapElement::GUIMapElement(KeystrelEngine::Engine* engine, const GameData* data,
                             GameTools::GUIDoubleClickDetecter* detecter, GUIWindow* parent,
                             const MapElementRecord& record)
    : m_gui(engine->m_gui.get()), m_detecter(detecter), m_matrix(record.matrix), m_kind(record.kind),
      m_level(record.level)
{
    const Model& model = MapModel(*data, kKindModels[static_cast<std::uint32_t>(m_kind)]);
    m_shadow = MakeMarker(model, ShadowMatrix(m_matrix), kShadowLayer, parent);
    ShowModelFrame(*m_shadow, kShadowFrame);
    m_marker = MakeMarker(model, m_matrix, kMarkerLayer, parent);
    if (m_kind == MapElementKind::Path)
        m_alternateMarker = MakeMarker(MapModel(*data, kAlternatePathModel), m_matrix, kMarkerLayer, parent);
    MakeButton(model, parent);
    SetState(Reachable);
}

GUIMapElement::~GUIMapElement()
{
    m_detecter->RemoveWidget(m_button);
    for (GUIWindow* window : {static_cast<GUIWindow*>(m_button), m_alternateMarker, m_marker, m_shadow})
        m_gui->DeleteWindow(window);
}

// The quad is placed by the record's matrix: a window at (0, 0) of size 1 puts its quad where its base matrix
// does.
GUIWindow* GUIMapElement::MakeMarker(const Model& model, const Matrix4& matrix, std::int32_t layer, GUIWindow* parent)
{
    GUIWindow* window = m_gui->CreateWindow(GUIWindow::kColouredQuad, {}, {1.0f, 1.0f}, &model, parent);
    Model& quad = *window->GetQuad();
    quad.m_baseMatrix = matrix;
    quad.SetWorldMatrix(matrix);
    quad.m_boundingBox.m_transformation = matrix;
    quad.m_boundingBox.Update(true);
    window->SetLayer(layer);
    return window;
}

// Over the marker's placed box, beside the marker windows (which stand at (0, 0) of the same parent), so that it
// stays while a path marker shows its alternate model.
void GUIMapElement::MakeButton(const Model& model, GUIWindow* parent)
{
    KeystrelEngine::BoundingBox box = model.m_boundingBox;
    box.m_transformation = m_matrix;
    box.Update(true);
    m_button = m_gui->CreateButton(0, {box.m_worldMin.x, box.m_worldMin.y},
                                   {box.m_worldMax.x - box.m_worldMin.x, box.m_worldMax.y - box.m_worldMin.y},
                                   static_cast<const Model*>(nullptr), parent);
    m_button->SetLayer(kMarkerLayer);
    m_detecter->m_windows.push_back(m_button);
}

void GUIMapElement::SetVisible(bool visible)
{
    m_visible = visible;
    m_shadow->SetVisible(visible);
    ShowMarker();
    m_button->SetVisible(visible);
    if (visible) {
        m_disabled = false;
        m_button->SetEnabled(true);
    }
}

void GUIMapElement::ShowMarker()
{
    m_marker->SetVisible(m_visible && !m_alternate);
    if (m_alternateMarker)
        m_alternateMarker->SetVisible(m_visible && m_alternate);
}

void GUIMapElement::Disable()
{
    m_disabled = true;
    m_button->SetEnabled(false);
}

void GUIMapElement::UpdateHover(bool allowed)
{
    if (m_state == Selected || m_state == Ahead)
        return;
    m_hovered = allowed && !m_disabled && m_button->IsCursorOver();
    ShowFrame(m_hovered ? static_cast<std::uint32_t>(Highlighted) : static_cast<std::uint32_t>(m_state));
}

void GUIMapElement::SetAlternateModel(bool alternate)
{
    m_alternate = alternate && m_alternateMarker;
    ShowMarker();
    ShowFrame(static_cast<std::uint32_t>(m_state));
}

void GUIMapElement::SetState(State state)
{
    m_state = state;
    ShowFrame(static_cast<std::uint32_t>(state));
    if (state == Ahead)
        m_button->SetEnabled(false);
}

void GUIMapElement::SetColour(const KeystrelEngine::Color& colour)
{
    m_colour = colour;
    ApplyColour();
}

void GUIMapElement::SetWindowAlpha(float alpha)
{
    if (alpha == m_windowAlpha)
        return;
    m_windowAlpha = alpha;
    ApplyColour();
}

void GUIMapElement::ApplyColour()
{
    KeystrelEngine::Color colour = m_colour;
    colour.a *= m_windowAlpha;
    for (GUIWindow* window : {m_marker, m_alternateMarker, m_shadow})
        if (window)
            window->SetColour(colour);
}

GUIWindow* GUIMapElement::GetMarker() const
{
    return m_alternate ? m_alternateMarker : m_marker;
}

void GUIMapElement::ShowFrame(std::uint32_t frame)
{
    ShowModelFrame(*GetMarker(), frame);
}

} // namespace Wispfold
