#include "common/CWinReg.h"

#include "common/Port.h"
#include "common/RegistryDate.h"

#include <algorithm>
#include <vector>

namespace cq {
namespace {

// Capacity of the first buffer for a string value.
constexpr std::uint32_t kFirstValueBuffer = 256;
// Capacity of the first buffer for a name, then of the retry: a value name has
// at most 16383 characters, a key name at most 255.
constexpr std::uint32_t kFirstNameBuffer = 255;
constexpr std::uint32_t kLongestNameBuffer = 16384;

// One registry call; a missing registry or anything thrown reads as a failure.
template <class Call>
RegStatus call(Call&& c) noexcept {
    try {
        if (!Port<Registry>::installed()) return reg::kInvalidFunction;
        return c(Port<Registry>::get());
    } catch (...) {
        return reg::kInvalidFunction;
    }
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

CWinReg::~CWinReg() { CloseKey(); }

bool CWinReg::InitForRead(RegKey nRootKey, const std::string& strSubKey) noexcept {
    return InitForAccess(nRootKey, strSubKey, reg::kKeyRead, false);
}

bool CWinReg::InitForWrite(RegKey nRootKey, const std::string& strSubKey, bool bCreate) noexcept {
    return InitForAccess(nRootKey, strSubKey, reg::kKeyRead | reg::kKeyWrite, bCreate);
}

bool CWinReg::InitForAllAccess(RegKey nRootKey, const std::string& strSubKey,
                               bool bCreate) noexcept {
    return InitForAccess(nRootKey, strSubKey, reg::kKeyAllAccess, bCreate);
}

bool CWinReg::InitForAccess(RegKey nRootKey, const std::string& strSubKey, RegAccess nAccess,
                            bool bCreate) noexcept {
    RegKey key = 0;
    RegStatus status = call([&](Registry& r) {
        return bCreate ? r.createKeyEx(nRootKey, strSubKey, reg::kOptionNonVolatile, nAccess, key,
                                       nullptr)
                       : r.openKeyEx(nRootKey, strSubKey, nAccess, key);
    });
    // The object holds one key: the previous one is released in any case. It
    // is closed after the open, so that a path relative to it still works.
    CloseKey();
    if (status != reg::kSuccess) return false;
    m_hKey = key;
    return true;
}

RegStatus CWinReg::nameAt(bool keys, std::int32_t nIndex, std::string& name) noexcept {
    try {
        const auto index = static_cast<std::uint32_t>(nIndex);
        RegStatus status = reg::kMoreData;
        for (std::uint32_t capacity : {kFirstNameBuffer, kLongestNameBuffer}) {
            std::uint32_t size = capacity;
            name.clear();
            status = call([&](Registry& r) {
                return keys ? r.enumKeyEx(m_hKey, index, name, size)
                            : r.enumValue(m_hKey, index, name, size);
            });
            if (status != reg::kMoreData) break;
        }
        if (status != reg::kSuccess) name.clear();
        return status;
    } catch (...) {
        name.clear();
        return reg::kOutOfMemory;
    }
}

std::string CWinReg::Values(std::int32_t nIndex) noexcept {
    std::string name;
    nameAt(false, nIndex, name);
    return name;
}

std::string CWinReg::Keys(std::int32_t nIndex) noexcept {
    std::string name;
    nameAt(true, nIndex, name);
    return name;
}

bool CWinReg::DeleteAllKeys() noexcept {
    try {
        // Every name first, so that the deletions cannot shift the enumeration.
        std::vector<std::string> names;
        RegStatus status = reg::kSuccess;
        for (std::int32_t i = 0; status == reg::kSuccess; ++i) {
            std::string name;
            status = nameAt(true, i, name);
            if (status != reg::kSuccess || name.empty()) break;
            names.push_back(std::move(name));
        }
        bool all = status == reg::kNoMoreItems;
        for (const std::string& name : names) {
            CWinReg child;
            if (child.InitForAllAccess(m_hKey, name)) {
                child.DeleteAllKeys();
                child.CloseKey();
            }
            // Whether the subkey is gone decides, whatever happened below it.
            if (!DeleteKey(name)) all = false;
        }
        return all;
    } catch (...) {
        return false;
    }
}

bool CWinReg::DeleteKeyRec(const std::string& strSubKey) noexcept {
    {
        CWinReg child;
        if (child.InitForAllAccess(m_hKey, strSubKey)) {
            child.DeleteAllKeys();
            child.CloseKey();
        }
    }
    return DeleteKey(strSubKey);
}

bool CWinReg::CloseKey() noexcept {
    if (m_hKey == 0) return true;
    RegStatus status = call([&](Registry& r) { return r.closeKey(m_hKey); });
    m_hKey = 0;
    return status == reg::kSuccess;
}

bool CWinReg::writeValue(const std::string& sName, RegType type,
                         const std::string& bytes) noexcept {
    if (m_hKey == 0) return false;
    if constexpr (sizeof(std::size_t) > sizeof(std::uint32_t)) {
        if (bytes.size() > UINT32_MAX) return false;
    }
    RegStatus status = call([&](Registry& r) {
        return r.setValueEx(m_hKey, sName, type,
                            reinterpret_cast<const std::uint8_t*>(bytes.data()),
                            static_cast<std::uint32_t>(bytes.size()));
    });
    return status == reg::kSuccess;
}

bool CWinReg::WriteString(const std::string& sName, const std::string& sValue) noexcept {
    try {
        // The text with its terminating NUL; an empty text is the NUL alone.
        return writeValue(sName, reg::kSz, std::string(sValue.c_str(), sValue.size() + 1));
    } catch (...) {
        return false;
    }
}

std::string CWinReg::ReadString(const std::string& sName) noexcept {
    if (m_hKey == 0) return {};
    try {
        std::vector<std::uint8_t> buffer(kFirstValueBuffer, 0);
        std::uint32_t size = kFirstValueBuffer;
        RegType type = reg::kNone;
        auto query = [&](Registry& r) {
            return r.queryValueEx(m_hKey, sName, &type, buffer.data(), &size);
        };
        RegStatus status = call(query);
        if (status == reg::kMoreData) {
            buffer.assign(std::max<std::uint32_t>(size, 1), 0);
            size = static_cast<std::uint32_t>(buffer.size());
            status = call(query);
        }
        if (status != reg::kSuccess || (type != reg::kSz && type != reg::kExpandSz)) return {};
        std::size_t length = std::min<std::size_t>(size, buffer.size());
        // Data stored without its NUL keeps its last character.
        if (length > 0 && buffer[length - 1] == 0) --length;
        return std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length));
    } catch (...) {
        return {};
    }
}

bool CWinReg::WriteDword(const std::string& sName, std::int32_t nValue) noexcept {
    try {
        const auto v = static_cast<std::uint32_t>(nValue);
        const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                               static_cast<char>((v >> 16) & 0xFF),
                               static_cast<char>((v >> 24) & 0xFF)};
        return writeValue(sName, reg::kDword, std::string(bytes, 4));
    } catch (...) {
        return false;
    }
}

