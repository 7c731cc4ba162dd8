#pragma once
// The COM object standing for one host object: IDispatch by member name and
// IConnectionPointContainer for the Office event interfaces.
//
// Every reference to it is one to the host object too, so the host object's
// reference count shows the COM references held to it. Members get DISPIDs on first
// request; Invoke runs the host object's invoke (DISPATCH_PROPERTYPUT and
// PUTREF as Put, anything with DISPATCH_METHOD as Method, a bare PROPERTYGET
// as Get), writes by-reference arguments back, and answers a HostError with
// DISP_E_EXCEPTION and its number and description.

#include <windows.h>
#include <ocidl.h>

#include <map>
#include <memory>
#include <string>

#include "common/host/HostObject.h"
#include "common/win32/ComObject.h"
#include "common/win32/TypedDispatch.h"

namespace cq::test {

class ExportedConnectionPoint;

class ExportedObject final
    : public win32::ComObject<win32::UntypedDispatch<>, IConnectionPointContainer> {
  public:
    // The COM object of `host` (made when there is none) with a new reference.
    static IDispatch* of(HostObject& host);
    // The host object behind `object` when it is one of these; null otherwise.
    static HostObject* hostOf(IDispatch* object);
    static int live();

    HostObject& host() const { return host_; }

    // IUnknown
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;
    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  private:
    using Com = win32::ComObject<win32::UntypedDispatch<>, IConnectionPointContainer>;

    explicit ExportedObject(HostObject& host);
    ~ExportedObject() override;

    HostObject& host_;
    std::map<std::string, std::unique_ptr<ExportedConnectionPoint>> points_;
};

}  // namespace cq::test
