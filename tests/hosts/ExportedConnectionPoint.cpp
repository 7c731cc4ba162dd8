#include "tests/hosts/ExportedConnectionPoint.h"

#include <olectl.h>

#include <algorithm>
#include <optional>

#include "common/HostError.h"
#include "common/host/Variant.h"
#include "common/win32/ComArguments.h"
#include "common/win32/ComError.h"
#include "common/win32/ComPtr.h"
#include "common/win32/OfficeEvents.h"
#include "tests/hosts/ComExport.h"
#include "tests/hosts/ExportedObject.h"

namespace cq::test {

// Receives the host object's events for one COM sink and invokes the sink.
class ExportedConnectionPoint::Forwarder final : public EventSink {
  public:
    Forwarder(win32::ComPtr<IDispatch> sink, std::string iidText)
        : sink_(std::move(sink)), iidText_(std::move(iidText)) {}

    void onEvent(std::string_view name, std::span<Variant> args) override {
        std::optional<std::int32_t> id = win32::officeEventDispid(iidText_, name);
        if (!id)
            throw HostError(438,
                            "Event interface " + iidText_ + " has no event " + std::string(name));
        // The sink may end this connection while it runs: nothing of this
        // object is used after the call.
        const win32::ComPtr<IDispatch> sink = sink_;
        win32::OutgoingArguments out(args);
        HRESULT hr = sink->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                  &out.params(), nullptr, nullptr, nullptr);
        if (SUCCEEDED(hr)) out.writeBack(&ComExport::importObject);
    }

  private:
    win32::ComPtr<IDispatch> sink_;
    std::string iidText_;
};

ExportedConnectionPoint::ExportedConnectionPoint(ExportedObject& owner, const IID& iid,
                                                 std::string iidText)
    : owner_(owner), iid_(iid), iidText_(std::move(iidText)) {}

ExportedConnectionPoint::~ExportedConnectionPoint() {
    // End the connections one at a time: releasing a sink may call back.
    while (!connections_.empty()) {
        Connection c = std::move(connections_.back());
        connections_.pop_back();
    }
}

HRESULT STDMETHODCALLTYPE ExportedConnectionPoint::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ExportedConnectionPoint::AddRef() { return owner_.AddRef(); }

ULONG STDMETHODCALLTYPE ExportedConnectionPoint::Release() { return owner_.Release(); }

HRESULT STDMETHODCALLTYPE ExportedConnectionPoint::GetConnectionInterface(IID* iid) {
    if (iid == nullptr) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE
ExportedConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (container == nullptr) return E_POINTER;
    return owner_.QueryInterface(IID_IConnectionPointContainer,
                                 reinterpret_cast<void**>(container));
}

HRESULT STDMETHODCALLTYPE ExportedConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (cookie == nullptr) return E_POINTER;
    *cookie = 0;
    if (sink == nullptr) return E_POINTER;
    win32::ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(iid_, events.putVoid())) || !events)
        return CONNECT_E_CANNOTCONNECT;
    try {
        Connection c{nextCookie_, std::make_unique<Forwarder>(std::move(events), iidText_),
                     nullptr};
        c.subscription.reset(owner_.host().advise(iidText_, *c.forwarder));
        *cookie = nextCookie_++;
        connections_.push_back(std::move(c));
        return S_OK;
    } catch (...) {
        return win32::currentExceptionToHresult(nullptr);
    }
}

HRESULT STDMETHODCALLTYPE ExportedConnectionPoint::Unadvise(DWORD cookie) {
    auto it = std::find_if(connections_.begin(), connections_.end(),
                           [&](const Connection& c) { return c.cookie == cookie; });
    if (it == connections_.end()) return CONNECT_E_NOCONNECTION;
    // Keep the container alive while the connection ends.
    const win32::ComPtr<IConnectionPoint> self(this);
    Connection ended = std::move(*it);
    connections_.erase(it);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ExportedConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections != nullptr) *connections = nullptr;
    return E_NOTIMPL;
}

}  // namespace cq::test