std::int32_t CWinReg::ReadDword(const std::string& sName, std::int32_t nDefault) noexcept {
    if (m_hKey == 0) return 0;
    std::uint8_t bytes[4] = {0, 0, 0, 0};
    std::uint32_t size = 4;
    RegType type = reg::kNone;
    RegStatus status =
        call([&](Registry& r) { return r.queryValueEx(m_hKey, sName, &type, bytes, &size); });
    if (status != reg::kSuccess || type != reg::kDword) return nDefault;
    return static_cast<std::int32_t>(std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                     std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24);
}

bool CWinReg::WriteBool(const std::string& sName, bool bValue) noexcept {
    return WriteString(sName, bValue ? "yes" : "no");
}

bool CWinReg::ReadBool(const std::string& sName) noexcept {
    std::string value = ReadString(sName);
    std::transform(value.begin(), value.end(), value.begin(), lowerAscii);
    return value == "yes";
}

bool CWinReg::WriteDate(const std::string& sName, const DateTime& dtValue) noexcept {
    try {
        return WriteString(sName, formatRegistryDate(dtValue));
    } catch (...) {
        return false;
    }
}

DateTime CWinReg::ReadDate(const std::string& sName, const DateTime& dtDefault) noexcept {
    std::string text = ReadString(sName);
    if (text.empty()) return dtDefault;
    try {
        return parseRegistryDate(text).value_or(dtDefault);
    } catch (...) {
        return dtDefault;
    }
}

bool CWinReg::DeleteValue(const std::string& sName) noexcept {
    return call([&](Registry& r) { return r.deleteValue(m_hKey, sName); }) == reg::kSuccess;
}

bool CWinReg::DeleteKey(const std::string& sSubKey) noexcept {
    return call([&](Registry& r) { return r.deleteKey(m_hKey, sSubKey); }) == reg::kSuccess;
}

bool CWinReg::FlushKey() noexcept {
    return call([&](Registry& r) { return r.flushKey(m_hKey); }) == reg::kSuccess;
}

}  // namespace cq
