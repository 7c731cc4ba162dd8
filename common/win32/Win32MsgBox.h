#pragma once
// The MsgBox of Windows: MessageBoxA, owned by the active window of the
// calling thread so that it is modal to the host's window.

#include "common/MsgBox.h"

namespace cq::win32 {

class Win32MsgBox final : public MsgBox {
  public:
    std::int32_t show(const std::string& prompt, std::int32_t buttons,
                      const std::string& title) override;
};

}  // namespace cq::win32
