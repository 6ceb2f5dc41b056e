#include "platform/win32/Keyboard.h"

#include "platform/testing.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

HKL ToLayout(std::uintptr_t value)
{
    return reinterpret_cast<HKL>(value);
}

std::uintptr_t ValueOf(HKL layout)
{
    return reinterpret_cast<std::uintptr_t>(layout);
}

HKL LayoutOfLanguage(WORD language)
{
    return ToLayout(static_cast<std::uintptr_t>(language) << 16 | language);
}

struct Layouts
{
    std::mutex mutex;
    std::vector<HKL> installed{LayoutOfLanguage(0x0409)};
    HKL active = installed.front();
};

Layouts& State()
{
    static Layouts layouts;
    return layouts;
}

// The installed layout a handle names; null when there is none.
HKL FindInstalled(const std::vector<HKL>& installed, HKL layout)
{
    const std::uintptr_t value = ValueOf(layout);
    const auto found = std::find_if(installed.begin(), installed.end(), [value](HKL held) {
        return (value >> 16) == 0 ? (ValueOf(held) & 0xFFFF) == value : ValueOf(held) == value;
    });
    return found == installed.end() ? nullptr : *found;
}

bool ParseLayoutName(LPCSTR name, std::uint32_t& identifier)
{
    if (!name || std::char_traits<char>::length(name) != 8 ||
        !std::all_of(name, name + 8, [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return false;
    identifier = static_cast<std::uint32_t>(std::strtoul(name, nullptr, 16));
    return (identifier & 0xFFFF) != 0;
}

} // namespace

HKL GetKeyboardLayout(DWORD /*threadId*/)
{
    Layouts& state = State();
    std::lock_guard lock(state.mutex);
    return state.active;
}

HKL ActivateKeyboardLayout(HKL layout, UINT /*flags*/)
{
    Layouts& state = State();
    std::lock_guard lock(state.mutex);
    const HKL found = FindInstalled(state.installed, layout);
    if (!found)
        return nullptr;
    const HKL previous = state.active;
    state.active = found;
    return previous;
}

HKL LoadKeyboardLayoutA(LPCSTR name, UINT flags)
{
    std::uint32_t identifier = 0;
    if (!ParseLayoutName(name, identifier))
        return nullptr;
    const HKL layout = LayoutOfLanguage(static_cast<WORD>(identifier));
    Layouts& state = State();
    std::lock_guard lock(state.mutex);
    if (!FindInstalled(state.installed, layout))
        state.installed.push_back(layout);
    if (flags & KLF_ACTIVATE)
        state.active = layout;
    return layout;
}

BOOL UnloadKeyboardLayout(HKL layout)
{
    Layouts& state = State();
    std::lock_guard lock(state.mutex);
    const auto found = std::find(state.installed.begin(), state.installed.end(), layout);
    if (found == state.installed.end())
        return FALSE;
    state.installed.erase(found);
    if (state.active == layout)
        state.active = state.installed.empty() ? nullptr : state.installed.front();
    return TRUE;
}

void PlatformTesting::SetKeyboardLayouts(const std::vector<WORD>& languages, WORD active)
{
    Layouts& state = State();
    std::lock_guard lock(state.mutex);
    state.installed.clear();
    for (const WORD language : languages)
        state.installed.push_back(LayoutOfLanguage(language));
    if (state.installed.empty())
        state.installed.push_back(LayoutOfLanguage(0x0409));
    state.active = FindInstalled(state.installed, ToLayout(active));
    if (!state.active)
        state.active = state.installed.front();
}

std::vector<WORD> PlatformTesting::InstalledKeyboardLayouts()
{
    Layouts& state = State();
    std::lock_guard lock(state.mutex);
    std::vector<WORD> languages;
    for (const HKL layout : state.installed)
        languages.push_back(static_cast<WORD>(ValueOf(layout)));
    return languages;
}
