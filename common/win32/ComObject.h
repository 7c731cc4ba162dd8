#pragma once
// The IUnknown of every COM object of the project: one reference count,
// QueryInterface from the list of the object's interfaces, and the module's
// count of live objects. An object is born with one reference, held by whoever
// made it.
//
//   class Sink final : public ComObject<IDispatch> { ... };
//
// QueryInterface answers IUnknown and IDispatch with the first interface of
// the list (when it derives from IDispatch), and each interface of the list by
// its IID (a class in the list that implements an interface for the object
// names it as `using Interface = ...;`). An object answers further ids (an
// event interface it receives, the base of one of its interfaces) by
// overriding queryOther.

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <type_traits>

#include "common/win32/ComModule.h"

namespace cq::win32 {

// Whether an object that lists I answers `iid` with it. A class that only
// implements an interface for the object (TypedDispatch<I>) names it as
// `Interface`.
template <class I>
bool answersFor(REFIID iid) noexcept {
    if constexpr (requires { typename I::Interface; }) {
        return answersFor<typename I::Interface>(iid);
    } else {
        return IsEqualIID(iid, __uuidof(I));
    }
}

template <class First, class... Others>
class ComObject : public First, public Others... {
  public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = find(iid);
        if (*object == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

  protected:
    ComObject() = default;
    virtual ~ComObject() = default;

    // The object as `iid` for an id the list does not name, or null.
    virtual void* queryOther(REFIID) noexcept { return nullptr; }

  private:
    void* find(REFIID iid) noexcept {
        if (IsEqualIID(iid, IID_IUnknown)) return static_cast<First*>(this);
        if constexpr (std::is_base_of_v<IDispatch, First>)
            if (IsEqualIID(iid, IID_IDispatch)) return static_cast<First*>(this);
        if (answersFor<First>(iid)) return static_cast<First*>(this);
        void* found = nullptr;
        ((found == nullptr && answersFor<Others>(iid) ? found = static_cast<Others*>(this) : found),
         ...);
        return found != nullptr ? found : queryOther(iid);
    }

    ModuleObject counted_;
    std::atomic<ULONG> refs_{1};
};

}  // namespace cq::win32
