#include "common/win32/Win32Registry.h"

#include "common/win32/Text.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace cq::win32 {
namespace {

static_assert(sizeof(HKEY) == sizeof(RegKey), "key handles are kept at their own size");

HKEY toHkey(RegKey key) { return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(key)); }
RegKey fromHkey(HKEY key) { return static_cast<RegKey>(reinterpret_cast<std::intptr_t>(key)); }

// The whole of a value as stored: its type and bytes.
LONG readValue(HKEY key, const std::string& ansiName, DWORD& type, std::vector<BYTE>& bytes) {
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, ansiName.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between the calls: ask again until it fits.
    for (int attempt = 0; status == ERROR_SUCCESS || status == ERROR_MORE_DATA; ++attempt) {
        if (attempt == 8) return ERROR_MORE_DATA;
        bytes.assign(std::max<DWORD>(size, 1), 0);
        size = static_cast<DWORD>(bytes.size());
        status = RegQueryValueExA(key, ansiName.c_str(), nullptr, &type, bytes.data(), &size);
        if (status == ERROR_SUCCESS) {
            bytes.resize(size);
            return status;
        }
    }
    return status;
}

// The name at `index` from RegEnumValueA or RegEnumKeyExA, which take the same
// first four arguments.
template <class Enum>
RegStatus enumName(Enum enumerate, RegKey key, std::uint32_t index, std::string& name,
                   std::uint32_t& nameSize) {
    std::vector<char> buffer(std::max<std::uint32_t>(nameSize, 1), '\0');
    DWORD size = nameSize;
    LONG status =
        enumerate(toHkey(key), index, buffer.data(), &size, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return status;
    size = std::min<DWORD>(size, static_cast<DWORD>(buffer.size()));
    name = fromAnsi(std::string_view(buffer.data(), size));
    nameSize = size;
    return ERROR_SUCCESS;
}

}  // namespace

RegStatus Win32Registry::openKeyEx(RegKey key, const std::string& subKey, RegAccess access,
                                   RegKey& result) {
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(toHkey(key), toAnsi(subKey).c_str(), 0, access, &opened);
    result = status == ERROR_SUCCESS ? fromHkey(opened) : 0;
    return status;
}

RegStatus Win32Registry::createKeyEx(RegKey key, const std::string& subKey, std::uint32_t options,
                                     RegAccess access, RegKey& result, std::uint32_t* disposition) {
    HKEY created = nullptr;
    DWORD how = 0;
    LONG status = RegCreateKeyExA(toHkey(key), toAnsi(subKey).c_str(), 0, nullptr, options, access,
                                  nullptr, &created, &how);
    result = status == ERROR_SUCCESS ? fromHkey(created) : 0;
    if (status == ERROR_SUCCESS && disposition) *disposition = how;
    return status;
}

RegStatus Win32Registry::closeKey(RegKey key) { return RegCloseKey(toHkey(key)); }

RegStatus Win32Registry::setValueEx(RegKey key, const std::string& name, RegType type,
                                    const std::uint8_t* data, std::uint32_t size) {
    if (data == nullptr && size > 0) return ERROR_INVALID_PARAMETER;
    std::string converted;
    if (reg::isText(type) && size > 0) {
        converted = toAnsi(std::string_view(reinterpret_cast<const char*>(data), size));
        data = reinterpret_cast<const std::uint8_t*>(converted.data());
        size = static_cast<std::uint32_t>(converted.size());
    }
    return RegSetValueExA(toHkey(key), toAnsi(name).c_str(), 0, type, data, size);
}

RegStatus Win32Registry::queryValueEx(RegKey key, const std::string& name, RegType* type,
                                      std::uint8_t* data, std::uint32_t* size) {
    if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
    DWORD storedType = REG_NONE;
    std::vector<BYTE> bytes;
    LONG status = readValue(toHkey(key), toAnsi(name), storedType, bytes);
    if (status != ERROR_SUCCESS) return status;
    if (reg::isText(storedType) && !bytes.empty()) {
        std::string text =
            fromAnsi(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        bytes.assign(text.begin(), text.end());
    }
    if (type) *type = storedType;
    if (size == nullptr) return ERROR_SUCCESS;
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (data != nullptr && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr) std::copy(bytes.begin(), bytes.end(), data);
    *size = needed;
    return ERROR_SUCCESS;
}

RegStatus Win32Registry::deleteValue(RegKey key, const std::string& name) {
    return RegDeleteValueA(toHkey(key), toAnsi(name).c_str());
}

RegStatus Win32Registry::deleteKey(RegKey key, const std::string& subKey) {
    return RegDeleteKeyA(toHkey(key), toAnsi(subKey).c_str());
}

RegStatus Win32Registry::flushKey(RegKey key) { return RegFlushKey(toHkey(key)); }

RegStatus Win32Registry::enumValue(RegKey key, std::uint32_t index, std::string& name,
                                   std::uint32_t& nameSize) {
    return enumName(RegEnumValueA, key, index, name, nameSize);
}

RegStatus Win32Registry::enumKeyEx(RegKey key, std::uint32_t index, std::string& name,
                                   std::uint32_t& nameSize) {
    return enumName(RegEnumKeyExA, key, index, name, nameSize);
}

}  // namespace cq::win32
