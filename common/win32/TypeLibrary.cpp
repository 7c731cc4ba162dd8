#include "common/win32/TypeLibrary.h"

#include <oleauto.h>

#include <mutex>

#include "common/win32/ComError.h"
#include "common/win32/Win32Module.h"

namespace cq::win32 {
namespace {

std::mutex g_lock;
ITypeLib* g_library = nullptr;  // released by releaseTypeLibrary, never by a destructor

ComPtr<ITypeLib> library() {
    const std::lock_guard<std::mutex> hold(g_lock);
    if (g_library == nullptr) {
        const std::wstring path = modulePath(thisModule());
        HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &g_library);
        if (FAILED(hr)) {
            g_library = nullptr;
            throw comError(hr);
        }
    }
    return ComPtr<ITypeLib>(g_library);
}

}  // namespace

ComPtr<ITypeInfo> typeInfoOf(REFIID iid, bool vtable) {
    ComPtr<ITypeInfo> info;
    HRESULT hr = library()->GetTypeInfoOfGuid(iid, info.put());
    if (FAILED(hr)) throw comError(hr);
    if (!vtable) return info;
    // A dual interface is found as its dispatch half; the vtable half is the
    // type it refers to as implemented type -1.
    HREFTYPE half = 0;
    if (FAILED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &half))) return info;
    ComPtr<ITypeInfo> interfaceInfo;
    hr = info->GetRefTypeInfo(half, interfaceInfo.put());
    if (FAILED(hr)) throw comError(hr);
    return interfaceInfo;
}

void releaseTypeLibrary() noexcept {
    const std::lock_guard<std::mutex> hold(g_lock);
    if (g_library != nullptr) g_library->Release();
    g_library = nullptr;
}

}  // namespace cq::win32
