#include "common/win32/Win32MsgBox.h"

#include <windows.h>

#include "common/HostError.h"
#include "common/win32/Text.h"

namespace cq::win32 {

std::int32_t Win32MsgBox::show(const std::string& prompt, std::int32_t buttons,
                               const std::string& title) {
    const std::string text = toAnsi(prompt);
    const std::string caption = toAnsi(title);
    int answer =
        MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), static_cast<UINT>(buttons));
    if (answer == 0) {
        throw HostError(static_cast<std::int32_t>(HRESULT_FROM_WIN32(GetLastError())),
                        "MessageBoxA failed");
    }
    return answer;
}

}  // namespace cq::win32
