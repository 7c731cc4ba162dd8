#pragma once
// Per-user registration of an in-process COM add-in, without administrator
// rights, side by side with a build of the other bitness. Everything lives
// below HKEY_CURRENT_USER:
//   Software\Classes\CLSID\{clsid}                 (default) = description
//       InprocServer32                             (default) = module path,
//                                                  ThreadingModel = "Apartment"
//       ProgID                                     (default) = ProgID
//   Software\Classes\<ProgID>                      (default) = description
//       CLSID                                      (default) = {clsid}
//   Software\Microsoft\Office\<App>\Addins\<ProgID>
//       FriendlyName, Description (REG_SZ), LoadBehavior (REG_DWORD 3)
// and, for an add-in that carries a type library (the module's TYPELIB
// resource), the class's TypeLib subkey and
//   Software\Classes\CLSID\{clsid}\TypeLib       (default) = {libid}
//   Software\Classes\TypeLib\{libid}\1.0          (default) = description
//       0\win32 (or 0\win64 for the 64-bit build)  (default) = module path
//       FLAGS                                      (default) = "0"
// Those keys belong to the add-in; nothing else is written or removed.
// The calls go through Port<Registry>.
//
// On 64-bit Windows the class key exists once per registry view: a 32-bit
// process that names Software\Classes\CLSID reaches
// Software\Classes\Wow6432Node\CLSID. The ProgID key and the Addins key are
// one for both views, and so is the TypeLib key, in which each build has a
// subkey of its own (win32, win64). So the 32-bit and the 64-bit build are
// registered at once under the same CLSID and ProgID, each class key naming the build of its view,
// and Outlook of either bitness loads its own build. Each build writes and
// removes the class key of its own view only; the shared keys stay while the
// other view still holds the class and go with the last one. On 32-bit Windows
// there is one view, named by no flag (older systems know none), and the rules
// come to the same thing.

#include <string>

namespace cq {

// One add-in as it is registered.
struct Registration {
    std::string clsid;  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
    std::string progId;
    std::string description;
    std::string friendlyName;
    std::string officeApplication;  // "Outlook" or "Word"
    std::string typeLib = {};       // "{libid}" of the type library; empty for none
};

// A registry view of 64-bit Windows, or Only on a system with one view; and
// the view that this build registers in on 64-bit Windows (a 32-bit build on
// 32-bit Windows registers in Only; the platform code tells them apart).
enum class RegistryView { Only, Bits32, Bits64 };
inline constexpr RegistryView kThisBuildsView =
    sizeof(void*) == 8 ? RegistryView::Bits64 : RegistryView::Bits32;

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
// Software\Classes\TypeLib\{libid}; empty when the add-in has no type library.
std::string typeLibKeyPath(const Registration& r);

// Writes the registration for the module at `modulePath`, its class key in
// `view`. Keys left by an earlier registration are replaced, so registering
// again gives one registration. On failure whatever was written is removed
// again (as removeRegistration does) and false is returned. Never throws.
bool writeRegistration(const Registration& r, const std::string& modulePath,
                       RegistryView view = kThisBuildsView) noexcept;

// Removes the add-in's class key of `view` with its subkeys, and, unless the
// other view still holds the class, the Addins key and the ProgID key (which
// stays anyway when it names another class). True when none of the removed
// keys is left (also when they were not there). Never throws.
bool removeRegistration(const Registration& r, RegistryView view = kThisBuildsView) noexcept;

}  // namespace cq
