#pragma once
// What the COM objects of both add-ins' Connect classes have in common: one
// portable Connect behind Office's IDTExtensibility2, four of whose five
// handlers are passed on here through the barrier (OnConnection is each
// add-in's own); the object's interfaces, with IDispatch through the type
// library (TypedDispatch), and the reference count come from ComObject.
// Connect can hold the object while one of its clicks is handled.

#include <windows.h>
#include <oaidl.h>

#include <utility>

#include "OfficeAddIn.h"
#include "common/KeepAlive.h"
#include "common/win32/ComError.h"
#include "common/win32/ComObject.h"

namespace cq::win32 {

template <class ConnectT, class... Interfaces>
class AddInObject : public ComObject<Interfaces...> {
  public:
    // The `custom` arrays are accepted and not read.
    HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY**) override {
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

    ConnectT connect_;

  private:
    // A pin for Connect's KeepAlive: one reference for as long as it is held.
    KeepAlive::Pin pin() {
        this->AddRef();
        return KeepAlive::Pin(this, [](void* self) { static_cast<AddInObject*>(self)->Release(); });
    }
};

}  // namespace cq::win32
