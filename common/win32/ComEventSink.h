#pragma once
// Event subscriptions on COM connection points.
//
// The sink object answers IUnknown, IDispatch and the event interface itself
// (Office asks the sink for the event interface before it advises). Its Invoke
// finds the event's name from the interface id and DISPID (OfficeEvents.h) and
// hands the arguments to the EventSink in declaration order; by-reference
// arguments changed by the handler are written back. Events it does not know
// are answered DISP_E_MEMBERNOTFOUND. Nothing a handler throws leaves Invoke.

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>
#include <string_view>

#include "common/host/HostObject.h"
#include "common/win32/ComObject.h"
#include "common/win32/TypedDispatch.h"

namespace cq::win32 {

class ComEventSink final : public ComObject<UntypedDispatch<>> {
  public:
    // Starts with one reference, held by the caller.
    ComEventSink(const IID& iid, std::string iidText, EventSink& sink);

    // Ends the deliveries; later calls of Invoke do nothing.
    void detach() noexcept { sink_ = nullptr; }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;

  private:
    ~ComEventSink() override = default;
    // The event interface itself, which Office asks for before it advises.
    void* queryOther(REFIID riid) noexcept override;

    IID iid_;
    std::string iidText_;
    EventSink* sink_;
};

// Subscribes `sink` to the event interface `eventIid` ("{...}") of `source`
// through its connection point: QueryInterface for IConnectionPointContainer,
// FindConnectionPoint, Advise. The subscription unadvises and releases the
// connection point and the sink when destroyed. Throws HostError when the id is
// malformed or not an event interface known here, or when COM refuses.
std::unique_ptr<Subscription> adviseEvents(IDispatch* source, std::string_view eventIid,
                                           EventSink& sink);

}  // namespace cq::win32
