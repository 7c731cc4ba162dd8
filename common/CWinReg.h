#pragma once
// CWinReg: one open registry key per object, with typed reads and writes,
// enumeration of its values and subkeys, and deletion of subkey trees.
// Nothing is ever thrown out of it: failures read as False, the empty string,
// 0 or the caller's default, also when no registry is installed.

#include "common/DateTime.h"
#include "common/Registry.h"

#include <cstdint>
#include <string>

namespace cq {

class CWinReg {
  public:
    CWinReg() noexcept = default;
    // Closes the open key.
    ~CWinReg();
    CWinReg(const CWinReg&) = delete;
    CWinReg& operator=(const CWinReg&) = delete;

    // The predefined roots HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and
    // HKEY_LOCAL_MACHINE as 32-bit signed numbers, spelled so that they never
    // meet the macros of the same names in the Windows headers. Passed as
    // `nRootKey` they become handles sign-extended, as Windows defines them.
    static constexpr RootKeyNumber HKeyClassesRoot() noexcept { return reg::kClassesRootNumber; }
    static constexpr RootKeyNumber HKeyCurrentUser() noexcept { return reg::kCurrentUserNumber; }
    static constexpr RootKeyNumber HKeyLocalMachine() noexcept { return reg::kLocalMachineNumber; }

    // Open `strSubKey` below `nRootKey` (a root or another object's open key).
    // A key this object still holds is closed, whatever the outcome; on failure
    // the object is left without a key.
    bool InitForRead(RegKey nRootKey, const std::string& strSubKey) noexcept;
    bool InitForWrite(RegKey nRootKey, const std::string& strSubKey, bool bCreate = false) noexcept;
    bool InitForAllAccess(RegKey nRootKey, const std::string& strSubKey,
                          bool bCreate = false) noexcept;
    bool InitForAccess(RegKey nRootKey, const std::string& strSubKey, RegAccess nAccess,
                       bool bCreate = false) noexcept;

    // Name of the value / subkey at zero-based position `nIndex`, or "".
    std::string Values(std::int32_t nIndex) noexcept;
    std::string Keys(std::int32_t nIndex) noexcept;
    // Deletes every subkey of the open key with its subtree; the key and its
    // values stay. True when every subkey is gone.
    bool DeleteAllKeys() noexcept;
    // Deletes the subkey `strSubKey` with its subtree; True when it is gone.
    bool DeleteKeyRec(const std::string& strSubKey) noexcept;

    // True when nothing was open or the key closed.
    bool CloseKey() noexcept;
    bool WriteString(const std::string& sName, const std::string& sValue) noexcept;
    // A REG_SZ or REG_EXPAND_SZ value (unexpanded) without its terminating NUL;
    // "" when missing, of another type or when no key is open.
    std::string ReadString(const std::string& sName) noexcept;
    bool WriteDword(const std::string& sName, std::int32_t nValue) noexcept;
    // A REG_DWORD value; `nDefault` when missing or of another type, 0 when no
    // key is open.
    std::int32_t ReadDword(const std::string& sName, std::int32_t nDefault) noexcept;
    // "yes" or "no".
    bool WriteBool(const std::string& sName, bool bValue) noexcept;
    // True when the string value is "yes" in any case.
    bool ReadBool(const std::string& sName) noexcept;
    // "yyyy.mm.dd hh:mm:ss".
    bool WriteDate(const std::string& sName, const DateTime& dtValue) noexcept;
    // `dtDefault` when missing or malformed.
    DateTime ReadDate(const std::string& sName, const DateTime& dtDefault) noexcept;
    bool DeleteValue(const std::string& sName) noexcept;
    // The subkey must have no subkeys of its own.
    bool DeleteKey(const std::string& sSubKey) noexcept;
    bool FlushKey() noexcept;

  private:
    RegStatus nameAt(bool keys, std::int32_t nIndex, std::string& name) noexcept;
    bool writeValue(const std::string& sName, RegType type, const std::string& bytes) noexcept;

    RegKey m_hKey = 0;
};

}  // namespace cq
