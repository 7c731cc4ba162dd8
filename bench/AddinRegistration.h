#pragma once
// An add-in DLL registered per user with regsvr32 for as long as this object
// lives. Wine 8 does not see per-user classes through HKEY_CLASSES_ROOT, so
// the class and ProgID keys are copied to HKLM\Software\Classes meanwhile.

#include <windows.h>

#include <string>

namespace cq::bench {

class AddinRegistration {
  public:
    // Throws std::runtime_error when regsvr32 fails or the ProgID is not registered.
    AddinRegistration(std::wstring dllPath, std::wstring progId);
    ~AddinRegistration();
    AddinRegistration(const AddinRegistration&) = delete;
    AddinRegistration& operator=(const AddinRegistration&) = delete;

    const CLSID& clsid() const { return clsid_; }

  private:
    std::wstring dll_;
    std::wstring progIdKey_;
    std::wstring classKey_;
    CLSID clsid_{};
};

}  // namespace cq::bench
