#pragma once
// The class factory of an in-process server and the body of DllGetClassObject.
// A class is served by a creator function; aggregation is refused.

#include <windows.h>
#include <unknwn.h>

#include <span>
#include <utility>

#include "common/win32/ComError.h"
#include "common/win32/ComModule.h"
#include "common/win32/ComObject.h"

namespace cq::win32 {

// Makes a new object and answers it as `iid` in `*object` (left null on
// failure). Called inside the factory's exception barrier.
using ObjectCreator = HRESULT (*)(REFIID iid, void** object);

// The usual creator for a class T whose objects are born with one reference:
// the object, made from `args`, is asked for `iid`, then that first reference
// is dropped.
template <class T, class... Args>
HRESULT createObject(REFIID iid, void** object, Args&&... args) {
    T* created = new T(std::forward<Args>(args)...);
    HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}

class ClassFactory final : public ComObject<IClassFactory> {
  public:
    // A factory with one reference; it counts as a live object of the module.
    explicit ClassFactory(ObjectCreator creator) noexcept : creator_(creator) {}

    // CLASS_E_NOAGGREGATION when `outer` is given.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

  private:
    ~ClassFactory() override = default;

    ObjectCreator creator_;
};

// One class that the server makes.
struct ServedClass {
    CLSID clsid;
    ObjectCreator create;
};

// DllGetClassObject: a factory for `clsid` answered as `iid`, or
// CLASS_E_CLASSNOTAVAILABLE when the server does not make that class.
HRESULT getClassObject(std::span<const ServedClass> classes, REFCLSID clsid, REFIID iid,
                       void** object) noexcept;

}  // namespace cq::win32
