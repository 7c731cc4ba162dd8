#pragma once
// A COM object as a host object: calls by member name through IDispatch,
// events through connection points.
//
// One Dispatch handle holds one COM reference: addRef/release are forwarded to
// the object. While any handle lives, the same IDispatch always gives the same
// wrapper, so member DISPIDs are looked up once per object and then reused;
// two handles are the same object when their objects' IUnknowns are.
// Wrappers belong to the thread that made them (the apartment of the object).

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <unordered_map>

#include "common/host/Dispatch.h"

namespace cq::win32 {

class ComDispatch final : public HostObject {
  public:
    friend Dispatch wrapDispatch(IDispatch* object);
    // Wrappers alive in this module (each one holds at least one reference).
    static int live();

    void addRef() noexcept override;
    void release() noexcept override;
    // Get and Method call with DISPATCH_PROPERTYGET | DISPATCH_METHOD; Put
    // with DISPATCH_PROPERTYPUT and the named argument DISPID_PROPERTYPUT, and
    // for an object value once more with DISPATCH_PROPERTYPUTREF when the
    // object has no such put. Failures throw HostError (see ComError.h).
    Variant invoke(std::string_view name, CallKind kind, std::span<Variant> args) override;
    // Connection-point subscription; see ComEventSink.h.
    Subscription* advise(std::string_view eventIid, EventSink& sink) override;
    void* rawInterface() noexcept override { return object_; }
    const void* comIdentity() noexcept override { return identity_; }

    IDispatch* get() const { return object_; }

  private:
    ComDispatch(IDispatch* object, IUnknown* identity) : object_(object), identity_(identity) {}
    ~ComDispatch() override = default;

    DISPID dispid(std::string_view name);

    IDispatch* object_;
    IUnknown* identity_;  // the object's IUnknown; valid while object_ is held
    unsigned long refs_ = 0;
    std::unordered_map<std::string, DISPID> dispids_;
};

// A handle to `object` holding a new reference (null gives Nothing).
Dispatch wrapDispatch(IDispatch* object);
// A handle that takes over a reference the caller already holds.
Dispatch adoptDispatch(IDispatch* object);

}  // namespace cq::win32
