#include "platform/dinput/DInput.h"
#include "platform/testing.h"
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class DirectInputTest : public ::testing::Test
{
protected:
    DirectInputTest()
    {
        PlatformTesting::ResetInput();
        void* created = nullptr;
        EXPECT_EQ(
            DirectInputCreateEx(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput7A, &created, nullptr),
            DI_OK);
        directInput = static_cast<IDirectInput7A*>(created);
    }

    ~DirectInputTest() override
    {
        for (IDirectInputDevice7A* device : devices)
            device->Release();
        directInput->Release();
        PlatformTesting::ClearInputFailures();
    }

    // A device with its format and level set; buffered with the given room unless 0; acquired.
    IDirectInputDevice7A* Open(const GUID& guid, DWORD bufferSize)
    {
        void* created = nullptr;
        EXPECT_EQ(directInput->CreateDeviceEx(guid, IID_IDirectInputDevice7A, &created, nullptr), DI_OK);
        auto* device = static_cast<IDirectInputDevice7A*>(created);
        devices.push_back(device);
        EXPECT_EQ(device->SetDataFormat(guid == GUID_SysMouse ? &c_dfDIMouse2 : &c_dfDIKeyboard), DI_OK);
        EXPECT_EQ(device->SetCooperativeLevel(GetDesktopWindow(), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
        if (bufferSize > 0) {
            EXPECT_EQ(SetBufferSize(device, bufferSize), DI_OK);
        }
        EXPECT_EQ(device->Acquire(), DI_OK);
        return device;
    }

    static HRESULT SetBufferSize(IDirectInputDevice7A* device, DWORD size)
    {
        DIPROPDWORD property;
        property.diph.dwSize = sizeof(DIPROPDWORD);
        property.diph.dwHeaderSize = sizeof(DIPROPHEADER);
        property.diph.dwHow = DIPH_DEVICE;
        property.dwData = size;
        return device->SetProperty(DIPROP_BUFFERSIZE, &property.diph);
    }

    static std::vector<DIDEVICEOBJECTDATA> Read(IDirectInputDevice7A* device, HRESULT expected = DI_OK)
    {
        std::vector<DIDEVICEOBJECTDATA> data(32);
        DWORD count = static_cast<DWORD>(data.size());
        EXPECT_EQ(device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data.data(), &count, 0), expected);
        data.resize(count);
        return data;
    }

    IDirectInput7A* directInput = nullptr;
    std::vector<IDirectInputDevice7A*> devices;
};

TEST_F(DirectInputTest, MouseReportsAxesWheelAndButtonsInWindowsOrder)
{
    IDirectInputDevice7A* mouse = Open(GUID_SysMouse, 16);
    PlatformTesting::InjectMouseMotion(nullptr, 0, 0, 3, -2);
    PlatformTesting::InjectMouseWheel(-1);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_RIGHT, true);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_X2, true);
    const std::vector<DIDEVICEOBJECTDATA> data = Read(mouse);
    ASSERT_EQ(data.size(), 5u);
    EXPECT_EQ(data[0].dwOfs, DIMOFS_X);
    EXPECT_EQ(data[0].dwData, 3u);
    EXPECT_EQ(data[1].dwOfs, DIMOFS_Y);
    EXPECT_EQ(static_cast<LONG>(data[1].dwData), -2);
    EXPECT_EQ(data[2].dwOfs, DIMOFS_Z);
    EXPECT_EQ(static_cast<LONG>(data[2].dwData), -120);
    EXPECT_EQ(data[3].dwOfs, DIMOFS_BUTTON0 + 1);
    EXPECT_EQ(data[3].dwData, 0x80u);
    EXPECT_EQ(data[4].dwOfs, DIMOFS_BUTTON0 + 4);
    EXPECT_LT(data[3].dwSequence, data[4].dwSequence);

    DIMOUSESTATE2 state;
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 3);
    EXPECT_EQ(state.lZ, -120);
    EXPECT_EQ(state.rgbButtons[1], 0x80);
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 0); // movement since the previous read
    EXPECT_EQ(state.rgbButtons[4], 0x80);
}

