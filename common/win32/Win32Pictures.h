#pragma once
// The Pictures of Windows: bitmap and icon resources of one module, loaded
// with LoadImage (bitmaps as DIB sections, so they keep their 24 bits) and
// handed out as OLE picture objects (IPictureDisp) that own their handles.

#include <windows.h>

#include "common/Pictures.h"

namespace cq::win32 {

class Win32Pictures final : public Pictures {
  public:
    // Loads from `module`, normally the add-in's own DLL.
    explicit Win32Pictures(HMODULE module) : module_(module) {}

    Dispatch bitmap(const std::string& name) override;
    Dispatch icon(const std::string& name) override;

  private:
    HMODULE module_;
};

}  // namespace cq::win32
