#pragma once
// The registry port over the ANSI registry functions of advapi32. Names and
// text data are converted between UTF-8 and the ANSI code page here.

#include "common/Registry.h"

namespace cq::win32 {

class Win32Registry final : public Registry {
  public:
    RegStatus openKeyEx(RegKey key, const std::string& subKey, RegAccess access,
                        RegKey& result) override;
    RegStatus createKeyEx(RegKey key, const std::string& subKey, std::uint32_t options,
                          RegAccess access, RegKey& result, std::uint32_t* disposition) override;
    RegStatus closeKey(RegKey key) override;
    RegStatus setValueEx(RegKey key, const std::string& name, RegType type,
                         const std::uint8_t* data, std::uint32_t size) override;
    RegStatus queryValueEx(RegKey key, const std::string& name, RegType* type, std::uint8_t* data,
                           std::uint32_t* size) override;
    RegStatus deleteValue(RegKey key, const std::string& name) override;
    RegStatus deleteKey(RegKey key, const std::string& subKey) override;
    RegStatus flushKey(RegKey key) override;
    RegStatus enumValue(RegKey key, std::uint32_t index, std::string& name,
                        std::uint32_t& nameSize) override;
    RegStatus enumKeyEx(RegKey key, std::uint32_t index, std::string& name,
                        std::uint32_t& nameSize) override;
};

}  // namespace cq::win32
