#include "common/Registration.h"

#include "common/CWinReg.h"
#include "common/Port.h"

#include <algorithm>

namespace cq {
namespace {

constexpr const char* kClasses = "Software\\Classes";
constexpr std::size_t kLongestProgId = 39;

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return upper(x) == upper(y); });
}

bool isBracedGuid(const std::string& s) {
    // {8-4-4-4-12}
    if (s.size() != 38 || s.front() != '{' || s.back() != '}') return false;
    for (std::size_t i = 1; i < 37; ++i) {
        bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? s[i] != '-' : !isHex(s[i])) return false;
    }
    return true;
}

// Letters, digits and periods, starting with a letter, with at least one
// period: a name of the form Program.Component, which can never be one of the
// keys of Software\Classes that are not ProgIDs (CLSID, Interface, AppID ...).
bool isProgId(const std::string& s) {
    if (s.empty() || s.size() > kLongestProgId || !isLetter(s.front())) return false;
    if (s.back() == '.') return false;
    bool period = false;
    for (char c : s) {
        if (c == '.') {
            period = true;
        } else if (!isLetter(c) && !isDigit(c)) {
            return false;
        }
    }
    return period;
}

bool isApplicationName(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), isLetter);
}

// The access flag that opens a key in `view`; none where there is one view.
RegAccess flagOf(RegistryView view) {
    switch (view) {
        case RegistryView::Bits64:
            return reg::kKeyWow64_64Key;
        case RegistryView::Bits32:
            return reg::kKeyWow64_32Key;
        case RegistryView::Only:
            break;
    }
    return 0;
}

RegistryView otherThan(RegistryView view) {
    return view == RegistryView::Bits64 ? RegistryView::Bits32 : RegistryView::Bits64;
}

// Whether `path` below HKEY_CURRENT_USER (in the view of `viewFlag`, when
// given) opens, is missing, or cannot be told.
RegStatus probe(const std::string& path, RegAccess viewFlag) noexcept {
    try {
        Registry& registry = Port<Registry>::get();
        RegKey key = 0;
        RegStatus status =
            registry.openKeyEx(reg::kCurrentUser, path, reg::kKeyRead | viewFlag, key);
        if (status == reg::kSuccess) registry.closeKey(key);
        return status;
    } catch (...) {
        return reg::kInvalidFunction;
    }
}

bool isGone(const std::string& path, RegAccess viewFlag) {
    return probe(path, viewFlag) == reg::kFileNotFound;
}

// Deletes `path` below HKEY_CURRENT_USER with its subkeys; true when it is gone.
bool deleteTree(const std::string& path, RegAccess viewFlag = 0) {
    if (isGone(path, viewFlag)) return true;
    const std::size_t slash = path.rfind('\\');
    CWinReg parent;
    if (parent.InitForAccess(CWinReg::HKeyCurrentUser(), path.substr(0, slash),
                             reg::kKeyAllAccess | viewFlag))
        parent.DeleteKeyRec(path.substr(slash + 1));
    return isGone(path, viewFlag);
}

// Creates (or opens) `path` below HKEY_CURRENT_USER and sets its default value.
bool writeKey(CWinReg& key, const std::string& path, const std::string& value,
              RegAccess viewFlag = 0) {
    return key.InitForAccess(CWinReg::HKeyCurrentUser(), path,
                             reg::kKeyRead | reg::kKeyWrite | viewFlag, true) &&
           key.WriteString("", value);
}

bool writeClass(const Registration& r, const std::string& modulePath, RegistryView view) {
    const std::string path = classKeyPath(r);
    const RegAccess flag = flagOf(view);
    CWinReg key;
    if (!writeKey(key, path, r.description, flag)) return false;
    if (!writeKey(key, path + "\\InprocServer32", modulePath, flag)) return false;
    if (!key.WriteString("ThreadingModel", "Apartment")) return false;
    if (!writeKey(key, path + "\\ProgID", r.progId, flag)) return false;
    if (!r.typeLib.empty() && !writeKey(key, path + "\\TypeLib", r.typeLib, flag)) return false;
    return key.CloseKey();
}

// The subkey of the type library's version that names the module of `view`.
std::string typeLibModuleKey(const Registration& r, RegistryView view) {
    return typeLibKeyPath(r) + "\\1.0\\0\\" + (view == RegistryView::Bits64 ? "win64" : "win32");
}

