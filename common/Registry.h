#pragma once
// The registry as the portable code sees it: the ten calls that CWinReg makes,
// with the Windows status numbers and handle values. The names of keys and
// values and the data of text values are UTF-8 here; the Win32 implementation
// converts them at the ANSI functions.

#include <cstdint>
#include <string>

namespace cq {

// An open key: a predefined root or a handle returned by openKeyEx/createKeyEx,
// as wide as a pointer (Windows' HKEY); 0 is no key.
using RegKey = std::intptr_t;
// A predefined root as CWinReg publishes it: a 32-bit signed number.
using RootKeyNumber = std::int32_t;
// Result of a registry call: 0 for success, otherwise a Windows error number.
using RegStatus = std::int32_t;
using RegAccess = std::uint32_t;
using RegType = std::uint32_t;

namespace reg {

// A root number as a key handle: sign-extended to the pointer's width, as
// Windows defines its predefined keys ((HKEY)(ULONG_PTR)(LONG)0x80000001).
constexpr RegKey rootKey(RootKeyNumber number) { return static_cast<RegKey>(number); }

// Predefined root keys, by number and as handles.
inline constexpr RootKeyNumber kClassesRootNumber = -2147483647 - 1;  // 0x80000000
inline constexpr RootKeyNumber kCurrentUserNumber = -2147483647;      // 0x80000001
inline constexpr RootKeyNumber kLocalMachineNumber = -2147483646;     // 0x80000002
inline constexpr RootKeyNumber kUsersNumber = -2147483645;            // 0x80000003
inline constexpr RegKey kClassesRoot = rootKey(kClassesRootNumber);
inline constexpr RegKey kCurrentUser = rootKey(kCurrentUserNumber);
inline constexpr RegKey kLocalMachine = rootKey(kLocalMachineNumber);
inline constexpr RegKey kUsers = rootKey(kUsersNumber);

// Status numbers.
inline constexpr RegStatus kSuccess = 0;
inline constexpr RegStatus kInvalidFunction = 1;
inline constexpr RegStatus kFileNotFound = 2;
inline constexpr RegStatus kAccessDenied = 5;
inline constexpr RegStatus kInvalidHandle = 6;
inline constexpr RegStatus kOutOfMemory = 14;
inline constexpr RegStatus kInvalidParameter = 87;
inline constexpr RegStatus kBadPathname = 161;
inline constexpr RegStatus kMoreData = 234;
inline constexpr RegStatus kNoMoreItems = 259;
inline constexpr RegStatus kKeyDeleted = 1018;

// Access rights.
inline constexpr RegAccess kKeyQueryValue = 0x0001;
inline constexpr RegAccess kKeySetValue = 0x0002;
inline constexpr RegAccess kKeyCreateSubKey = 0x0004;
inline constexpr RegAccess kKeyEnumerateSubKeys = 0x0008;
inline constexpr RegAccess kKeyNotify = 0x0010;
inline constexpr RegAccess kKeyCreateLink = 0x0020;
inline constexpr RegAccess kKeyRead = 0x20019;
inline constexpr RegAccess kKeyWrite = 0x20006;
inline constexpr RegAccess kKeyAllAccess = 0xF003F;
// The registry view of 64-bit Windows that a key is opened in, whatever the
// caller's bitness (KEY_WOW64_64KEY, KEY_WOW64_32KEY); ignored elsewhere.
inline constexpr RegAccess kKeyWow64_64Key = 0x0100;
inline constexpr RegAccess kKeyWow64_32Key = 0x0200;
inline constexpr RegAccess kMaximumAllowed = 0x02000000;
inline constexpr RegAccess kGenericAll = 0x10000000;
inline constexpr RegAccess kGenericExecute = 0x20000000;
inline constexpr RegAccess kGenericWrite = 0x40000000;
inline constexpr RegAccess kGenericRead = 0x80000000;

// Value types.
inline constexpr RegType kNone = 0;
inline constexpr RegType kSz = 1;
inline constexpr RegType kExpandSz = 2;
inline constexpr RegType kBinary = 3;
inline constexpr RegType kDword = 4;
inline constexpr RegType kDwordBigEndian = 5;
inline constexpr RegType kMultiSz = 7;

// Key options and dispositions of createKeyEx.
inline constexpr std::uint32_t kOptionNonVolatile = 0;
inline constexpr std::uint32_t kCreatedNewKey = 1;
inline constexpr std::uint32_t kOpenedExistingKey = 2;

// Whether values of type `type` hold text (converted at the ANSI edge).
constexpr bool isText(RegType type) { return type == kSz || type == kExpandSz || type == kMultiSz; }

}  // namespace reg

class Registry {
  public:
    virtual ~Registry() = default;

    // RegOpenKeyEx: opens `subKey` (backslash-separated, may be empty) below `key`
    // with `access`; `result` receives the new handle, 0 on failure.
    virtual RegStatus openKeyEx(RegKey key, const std::string& subKey, RegAccess access,
                                RegKey& result) = 0;
    // RegCreateKeyEx: opens `subKey`, creating it and its missing parents first.
    // `disposition`, when given, receives kCreatedNewKey or kOpenedExistingKey.
    virtual RegStatus createKeyEx(RegKey key, const std::string& subKey, std::uint32_t options,
                                  RegAccess access, RegKey& result, std::uint32_t* disposition) = 0;
    // RegCloseKey. Closing a predefined root succeeds and changes nothing.
    virtual RegStatus closeKey(RegKey key) = 0;
    // RegSetValueEx: stores `size` bytes of `data` as value `name` ("" is the
    // key's default value). Text data is UTF-8 with its terminating NUL(s).
    virtual RegStatus setValueEx(RegKey key, const std::string& name, RegType type,
                                 const std::uint8_t* data, std::uint32_t size) = 0;
    // RegQueryValueEx: `*type` receives the type when `type` is given. `*size`
    // holds the capacity of `data` and receives the size of the value. Without
    // `data` only the size is reported; with a buffer that is too small the call
    // returns kMoreData and `*size` is the size needed.
    virtual RegStatus queryValueEx(RegKey key, const std::string& name, RegType* type,
                                   std::uint8_t* data, std::uint32_t* size) = 0;
    // RegDeleteValue.
    virtual RegStatus deleteValue(RegKey key, const std::string& name) = 0;
    // RegDeleteKey: fails with kAccessDenied while the key has subkeys.
    virtual RegStatus deleteKey(RegKey key, const std::string& subKey) = 0;
    // RegFlushKey.
    virtual RegStatus flushKey(RegKey key) = 0;
    // RegEnumValue and RegEnumKeyEx: the name of the value or subkey at `index`.
    // `nameSize` holds the capacity of the caller's buffer in characters, its
    // terminating NUL included, and on success receives the name's length.
    // kMoreData when the name does not fit, kNoMoreItems past the last item.
    virtual RegStatus enumValue(RegKey key, std::uint32_t index, std::string& name,
                                std::uint32_t& nameSize) = 0;
    virtual RegStatus enumKeyEx(RegKey key, std::uint32_t index, std::string& name,
                                std::uint32_t& nameSize) = 0;
};

}  // namespace cq
