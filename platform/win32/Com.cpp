#include "platform/win32/Com.h"

namespace {

thread_local int t_comStarts = 0;

} // namespace

HRESULT CoInitialize(LPVOID /*reserved*/)
{
    return t_comStarts++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (t_comStarts > 0)
        --t_comStarts;
}
