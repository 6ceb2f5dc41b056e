// What the benchmarks share: medians and milliseconds, engine names and contents of temporary files, the count of
// allocations (for the programs that link AllocationCount.cpp), and the frame buffer a hand-written GL loop draws
// into and presents, so that it does the same work as the GL back end's frame.
#pragma once

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace BenchSupport {

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double Milliseconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The engine's name of an absolute path: backslashes, the leading slash marking it absolute.
inline std::string EngineName(const std::filesystem::path& path)
{
    std::string name = path.string();
    std::replace(name.begin() + 1, name.end(), '/', '\\');
    return name;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The allocations of the program so far (AllocationCount.cpp replaces operator new to count them).
std::uint64_t Allocations();

// An RGBA8 frame buffer of its own (with a 24-bit depth and stencil buffer when asked) in the current GL
// context; Present blits it to the window, swaps and waits for GL to finish.
class HandTarget
{
public:
    HandTarget(int width, int height, bool depth) : m_width(width), m_height(height)
    {
        Load(m_genFramebuffers, "glGenFramebuffers");
        Load(m_bindFramebuffer, "glBindFramebuffer");
        Load(m_genRenderbuffers, "glGenRenderbuffers");
        Load(m_bindRenderbuffer, "glBindRenderbuffer");
        Load(m_renderbufferStorage, "glRenderbufferStorage");
        Load(m_framebufferRenderbuffer, "glFramebufferRenderbuffer");
        Load(m_blitFramebuffer, "glBlitFramebuffer");
        GLuint buffers[2];
        m_genFramebuffers(1, &m_framebuffer);
        m_genRenderbuffers(2, buffers);
        m_bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        m_bindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
        m_renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        m_framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
        if (!depth)
            return;
        m_bindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
        m_renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
        m_framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
    }

    // Binds the frame buffer and sets the viewport to all of it.
    void Bind()
    {
        m_bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        glViewport(0, 0, m_width, m_height);
    }

    void Present()
    {
        int width = 0;
        int height = 0;
        SDL_Window* window = SDL_GL_GetCurrentWindow();
        SDL_GL_GetDrawableSize(window, &width, &height);
        m_bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        m_blitFramebuffer(0, 0, m_width, m_height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        SDL_GL_SwapWindow(window);
        glFinish();
    }

private:
    template <typename F> static void Load(F& function, const char* name)
    {
        function = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
    }

    int m_width;
    int m_height;
    GLuint m_framebuffer = 0;
    PFNGLGENFRAMEBUFFERSPROC m_genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC m_bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC m_genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC m_bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC m_renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC m_framebufferRenderbuffer = nullptr;
    PFNGLBLITFRAMEBUFFERPROC m_blitFramebuffer = nullptr;
};

} // namespace BenchSupport
