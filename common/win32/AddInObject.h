#pragma once
// What the COM objects of both add-ins' Connect classes have in common: one
// portable Connect behind IDTExtensibility2, a reference count that deletes
// the object at zero, an IDispatch without type information, and four of the
// five connection handlers passed on to Connect through the barrier (nothing
// thrown leaves them). OnConnection, QueryInterface, GetIDsOfNames and Invoke
// are each add-in's own.
//
// The object counts as one of the module's objects from before Connect is
// made until after it is gone.

#include <windows.h>
#include <oaidl.h>

#include <utility>

#include "common/KeepAlive.h"
#include "common/win32/ComBarrier.h"
#include "common/win32/ComModule.h"
#include "common/win32/IDTExtensibility2.h"

namespace cq::win32 {

template <class ConnectT>
class AddInObject : public IDTExtensibility2 {
  public:
    AddInObject(const AddInObject&) = delete;
    AddInObject& operator=(const AddInObject&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (info == nullptr) return E_POINTER;
        *info = nullptr;
        return index == 0 ? E_NOTIMPL : DISP_E_BADINDEX;
    }

    // The `custom` arrays are accepted and not read.
    HRESULT STDMETHODCALLTYPE OnDisconnection(int RemoveMode, SAFEARRAY**) override {
        return barrier([&] { connect_.IDTExtensibility2_OnDisconnection(RemoveMode); });
    }
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override {
        return barrier([&] { connect_.IDTExtensibility2_OnAddInsUpdate(); });
    }
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override {
        return barrier([&] { connect_.IDTExtensibility2_OnStartupComplete(); });
    }
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override {
        return barrier([&] { connect_.IDTExtensibility2_OnBeginShutdown(); });
    }

  protected:
    // Starts with one reference, held by the caller; `args` make the Connect.
    template <class... Args>
    explicit AddInObject(Args&&... args) : connect_(std::forward<Args>(args)...) {
        connect_.keepAlive().set([this] { return pin(); });
    }

    // A pin for Connect's KeepAlive: one reference for as long as it is held.
    KeepAlive::Pin pin() {
        AddRef();
        return KeepAlive::Pin(this, [](void* self) { static_cast<AddInObject*>(self)->Release(); });
    }
    virtual ~AddInObject() = default;

  private:
    ModuleObject counted_;  // first: counted until the very end
    ULONG refs_ = 1;

  protected:
    ConnectT connect_;
};

}  // namespace cq::win32
