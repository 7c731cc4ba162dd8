#pragma once
// An in-memory registry with the status numbers and rules of Windows: names of
// keys and values compare without case (ASCII letters), subkeys enumerate in
// upper-case name order and values in the order of their creation, handles
// stay open until closed, the access of a handle is enforced for reading and
// writing values and enumerating, a key with subkeys cannot be deleted, a
// handle to a deleted key answers kKeyDeleted, and a buffer that is too small
// gives kMoreData with the size needed, and HKEY_CURRENT_USER's
// Software\Classes\CLSID opened with KEY_WOW64_32KEY is the 32-bit view's
// (Software\Classes\Wow6432Node\CLSID). Tests can make chosen calls fail.

#include "common/Registry.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cq {

enum class RegOp {
    OpenKey,
    CreateKey,
    CloseKey,
    SetValue,
    QueryValue,
    DeleteValue,
    DeleteKey,
    FlushKey,
    EnumValue,
    EnumKey,
};

class MemoryRegistry final : public Registry {
  public:
    MemoryRegistry();
    ~MemoryRegistry() override;

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

    // Handles opened or created and not closed yet; the roots do not count.
    int openHandles() const;
    // Calls of `op` so far, failed ones included.
    int calls(RegOp op) const;
    // From now on, calls of `op` fail with `status`: only those whose subkey
    // path or value name equals `name` (without case) when `name` is given,
    // and only the next `times` of them when `times` is not negative.
    void failOn(RegOp op, RegStatus status, std::string name = {}, int times = -1);
    void clearFailures();

  private:
    struct Node;
    struct Handle {
        std::shared_ptr<Node> node;
        RegAccess access;
    };
    struct Failure {
        RegOp op;
        RegStatus status;
        std::string name;
        int times;
    };

    RegStatus enter(RegOp op, const std::string& name);
    RegStatus resolve(RegKey key, RegAccess needed, std::shared_ptr<Node>& node) const;
    RegKey newHandle(std::shared_ptr<Node> node, RegAccess access);

    std::map<RegKey, std::shared_ptr<Node>> roots_;
    std::map<RegKey, Handle> handles_;
    // Where a pointer has 64 bits, handles lie above 4 GiB, so that a key kept
    // in a 32-bit integer anywhere no longer opens anything.
    static constexpr RegKey kFirstHandle = sizeof(RegKey) > 4
                                               ? static_cast<RegKey>(0x7FF000000100LL)
                                               : 0x100;
    RegKey nextHandle_ = kFirstHandle;
    std::vector<Failure> failures_;
    std::map<RegOp, int> calls_;
};

}  // namespace cq
