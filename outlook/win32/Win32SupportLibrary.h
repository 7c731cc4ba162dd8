#pragma once
// The support library port over the real LibQuintor.dll. The DLL is loaded on
// the first call, by full path from the folder of the module holding this code
// (the add-in's DLL) or else from the system folder; each export is looked up
// by name on its first call. Strings go to the library in the ANSI code page.

#include <windows.h>

#include <string>

#include "outlook/SupportLibrary.h"
#include "outlook/win32/LateBoundLibrary.h"

namespace cq::win32 {

class Win32SupportLibrary : public SupportLibrary {
  public:
    // LibQuintor.dll beside the module that holds this code.
    Win32SupportLibrary();
    // LibQuintor.dll in `folder` (UTF-8), else in the system folder.
    explicit Win32SupportLibrary(std::string folder);

    std::int32_t LibQuintorInitEx(std::uintptr_t hInstance, LibQuintorInitInfo& info) override;
    std::int32_t LibQuintorAddAboutMenu(std::uintptr_t hInstance,
                                        const Dispatch& explorer) override;
    std::int32_t LibQuintorInitComplete(std::uintptr_t hInstance) override;
    std::int32_t LibQuintorLogMsg(std::uintptr_t hInstance, const std::string& message,
                                  std::int32_t number, const std::string& source, std::int32_t kind,
                                  std::int32_t level) override;

    // The full path of the DLL in use (UTF-8); empty before the first call.
    const std::string& libraryPath() const { return library_.path(); }

  private:
    template <class Fn>
    Fn exportOf(FARPROC& slot, const char* name);

    LateBoundLibrary library_;
    FARPROC initEx_ = nullptr;
    FARPROC addAboutMenu_ = nullptr;
    FARPROC initComplete_ = nullptr;
    FARPROC logMsg_ = nullptr;
};

}  // namespace cq::win32
