#pragma once
// What keeps an in-process COM server loaded: the objects it has handed out
// that are still alive, the locks taken with IClassFactory::LockServer, and
// the host objects it holds or event sinks it has handed out.
// DllCanUnloadNow answers with canUnloadNow().

#include <windows.h>

namespace cq::win32 {

class ComModule {
  public:
    static void objectCreated() noexcept;
    static void objectDestroyed() noexcept;
    static void lock() noexcept;
    static void unlock() noexcept;

    static long objects() noexcept;
    static long locks() noexcept;
    // S_OK when no object lives, no lock is held and no host object or event
    // sink of this module is alive; S_FALSE otherwise.
    static HRESULT canUnloadNow() noexcept;
};

// A member of every COM class of the server: the object counts as alive from
// its construction to its destruction.
class ModuleObject {
  public:
    ModuleObject() noexcept { ComModule::objectCreated(); }
    ModuleObject(const ModuleObject&) noexcept : ModuleObject() {}
    ModuleObject& operator=(const ModuleObject&) noexcept { return *this; }
    ~ModuleObject() { ComModule::objectDestroyed(); }
};

}  // namespace cq::win32
