// The registry of the program's named, typed settings and commands, and the configuration file that keeps the
// saved ones. Every variable is bound to storage of its owner, so code reads its settings directly, while text
// (the configuration file, the console, the window) changes them by name.
#pragma once

#include "FileValues.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace KeystrelEngine {

class FileManager;
class MessageManager;

class Config
{
public:
    enum VariableType : std::uint32_t
    {
        TypeInt = 0,
        TypeFloat = 1,
        TypeBool = 2,
        TypeString = 3,
        TypeCommand = 4
    };

    enum ExecuteResult
    {
        ResultDone = 0,
        ResultInvalidArgument = 1,
        ResultReadOnly = 2,
        ResultNameOnly = 3,
        ResultUnknownName = 4,
        ResultEmptyLine = 5
    };

    // The range of the colour settings "v_brightness", "v_contrast" and "v_gamma".
    static constexpr ValueRange kColourRange{0.0f, 2.0f};

    // A command's state byte.
    static constexpr std::uint8_t kCommandRaised = 0;
    static constexpr std::uint8_t kCommandIdle = 1;

    struct Variable
    {
        std::uint32_t type = TypeInt;
        bool saved = false;
        void* storage = nullptr; // the owner's int, float, bool or std::string; none for commands
        std::string defaultValue;
        std::uint8_t commandState = 0;
        bool trackChanges = false;
        std::int32_t lastInt = 0;
        float lastFloat = 0;
        bool lastBool = false;
        std::string lastString;
        bool changedThisFrame = false;
        bool detached = false;                  // the owner has gone; the storage must not be touched
        std::string keptValue;                  // the value at the moment of detaching
        ValueRange range = FileValues::kFinite; // of a float's values
    };

    Config(const std::string& applicationName, const std::string& folder, MessageManager* log, FileManager* fileManager,
           const std::string& videoMode, bool videoModeForced, bool fullScreenForced, bool fullScreen);
    virtual ~Config();

    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;

    // A float takes the values of its range only: one set from text is put within it, and a line of the file
    // outside it cannot be read.
    void RegisterVariable(const std::string& name, const std::string& defaultValue, VariableType type, bool saved,
                          void* storage, bool trackChanges, ValueRange range = FileValues::kFinite);
    void UnregisterVariable(const std::string& name);

    // Sets a variable or raises a command from one line of text ("name value", "\\" starts a comment).
    int Execute(const std::string& line, std::string* nameFound = nullptr);

    void SetCommandState(const std::string& name, std::uint8_t state);
    std::uint8_t GetCommandState(const std::string& name) const;
    bool HasChanged(const std::string& name) const;
    std::string GetValue(const std::string& name) const;
    void SetValue(const std::string& name, const std::string& text);
    void ResetToDefault(const std::string& name);
    std::string GetDefaultValue(const std::string& name) const;
    void ResetAll();
    void GetNames(std::vector<std::string>& names) const;

    void Update();   // start of frame: "reset_config", then change tracking
    void EndFrame(); // end of frame: clears every changed-this-frame flag

    void Load();
    void Save();

    const std::string& GetPath() const { return m_path; }

    // "WxHxBPP" with 'x' or 'X'; anything without two separators gives 640x480x16.
    static void ParseVideoMode(const std::string& text, std::uint32_t* width, std::uint32_t* height,
                               std::uint32_t* bitsPerPixel);

    // Storage of the engine's own variables.
    std::string v_mode;
    bool v_fullscreen = false;
    bool v_vsync = true;
    float v_brightness = 1.0f;
    float v_contrast = 1.0f;
    float v_gamma = 1.0f;
    bool r_use_mip_mapping = true;
    bool r_show_octree_nodes = false;
    bool r_show_faces_edges = false;
    bool r_show_faces_normals = false;
    bool r_show_mip_maps = false;
    std::int32_t r_texture_anisotropy = 1;
    bool c_invert_mouse = false;
    std::int32_t sc_take_screenshot_format = 0;

private:
    // A line of the file whose name was not registered when it was read, and where it stood.
    struct PendingLine
    {
        std::string text;
        std::uint32_t number = 0;
    };

    Variable* Find(const std::string& name);
    const Variable* Find(const std::string& name) const;
    Variable* FindAttached(const std::string& name);
    static std::string ValueOf(const Variable& variable);
    static void Store(Variable& variable, const std::string& text);
    static bool UpdateLastSeen(Variable& variable);
    void ResetVariable(Variable& variable);
    void ReadFile();
    bool ReadFileLine(const std::string& line, std::uint32_t number);
    void ExecutePending(const Variable& variable, const PendingLine& line);
    void KeepUnreadableFile(std::uint32_t lineNumber);
    std::string PendingLines() const;

    std::string m_name;
    std::string m_path;
    MessageManager* m_log;
    FileManager* m_fileManager;
    bool m_videoModeForced;
    bool m_fullScreenForced;
    std::map<std::string, Variable> m_variables;  // lower-case names, walked in ascending order
    std::map<std::string, PendingLine> m_pending; // file lines of names not registered yet
    bool m_keptUnreadable = false;                // the file read last is kept as ".bad" already
};

} // namespace KeystrelEngine
