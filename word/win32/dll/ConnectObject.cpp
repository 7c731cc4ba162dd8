#include "word/win32/dll/ConnectObject.h"

#include "common/win32/ComError.h"
#include "common/win32/ComDispatch.h"

namespace cq::word::win32 {

using ::cq::win32::barrier;
using ::cq::win32::wrapDispatch;

HRESULT STDMETHODCALLTYPE ConnectObject::OnConnection(IDispatch* Application,
                                                      ext_ConnectMode ConnectMode,
                                                      IDispatch* AddInInst, SAFEARRAY**) {
    return barrier([&] {
        connect_.IDTExtensibility2_OnConnection(wrapDispatch(Application), ConnectMode,
                                                wrapDispatch(AddInInst));
    });
}

HRESULT STDMETHODCALLTYPE ConnectObject::IsInitialized(VARIANT_BOOL* initialized) {
    if (initialized == nullptr) return E_POINTER;
    *initialized = connect_.IsInitialized() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

}  // namespace cq::word::win32
