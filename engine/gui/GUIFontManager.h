// The loaded fonts by id, and their instances: one copy of a font per GUI depth in use, whose batch lies 0.005
// below the windows at that depth, so that it is drawn after them and a window's texts cover the window, and
// windows at one depth share one batch. Windows ask here where a text goes in them (alignment); once a frame the
// manager ends every batch and lets go of the instances that printed nothing.
#pragma once

#include "GUIFont.h"
#include "GUIWindow.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace KeystrelEngine {

class Camera;
class FileManager;
class MessageManager;
class ModelManager;
class ShaderDescriptor;
class ShaderManager;

class GUIFontManager
{
public:
    // Alignment bits of PrintInWindow, horizontal then vertical; the first bit of each group that is set decides.
    static constexpr std::uint32_t kCentreX = 0x01;
    static constexpr std::uint32_t kCentreY = 0x02;
    static constexpr std::uint32_t kLeft = 0x04;
    static constexpr std::uint32_t kRight = 0x08;
    static constexpr std::uint32_t kBottom = 0x10;
    static constexpr std::uint32_t kTop = 0x20;
    // How far below its windows an instance lies, and how near two depths must be to share an instance.
    static constexpr float kInstanceOffset = 0.005f;
    static constexpr float kDepthTolerance = 0.0001f;

    GUIFontManager(MessageManager* log, FileManager* files, ShaderManager* shaders, ModelManager* models,
                   Camera* camera);
    virtual ~GUIFontManager();

    GUIFontManager(const GUIFontManager&) = delete;
    GUIFontManager& operator=(const GUIFontManager&) = delete;

    // Loads a font under the id and returns the font the id names. An id already loaded keeps its first font; the
    // new one is deleted with an error line. The file's errors reach the caller.
    GUIFont* LoadFont(std::uint32_t id, const std::string& fileName, const ShaderDescriptor& descriptor);
    GUIFont* FindFont(std::uint32_t id) const;
    // The instance of the font for the window's depth, made when there is none; null for an id not loaded.
    GUIFont* GetFontInstance(std::uint32_t id, const GUIWindow& window);
    // Where the text starts so that it is aligned in the window (or in its text area) as the flags ask, measured
    // at the font's own size; without an alignment bit of a group, the window's origin plus the position. (0, 0)
    // for an id not loaded.
    GUIPoint PrintInWindow(std::uint32_t id, const GUIWindow& window, std::u16string_view text, std::uint32_t flags,
                           float angle, GUIPoint position) const;
    // The width the text prints at in the font at its own size; 0 for an id not loaded.
    float PrintedWidth(std::uint32_t id, std::u16string_view text) const;
    // The text shortened with an ellipsis to print no wider than the width in the font (GUIFont::FitText), so that
    // a text of any length keeps clear of what stands beside it; unchanged for an id not loaded.
    std::u16string FitText(std::uint32_t id, std::u16string_view text, float width) const;
    // The end of the frame's texts, before the models are drawn.
    void EndFrame();

    const std::vector<std::unique_ptr<GUIFont>>& GetInstances() const { return m_instances; }

private:
    MessageManager* m_log;
    FileManager* m_files;
    ShaderManager* m_shaders;
    ModelManager* m_models;
    Camera* m_camera;
    std::map<std::uint32_t, std::unique_ptr<GUIFont>> m_fonts;
    std::vector<std::unique_ptr<GUIFont>> m_instances;
};

} // namespace KeystrelEngine
