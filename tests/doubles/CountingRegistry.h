#pragma once
// Passes every call on to another registry and counts the handles that were
// opened or created through it and not closed yet.

#include "common/Registry.h"

namespace cq {

class CountingRegistry final : public Registry {
  public:
    explicit CountingRegistry(Registry& inner) : inner_(inner) {}

    int openHandles() const { return open_; }

    RegStatus openKeyEx(RegKey key, const std::string& subKey, RegAccess access,
                        RegKey& result) override {
        return counted(inner_.openKeyEx(key, subKey, access, result));
    }
    RegStatus createKeyEx(RegKey key, const std::string& subKey, std::uint32_t options,
                          RegAccess access, RegKey& result, std::uint32_t* disposition) override {
        return counted(inner_.createKeyEx(key, subKey, options, access, result, disposition));
    }
    RegStatus closeKey(RegKey key) override {
        RegStatus status = inner_.closeKey(key);
        // The predefined roots (0x80000000 and up) are never counted.
        if (status == reg::kSuccess && key > 0) --open_;
        return status;
    }
    RegStatus setValueEx(RegKey key, const std::string& name, RegType type,
                         const std::uint8_t* data, std::uint32_t size) override {
        return inner_.setValueEx(key, name, type, data, size);
    }
    RegStatus queryValueEx(RegKey key, const std::string& name, RegType* type, std::uint8_t* data,
                           std::uint32_t* size) override {
        return inner_.queryValueEx(key, name, type, data, size);
    }
    RegStatus deleteValue(RegKey key, const std::string& name) override {
        return inner_.deleteValue(key, name);
    }
    RegStatus deleteKey(RegKey key, const std::string& subKey) override {
        return inner_.deleteKey(key, subKey);
    }
    RegStatus flushKey(RegKey key) override { return inner_.flushKey(key); }
    RegStatus enumValue(RegKey key, std::uint32_t index, std::string& name,
                        std::uint32_t& nameSize) override {
        return inner_.enumValue(key, index, name, nameSize);
    }
    RegStatus enumKeyEx(RegKey key, std::uint32_t index, std::string& name,
                        std::uint32_t& nameSize) override {
        return inner_.enumKeyEx(key, index, name, nameSize);
    }

  private:
    RegStatus counted(RegStatus status) {
        if (status == reg::kSuccess) ++open_;
        return status;
    }

    Registry& inner_;
    int open_ = 0;
};

}  // namespace cq
