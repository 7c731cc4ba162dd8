#pragma once
// Per-user registration of an in-process COM add-in, without administrator
// rights. Everything lives below HKEY_CURRENT_USER:
//   Software\Classes\CLSID\{clsid}                 (default) = description
//       InprocServer32                             (default) = module path,
//                                                  ThreadingModel = "Apartment"
//       ProgID                                     (default) = ProgID
//   Software\Classes\<ProgID>                      (default) = description
//       CLSID                                      (default) = {clsid}
//   Software\Microsoft\Office\<App>\Addins\<ProgID>
//       FriendlyName, Description (REG_SZ), LoadBehavior (REG_DWORD 3)
// Those three keys belong to the add-in; nothing else is written or removed.
// The calls go through Port<Registry>.

#include <string>

namespace cq {

// One add-in as it is registered.
struct Registration {
    std::string clsid;  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
    std::string progId;
    std::string description;
    std::string friendlyName;
    std::string officeApplication;  // "Outlook" or "Word"
};

// The add-in starts with its host.
inline constexpr int kLoadAtStartup = 3;

// Whether the registration names only keys of its own: a braced CLSID of hex
// digits, and a ProgID and Office application name that are not empty and hold
// no backslash. Registering or removing anything else is refused.
bool isValidRegistration(const Registration& r);

// The three keys of the add-in, below HKEY_CURRENT_USER.
std::string classKeyPath(const Registration& r);
std::string progIdKeyPath(const Registration& r);
std::string addinKeyPath(const Registration& r);

// Writes the registration for the module at `modulePath`. Keys left by an
// earlier registration are replaced, so registering again gives one
// registration. On failure whatever was written is removed again and false is
// returned. Never throws.
bool writeRegistration(const Registration& r, const std::string& modulePath) noexcept;

// Removes the add-in's keys with their subkeys. The ProgID key stays when it
// names another class. True when none of the removed keys is left (also when
// they were not there). Never throws.
bool removeRegistration(const Registration& r) noexcept;

}  // namespace cq
