#include "common/win32/ComDispatch.h"

#include <cctype>
#include <memory>

#include "common/HostError.h"
#include "common/win32/ComArguments.h"
#include "common/win32/ComError.h"
#include "common/win32/ComEventSink.h"
#include "common/win32/ComPtr.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

// The wrappers, by the IDispatch they call through: each dispatch interface of
// an object has DISPIDs of its own (an add-in's ribbon face and its default
// one), so one object may have a wrapper per interface; handles compare equal
// by the object's IUnknown all the same. Never destroyed: a handle in a static
// object (the host, when the add-in was never disconnected) lets go of its
// wrapper during static destruction, in whatever order that runs.
std::unordered_map<IDispatch*, ComDispatch*>& wrappers() {
    static auto* map = new std::unordered_map<IDispatch*, ComDispatch*>();
    return *map;
}

// The object's identity. Only compared: the reference QueryInterface took is
// given back at once (the wrapper's own reference keeps the object).
IUnknown* identityOf(IDispatch* object) {
    ComPtr<IUnknown> unknown;
    if (FAILED(object->QueryInterface(IID_IUnknown, unknown.putVoid())) || !unknown) return object;
    return unknown.get();
}

}  // namespace

Dispatch wrapDispatch(IDispatch* object) {
    if (object == nullptr) return Dispatch();
    auto& map = wrappers();
    auto it = map.find(object);
    if (it != map.end()) return Dispatch(it->second);
    auto* wrapper = new ComDispatch(object, identityOf(object));
    map.emplace(object, wrapper);
    return Dispatch(wrapper);
}

int ComDispatch::live() { return static_cast<int>(wrappers().size()); }

void ComDispatch::addRef() noexcept {
    ++refs_;
    object_->AddRef();
}

void ComDispatch::release() noexcept {
    IDispatch* object = object_;
    if (--refs_ == 0) {
        wrappers().erase(object);
        delete this;
    }
    // Last: releasing may run the object's own clean-up, which may call back.
    object->Release();
}

DISPID ComDispatch::dispid(std::string_view name) {
    std::string key(name);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (auto it = dispids_.find(key); it != dispids_.end()) return it->second;
    std::wstring wide = toWide(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw comError(hr);
    dispids_.emplace(std::move(key), id);
    return id;
}

Variant ComDispatch::invoke(std::string_view name, CallKind kind, std::span<Variant> args) {
    if (kind == CallKind::Put && args.empty()) throw HostError(449, "Argument not optional");
    // The call may end the caller's own handle (an event handler run by it
    // drops the object): keep this wrapper alive until the call is over.
    const Dispatch self(this);
    const DISPID id = dispid(name);
    OutgoingArguments out(args);
    DISPPARAMS& params = out.params();
    DISPID putId = DISPID_PROPERTYPUT;
    WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    if (kind == CallKind::Put) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &putId;
        flags = DISPATCH_PROPERTYPUT;
    }
    ScopedVariant result;
    EXCEPINFO info{};
    UINT argError = 0;
    VARIANT* resultSlot = kind == CallKind::Put ? nullptr : result.ptr();
    HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, resultSlot,
                                 &info, &argError);
    if (hr == DISP_E_MEMBERNOTFOUND && kind == CallKind::Put && args.back().isObject()) {
        clearException(info);
        hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUTREF, &params,
                             nullptr, &info, &argError);
    }
    if (FAILED(hr)) throw comError(hr, &info);
    clearException(info);
    out.writeBack();
    return fromVariant(result.get());
}

Subscription* ComDispatch::advise(std::string_view eventIid, EventSink& sink) {
    return adviseEvents(object_, eventIid, sink).release();
}

Dispatch adoptDispatch(IDispatch* object) {
    Dispatch d = wrapDispatch(object);
    if (object) object->Release();
    return d;
}

}  // namespace cq::win32
