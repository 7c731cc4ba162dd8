#include "common/win32/ComEventSink.h"

#include <ocidl.h>
#include <olectl.h>

#include "common/HostError.h"
#include "common/win32/ComArguments.h"
#include "common/win32/ComError.h"
#include "common/win32/ComPtr.h"
#include "common/win32/OfficeEvents.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

class ComSubscription final : public Subscription {
  public:
    ComSubscription(ComPtr<IConnectionPoint> point, DWORD cookie, ComPtr<ComEventSink> sink)
        : point_(std::move(point)), cookie_(cookie), sink_(std::move(sink)) {}
    ~ComSubscription() override {
        sink_->detach();
        point_->Unadvise(cookie_);  // a source already gone has nothing left to end
    }

  private:
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_;
    ComPtr<ComEventSink> sink_;
};

}  // namespace

ComEventSink::ComEventSink(const IID& iid, std::string iidText, EventSink& sink)
    : iid_(iid), iidText_(std::move(iidText)), sink_(&sink) {}

void* ComEventSink::queryOther(REFIID riid) noexcept {
    return IsEqualIID(riid, iid_) ? static_cast<IDispatch*>(this) : nullptr;
}

HRESULT STDMETHODCALLTYPE ComEventSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                      DISPID* ids) {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    if (count == 0) return S_OK;
    // Only the event itself has an id; argument names are not known.
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    const auto id = names[0] ? officeEventDispid(iidText_, fromWide(names[0])) : std::nullopt;
    if (id) ids[0] = *id;
    return id && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE ComEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                               VARIANT* result, EXCEPINFO* exception, UINT*) {
    try {
        if (result != nullptr) VariantInit(result);
        if (sink_ == nullptr) return S_OK;
        std::string_view name = officeEventName(iidText_, id);
        if (name.empty()) return DISP_E_MEMBERNOTFOUND;
        DISPPARAMS none{};
        if (params == nullptr) params = &none;
        if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
        // The handler may end this very subscription.
        const ComPtr<ComEventSink> self(this);
        IncomingArguments args(*params);
        sink_->onEvent(name, args.values());
        args.writeBack();
        return S_OK;
    } catch (...) {
        return currentExceptionToHresult(exception);
    }
}

std::unique_ptr<Subscription> adviseEvents(IDispatch* source, std::string_view eventIid,
                                           EventSink& sink) {
    if (source == nullptr) throw HostError(91, "Object variable or With block variable not set");
    std::string iidText(eventIid);
    std::wstring wide = toWide(iidText);
    IID iid;
    if (wide.size() != 38 || FAILED(IIDFromString(wide.data(), &iid)))
        throw HostError(5, "Invalid procedure call or argument: interface id " + iidText);
    if (officeEvents(iidText).empty()) throw HostError(5, "Unknown event interface " + iidText);

    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, container.putVoid());
    if (FAILED(hr) || !container) throw comError(FAILED(hr) ? hr : E_NOINTERFACE);
    ComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(iid, point.put());
    if (FAILED(hr) || !point) throw comError(FAILED(hr) ? hr : CONNECT_E_NOCONNECTION);

    auto comSink = ComPtr<ComEventSink>::adopt(new ComEventSink(iid, iidText, sink));
    DWORD cookie = 0;
    hr = point->Advise(static_cast<IDispatch*>(comSink.get()), &cookie);
    if (FAILED(hr)) {
        comSink->detach();
        throw comError(hr);
    }
    return std::make_unique<ComSubscription>(std::move(point), cookie, std::move(comSink));
}

}  // namespace cq::win32
