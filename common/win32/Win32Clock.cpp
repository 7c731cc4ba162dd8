#include "common/win32/Win32Clock.h"

#include <windows.h>

namespace cq::win32 {

DateTime Win32Clock::now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace cq::win32
