// The Win32 stand-in: everything the engine uses of the Windows kernel, user, shell and runtime services.
#pragma once

#include "platform/win32/Com.h"
#include "platform/win32/Files.h"
#include "platform/win32/Input.h"
#include "platform/win32/Keyboard.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Registry.h"
#include "platform/win32/Text.h"
#include "platform/win32/Thread.h"
#include "platform/win32/Time.h"
#include "platform/win32/Types.h"
#include "platform/win32/Window.h"
