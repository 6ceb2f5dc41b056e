#include "tests/support/TestEnvironment.h"

#include "platform/testing.h"

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace TestSupport {
namespace {

struct ProcessFolders
{
    std::string root;
    std::string base;

    ProcessFolders()
    {
        std::string pattern = (fs::temp_directory_path() / "quellhaven-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create the test folder");
        root = pattern;
        base = root + "/base";
        Empty();
        ::setenv("HOME", (root + "/home").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root + "/xdg-data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root + "/xdg-config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (root + "/xdg-cache").c_str(), 1);
        for (const char* locale : {"LC_ALL", "LC_MESSAGES", "LANG"}) // the game's language follows the locale
            ::unsetenv(locale);
        PlatformTesting::SetModuleFileName(base + "/quellhaven");
    }

    // Every folder made anew and empty, so no test sees what an earlier test of the process left behind.
    void Empty() const
    {
        for (const char* sub : {"/home", "/xdg-data", "/xdg-config", "/xdg-cache", "/base"}) {
            fs::remove_all(root + sub);
            fs::create_directories(root + sub);
        }
    }

    ~ProcessFolders()
    {
        std::error_code error;
        fs::remove_all(root, error);
    }
};

ProcessFolders& Folders()
{
    static ProcessFolders folders;
    return folders;
}

class FreshFoldersPerTest : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override { Folders().Empty(); }
};

// Whether SDL gives a GL context to a hidden window of its own, apart from the game's windows and the render
// system under test; the context current before is current again after.
bool MachineMakesGLContext()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    SDL_Window* const previousWindow = SDL_GL_GetCurrentWindow();
    const SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    const SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (context)
        SDL_GL_DeleteContext(context);
    if (window)
        SDL_DestroyWindow(window);
    if (previousContext)
        SDL_GL_MakeCurrent(previousWindow, previousContext);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return context != nullptr;
}

} // namespace

const std::string& BaseFolder()
{
    return Folders().base;
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteFile(const std::string& path, const std::string& text)
{
    WriteFile(path, ToBytes(text));
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path)
{
    return fs::exists(path);
}

Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::string FreshFolder(const std::string& name)
{
    const std::string folder = BaseFolder() + "/" + name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

bool IsNoRenderDevice(std::string_view text)
{
    return text.starts_with("RenderSystem_D3D7: ") && !MachineMakesGLContext();
}

} // namespace TestSupport

int main(int argc, char** argv)
{
    TestSupport::BaseFolder(); // set the folders up before any test reads the environment
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestSupport::FreshFoldersPerTest);
    return RUN_ALL_TESTS();
}