TEST_F(DirectInputTest, KeyboardQueuesChangesUpToItsRoom)
{
    IDirectInputDevice7A* keyboard = Open(GUID_SysKeyboard, 4);
    PlatformTesting::InjectKey(SDL_SCANCODE_Z, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_Z, true, true); // repeats are no change
    PlatformTesting::InjectKey(SDL_SCANCODE_Z, false);
    std::vector<DIDEVICEOBJECTDATA> data = Read(keyboard);
    ASSERT_EQ(data.size(), 2u);
    EXPECT_EQ(data[0].dwOfs, DIK_Z);
    EXPECT_EQ(data[0].dwData, 0x80u);
    EXPECT_EQ(data[1].dwData, 0u);

    for (SDL_Scancode key : {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3, SDL_SCANCODE_4, SDL_SCANCODE_5})
        PlatformTesting::InjectKey(key, true);
    data = Read(keyboard, DI_BUFFEROVERFLOW);
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(data[3].dwOfs, DIK_4);
    Read(keyboard, DI_OK);

    BYTE keys[256];
    ASSERT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
    EXPECT_EQ(keys[DIK_5], 0x80); // the state holds what the queue had no room for
    EXPECT_EQ(keys[DIK_Z], 0);
}

TEST_F(DirectInputTest, DevicesKeepTheAcquisitionRules)
{
    void* created = nullptr;
    ASSERT_EQ(directInput->CreateDeviceEx(GUID_SysKeyboard, IID_IDirectInputDevice7A, &created, nullptr), DI_OK);
    auto* keyboard = static_cast<IDirectInputDevice7A*>(created);
    devices.push_back(keyboard);
    EXPECT_TRUE(FAILED(keyboard->Acquire())); // no data format yet
    EXPECT_TRUE(FAILED(keyboard->SetDataFormat(&c_dfDIMouse2)));
    ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    PlatformTesting::InjectKey(SDL_SCANCODE_G, true);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->Acquire(), S_FALSE);
    EXPECT_TRUE(FAILED(SetBufferSize(keyboard, 8))); // only before acquiring

    DWORD count = 1;
    DIDEVICEOBJECTDATA data;
    EXPECT_TRUE(FAILED(keyboard->GetDeviceData(sizeof(data), &data, &count, 0))); // not buffered
    BYTE keys[256];
    ASSERT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
    EXPECT_EQ(keys[DIK_G], 0x80); // key states are kept before acquiring too

    keyboard->Unacquire();
    EXPECT_TRUE(FAILED(keyboard->GetDeviceState(sizeof(keys), keys)));
    EXPECT_EQ(SetBufferSize(keyboard, 8), DI_OK);

    PlatformTesting::FailInputCall(PlatformTesting::InputDevice::Keyboard, PlatformTesting::InputCall::Acquire,
                                   DIERR_INPUTLOST, 2);
    EXPECT_EQ(keyboard->Acquire(), DIERR_INPUTLOST);
    EXPECT_EQ(keyboard->Acquire(), DIERR_INPUTLOST);
    EXPECT_EQ(keyboard->Acquire(), DI_OK);
}

TEST_F(DirectInputTest, MovingTheCursorIsNoMovementOfTheMouse)
{
    WNDCLASSA windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "Plain";
    RegisterClassA(&windowClass);
    const HWND window =
        CreateWindowExA(0, "Plain", "", WS_CAPTION, 100, 100, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    IDirectInputDevice7A* mouse = Open(GUID_SysMouse, 16);

    SetCursorPos(150, 170); // a warp to (50, 70) in the window, which SDL reports as a motion
    PlatformTesting::InjectMouseMotion(window, 52, 70, 2, 0);
    const std::vector<DIDEVICEOBJECTDATA> data = Read(mouse);
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0].dwData, 2u);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 152);
    EXPECT_EQ(cursor.y, 170);
    DestroyWindow(window);
    UnregisterClassA("Plain", nullptr);
}

} // namespace
