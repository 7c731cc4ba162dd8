#include "common/win32/ComModule.h"

#include "common/win32/ComDispatch.h"
#include "common/win32/TypeLibrary.h"

namespace cq::win32 {

HRESULT ComModule::canUnloadNow() noexcept {
    const bool idle = objects() == 0 && locks() == 0 && ComDispatch::live() == 0;
    // COM may unload the module after this answer: nothing of oleaut32's may
    // be left for static destruction to release.
    if (idle) releaseTypeLibrary();
    return idle ? S_OK : S_FALSE;
}

}  // namespace cq::win32
