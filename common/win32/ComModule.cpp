#include "common/win32/ComModule.h"

#include "common/win32/ComDispatch.h"
#include "common/win32/ComEventSink.h"
#include "common/win32/TypeLibrary.h"

#include <atomic>

namespace cq::win32 {
namespace {

// DllCanUnloadNow may be asked from any thread.
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

}  // namespace

void ComModule::objectCreated() noexcept { ++g_objects; }
void ComModule::objectDestroyed() noexcept { --g_objects; }
void ComModule::lock() noexcept { ++g_locks; }
void ComModule::unlock() noexcept {
    // An unlock without its lock must not keep the module loaded for ever.
    long held = g_locks.load();
    while (held > 0 && !g_locks.compare_exchange_weak(held, held - 1)) {
    }
}
long ComModule::objects() noexcept { return g_objects.load(); }
long ComModule::locks() noexcept { return g_locks.load(); }

HRESULT ComModule::canUnloadNow() noexcept {
    const bool idle = g_objects.load() == 0 && g_locks.load() == 0 && ComDispatch::live() == 0 &&
                      ComEventSink::live() == 0;
    // COM may unload the module after this answer: nothing of oleaut32's may
    // be left for static destruction to release.
    if (idle) releaseTypeLibrary();
    return idle ? S_OK : S_FALSE;
}

}  // namespace cq::win32