bool writeTypeLib(const Registration& r, const std::string& modulePath, RegistryView view) {
    if (r.typeLib.empty()) return true;
    const std::string version = typeLibKeyPath(r) + "\\1.0";
    CWinReg key;
    return writeKey(key, version, r.description) &&
           writeKey(key, typeLibModuleKey(r, view), modulePath) &&
           writeKey(key, version + "\\FLAGS", "0") && key.CloseKey();
}

bool writeProgId(const Registration& r) {
    const std::string path = progIdKeyPath(r);
    CWinReg key;
    return writeKey(key, path, r.description) && writeKey(key, path + "\\CLSID", r.clsid) &&
           key.CloseKey();
}

bool writeAddin(const Registration& r) {
    CWinReg key;
    return key.InitForWrite(CWinReg::HKeyCurrentUser(), addinKeyPath(r), true) &&
           key.WriteString("FriendlyName", r.friendlyName) &&
           key.WriteString("Description", r.description) &&
           key.WriteDword("LoadBehavior", kLoadAtStartup) && key.CloseKey();
}

// Whether the ProgID key is ours to remove: it points at our class.
bool progIdNamesOurClass(const Registration& r) {
    CWinReg key;
    if (!key.InitForRead(CWinReg::HKeyCurrentUser(), progIdKeyPath(r) + "\\CLSID")) return false;
    return sameText(key.ReadString(""), r.clsid);
}

// Whether the build of `view` is registered: its class names a module. When
// that cannot be told, it counts as registered, so that nothing of it is taken.
bool holdsClass(const Registration& r, RegistryView view) {
    return probe(classKeyPath(r) + "\\InprocServer32", flagOf(view)) != reg::kFileNotFound;
}

// The class of `view` first: where a registry does not keep the views apart
// (Wine's), the other view is then seen without it.
bool removeAll(const Registration& r, RegistryView view, bool takeProgId) {
    bool ok = deleteTree(classKeyPath(r), flagOf(view));
    if (!r.typeLib.empty()) ok = deleteTree(typeLibModuleKey(r, view)) && ok;
    // The shared keys serve the other view's build as long as it is there.
    if (view != RegistryView::Only && holdsClass(r, otherThan(view))) return ok;
    if (!r.typeLib.empty()) ok = deleteTree(typeLibKeyPath(r)) && ok;
    ok = deleteTree(addinKeyPath(r)) && ok;
    if (takeProgId || progIdNamesOurClass(r)) ok = deleteTree(progIdKeyPath(r)) && ok;
    return ok;
}

}  // namespace

bool isValidRegistration(const Registration& r) {
    return isBracedGuid(r.clsid) && isProgId(r.progId) && isApplicationName(r.officeApplication) &&
           (r.typeLib.empty() || isBracedGuid(r.typeLib));
}

std::string classKeyPath(const Registration& r) {
    return std::string(kClasses) + "\\CLSID\\" + r.clsid;
}

std::string progIdKeyPath(const Registration& r) { return std::string(kClasses) + "\\" + r.progId; }

std::string typeLibKeyPath(const Registration& r) {
    return r.typeLib.empty() ? "" : std::string(kClasses) + "\\TypeLib\\" + r.typeLib;
}

std::string addinKeyPath(const Registration& r) {
    return "Software\\Microsoft\\Office\\" + r.officeApplication + "\\Addins\\" + r.progId;
}

bool writeRegistration(const Registration& r, const std::string& modulePath,
                       RegistryView view) noexcept {
    try {
        if (!isValidRegistration(r) || modulePath.empty()) return false;
        // Start from nothing, so that no value or subkey of an earlier
        // registration outlives this one (but the other view's build stays).
        if (!removeAll(r, view, true)) return false;
        if (writeClass(r, modulePath, view) && writeTypeLib(r, modulePath, view) &&
            writeProgId(r) && writeAddin(r))
            return true;
        removeAll(r, view, true);
        return false;
    } catch (...) {
        try {
            removeAll(r, view, true);
        } catch (...) {
        }
        return false;
    }
}

bool removeRegistration(const Registration& r, RegistryView view) noexcept {
    try {
        return isValidRegistration(r) && removeAll(r, view, false);
    } catch (...) {
        return false;
    }
}

}  // namespace cq
