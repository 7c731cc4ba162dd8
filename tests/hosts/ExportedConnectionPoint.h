#pragma once
// One event interface of an exported object. Advise asks the sink for the
// event interface (as Office does) and subscribes to the host object's events
// of that interface; each event the host object fires becomes an Invoke on the
// sink with the event's DISPID and the arguments reversed into DISPPARAMS.
// What the sink writes into by-reference arguments goes back to the firing
// code. An event name that the interface does not have is a HostError.
//
// The connection point lives inside its container: AddRef and Release count
// on the container.

#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <string>
#include <vector>

#include "common/host/HostObject.h"

namespace cq::test {

class ExportedObject;

class ExportedConnectionPoint final : public IConnectionPoint {
  public:
    ExportedConnectionPoint(ExportedObject& owner, const IID& iid, std::string iidText);
    ~ExportedConnectionPoint();
    ExportedConnectionPoint(const ExportedConnectionPoint&) = delete;
    ExportedConnectionPoint& operator=(const ExportedConnectionPoint&) = delete;

    int connections() const { return static_cast<int>(connections_.size()); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IConnectionPoint
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

  private:
    class Forwarder;
    struct Connection {
        DWORD cookie;
        std::unique_ptr<Forwarder> forwarder;
        std::unique_ptr<Subscription> subscription;
    };

    ExportedObject& owner_;
    IID iid_;
    std::string iidText_;
    std::vector<Connection> connections_;
    DWORD nextCookie_ = 1;
};

}  // namespace cq::test
