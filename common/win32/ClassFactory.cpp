#include "common/win32/ClassFactory.h"

namespace cq::win32 {

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    HRESULT hr = barrier([&] { return creator_(iid, object); });
    if (FAILED(hr) && *object != nullptr) {
        // A creator that failed after answering: do not hand out the object.
        static_cast<IUnknown*>(*object)->Release();
        *object = nullptr;
    }
    return hr;
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock)
        ComModule::lock();
    else
        ComModule::unlock();
    return S_OK;
}

HRESULT getClassObject(std::span<const ServedClass> classes, REFCLSID clsid, REFIID iid,
                       void** object) noexcept {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return barrier([&]() -> HRESULT {
        for (const ServedClass& served : classes)
            if (IsEqualCLSID(served.clsid, clsid))
                return createObject<ClassFactory>(iid, object, served.create);
        return CLASS_E_CLASSNOTAVAILABLE;
    });
}

}  // namespace cq::win32
