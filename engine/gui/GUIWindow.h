// The base of every GUI widget: a rectangle on the GUI's virtual screen (y up, 0 at the bottom), drawn as a
// textured quad in the GUI camera when it has one, in a parent/child tree. A window is visible when it is shown
// and so is every ancestor. Its depth orders the quads, which are drawn by descending depth, so that a lower depth
// covers a higher one: a top-level window lies at -10, -15, -20 or -30 by its layer bits, a child 0.01 lower per
// layer step than its parent (covering it), and a window's texts 0.005 lower than the window.
// Texts are added every frame into a pool of records and printed, then forgotten, by Draw.
#pragma once

#include "RegisteredModel.h"
#include "engine/render/Color.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace KeystrelEngine {

class Camera;
class GUIFontManager;
class GUITextManager;
class MessageManager;
class ShaderDescriptor;
class ShaderManager;

struct GUIPoint
{
    float x = 0.0f;
    float y = 0.0f;
};

struct GUISize
{
    float width = 0.0f;
    float height = 0.0f;
};

struct GUIRect
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// The services every window is given by the GUI manager; none is owned.
struct GUIServices
{
    MessageManager* log = nullptr;
    ShaderManager* shaders = nullptr;
    ModelManager* models = nullptr;
    Camera* camera = nullptr; // the GUI camera
    GUITextManager* texts = nullptr;
    GUIFontManager* fonts = nullptr;
};

// One text a window prints in the current frame. Records are reused frame after frame, so a field the add
// operation does not set keeps its old value.
struct GUITextRecord
{
    std::uint32_t flags = 0; // alignment in the window (GUIFontManager::PrintInWindow)
    std::uint32_t fontId = 0;
    float angle = 0.0f; // radians
    float size = 0.0f;  // above 0: the font's size while this record is drawn
    GUIPoint position;  // relative to the window
    Color colour;
    std::u16string text; // a key record's text is looked up when it is drawn
    std::string key;
    std::int32_t number = -1; // appended to the key; -1 for none
    bool isKey = false;
};

class GUIWindow
{
public:
    static constexpr std::uint32_t kShown = 0x01;
    static constexpr std::uint32_t kColouredQuad = 0x02; // given at creation
    static constexpr std::uint32_t kLayer10 = 0x04;
    static constexpr std::uint32_t kLayer20 = 0x08;
    static constexpr std::uint32_t kLayer30 = 0x10;
    static constexpr std::uint32_t kLayerBits = kLayer10 | kLayer20 | kLayer30;
    static constexpr float kDefaultDepth = -15.0f;
    static constexpr float kLayerStep = 0.01f;

    // A unit quad made for the shader description, its texture spanning (0, 0) to (extentU, extentV).
    GUIWindow(const GUIServices& services, std::uint32_t flags, GUIPoint position, GUISize size,
              const ShaderDescriptor& descriptor, GUIWindow* parent, float extentU, float extentV);
    // A clone of the source model as the quad; no quad when the source is null.
    GUIWindow(const GUIServices& services, std::uint32_t flags, GUIPoint position, GUISize size, const Model* source,
              GUIWindow* parent);
    // The quad loaded from a model file.
    GUIWindow(const GUIServices& services, std::uint32_t flags, GUIPoint position, GUISize size,
              const std::string& modelName, GUIWindow* parent);
    // Detaches the window from its parent and its children from it (they are not deleted) and gives the quad
    // back to the model manager.
    virtual ~GUIWindow();

    GUIWindow(const GUIWindow&) = delete;
    GUIWindow& operator=(const GUIWindow&) = delete;

    // The hit test of the frame: whether the cursor lies strictly inside the window (or its hit area). Returns
    // false for a window that is not visible.
    virtual bool Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown);
    // Places the quad and prints the frame's texts; a window that is not visible drops them. Returns whether
    // the window is visible.
    virtual bool Draw();
    // Sets the layer; a child's depth follows its parent's, and the whole subtree follows.
    virtual void SetLayer(std::int32_t layer);
    // The quad's vertex colour, for quads whose vertices carry one.
    virtual void SetColour(const Color& colour);
    virtual void UpdateVisibility();

    void SetVisible(bool visible);
    // Sets the bits only when none of them is set already.
    void AddFlags(std::uint32_t bits);
    void SetParent(GUIWindow* parent);
    void RemoveChild(GUIWindow* child);
    GUIPoint GetAbsolutePosition() const;
    // Where the window's texts are aligned, relative to it: the text area when one is set, else the whole window.
    GUIRect GetTextArea() const;
    // The quad's vertex colour, white without a quad or without vertex colours.
    Color GetColour() const;
    GUITextRecord& AllocTextRecord();
    // An empty text adds nothing.
    void AddText(std::uint32_t flags, std::uint32_t fontId, std::u16string_view text, float angle, float size,
                 GUIPoint position, const Color& colour);
    void AddTextKey(std::uint32_t flags, std::uint32_t fontId, const std::string& key, std::int32_t number, float angle,
                    float size, GUIPoint position, const Color& colour);

    std::uint32_t GetFlags() const { return m_flags; }
    bool IsVisible() const { return m_visible; }
    GUIWindow* GetParent() const { return m_parent; }
    const std::vector<GUIWindow*>& GetChildren() const { return m_children; }
    std::int32_t GetLayer() const { return m_layer; }
    float GetDepth() const { return m_depth; }
    bool IsCursorOver() const { return m_cursorOver; }
    Model* GetQuad() const { return m_quad.get(); }
    std::uint32_t GetTextCount() const { return m_textCount; }
    std::size_t GetTextPoolSize() const { return m_textRecords.size(); }
    // A record added this frame (index below GetTextCount).
    const GUITextRecord& GetTextRecord(std::uint32_t index) const { return *m_textRecords[index]; }

    GUIPoint m_position; // the top-left corner relative to the parent (to the screen without one)
    GUISize m_size;
    bool m_hasHitArea = false;
    GUIRect m_hitArea; // relative to the absolute position
    // The text area, set by the game's controls: the font manager aligns texts in it instead of the window.
    bool m_hasExtraRect = false;
    GUIRect m_extraRect;
    bool m_placeQuad = true; // Draw puts the quad on the window's rectangle every frame

protected:
    GUIServices m_services;

private:
    GUIWindow(const GUIServices& services, Model* quad);
    void Initialise(std::uint32_t flags, GUIPoint position, GUISize size, GUIWindow* parent);
    void SetDepth(float depth);
    float TopLevelDepth() const;
    void PlaceQuad();
    void DrawText(GUITextRecord& record);
    // A record from the pool with the fields every text sets.
    GUITextRecord& AddRecord(std::uint32_t flags, std::uint32_t fontId, float angle, float size, GUIPoint position,
                             const Color& colour);

    std::uint32_t m_flags = 0;
    bool m_visible = false;
    GUIWindow* m_parent = nullptr;
    std::vector<GUIWindow*> m_children; // in order of attachment, not owned
    std::int32_t m_layer = 1;
    float m_depth = kDefaultDepth;
    bool m_cursorOver = false;
    RegisteredModel m_quad;
    std::uint32_t m_textCount = 0; // records used this frame
    std::vector<std::unique_ptr<GUITextRecord>> m_textRecords;
};

} // namespace KeystrelEngine
