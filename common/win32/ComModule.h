#pragma once
// What keeps an in-process COM server loaded: the objects it has handed out
// that are still alive, the locks taken with IClassFactory::LockServer, and
// the host objects it holds or event sinks it has handed out.
// DllCanUnloadNow answers with canUnloadNow().

#include <windows.h>

#include <atomic>

namespace cq::win32 {

class ComModule {
  public:
    static void lock() noexcept { ++locks_; }
    // An unlock without its lock must not keep the module loaded for ever.
    static void unlock() noexcept {
        long held = locks_.load();
        while (held > 0 && !locks_.compare_exchange_weak(held, held - 1)) {
        }
    }

    static long objects() noexcept { return objects_.load(); }
    static long locks() noexcept { return locks_.load(); }
    // S_OK when no object lives, no lock is held and no host object or event
    // sink of this module is alive; S_FALSE otherwise.
    static HRESULT canUnloadNow() noexcept;

  private:
    friend class ModuleObject;
    // DllCanUnloadNow may be asked from any thread.
    static inline std::atomic<long> objects_{0};
    static inline std::atomic<long> locks_{0};
};

// A member of every COM class of the server: the object counts as alive from
// its construction to its destruction.
class ModuleObject {
  public:
    ModuleObject() noexcept { ++ComModule::objects_; }
    ModuleObject(const ModuleObject&) noexcept : ModuleObject() {}
    ModuleObject& operator=(const ModuleObject&) noexcept { return *this; }
    ~ModuleObject() { --ComModule::objects_; }
};

}  // namespace cq::win32
