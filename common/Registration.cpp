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

// Whether `path` below HKEY_CURRENT_USER is missing.
bool isGone(const std::string& path) noexcept {
    try {
        Registry& registry = Port<Registry>::get();
        RegKey key = 0;
        RegStatus status = registry.openKeyEx(reg::kCurrentUser, path, reg::kKeyRead, key);
        if (status == reg::kSuccess) registry.closeKey(key);
        return status == reg::kFileNotFound;
    } catch (...) {
        return false;
    }
}

// Deletes `path` below HKEY_CURRENT_USER with its subkeys; true when it is gone.
bool deleteTree(const std::string& path) {
    if (isGone(path)) return true;
    const std::size_t slash = path.rfind('\\');
    CWinReg parent;
    if (parent.InitForAllAccess(CWinReg::HKeyCurrentUser(), path.substr(0, slash)))
        parent.DeleteKeyRec(path.substr(slash + 1));
    return isGone(path);
}

// Creates (or opens) `path` below HKEY_CURRENT_USER and sets its default value.
bool writeKey(CWinReg& key, const std::string& path, const std::string& value) {
    return key.InitForWrite(CWinReg::HKeyCurrentUser(), path, true) && key.WriteString("", value);
}

bool writeClass(const Registration& r, const std::string& modulePath) {
    const std::string path = classKeyPath(r);
    CWinReg key;
    if (!writeKey(key, path, r.description)) return false;
    if (!writeKey(key, path + "\\InprocServer32", modulePath)) return false;
    if (!key.WriteString("ThreadingModel", "Apartment")) return false;
    if (!writeKey(key, path + "\\ProgID", r.progId)) return false;
    return key.CloseKey();
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

bool removeAll(const Registration& r, bool takeProgId) {
    bool ok = deleteTree(addinKeyPath(r));
    if (takeProgId || progIdNamesOurClass(r)) ok = deleteTree(progIdKeyPath(r)) && ok;
    ok = deleteTree(classKeyPath(r)) && ok;
    return ok;
}

}  // namespace

bool isValidRegistration(const Registration& r) {
    return isBracedGuid(r.clsid) && isProgId(r.progId) && isApplicationName(r.officeApplication);
}

std::string classKeyPath(const Registration& r) {
    return std::string(kClasses) + "\\CLSID\\" + r.clsid;
}

std::string progIdKeyPath(const Registration& r) { return std::string(kClasses) + "\\" + r.progId; }

std::string addinKeyPath(const Registration& r) {
    return "Software\\Microsoft\\Office\\" + r.officeApplication + "\\Addins\\" + r.progId;
}

bool writeRegistration(const Registration& r, const std::string& modulePath) noexcept {
    try {
        if (!isValidRegistration(r) || modulePath.empty()) return false;
        // Start from nothing, so that no value or subkey of an earlier
        // registration outlives this one.
        if (!removeAll(r, true)) return false;
        if (writeClass(r, modulePath) && writeProgId(r) && writeAddin(r)) return true;
        removeAll(r, true);
        return false;
    } catch (...) {
        try {
            removeAll(r, true);
        } catch (...) {
        }
        return false;
    }
}

bool removeRegistration(const Registration& r) noexcept {
    try {
        return isValidRegistration(r) && removeAll(r, false);
    } catch (...) {
        return false;
    }
}

}  // namespace cq
