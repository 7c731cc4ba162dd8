#include "outlook/win32/dll/ConnectObject.h"

#include <oleauto.h>

#include <string>

#include "common/HostError.h"
#include "common/win32/ComBarrier.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComError.h"
#include "common/win32/ComVariant.h"
#include "common/win32/ExtensibilityDispatch.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

// An argument that does not fit its parameter: Invoke answers `hr` and
// reports `index` (its position in rgvarg) through puArgErr.
struct BadArgument {
    UINT index;
    HRESULT hr;
};

// Argument `i` in call order (DISPPARAMS hold them last first).
UINT slotOf(const DISPPARAMS& params, UINT i) { return params.cArgs - 1 - i; }

Variant valueArgument(const DISPPARAMS& params, UINT i) {
    try {
        return fromVariant(params.rgvarg[slotOf(params, i)]);
    } catch (const HostError&) {
        throw BadArgument{slotOf(params, i), DISP_E_TYPEMISMATCH};
    }
}

// An object, or Nothing for an empty, null or missing argument.
Dispatch objectArgument(const DISPPARAMS& params, UINT i) {
    const Variant v = valueArgument(params, i);
    if (v.isEmpty() || v.isMissing()) return Dispatch();
    if (!v.isObject()) throw BadArgument{slotOf(params, i), DISP_E_TYPEMISMATCH};
    return v.toObject();
}

std::string textArgument(const DISPPARAMS& params, UINT i) {
    const Variant v = valueArgument(params, i);
    if (v.isMissing() || v.isObject()) throw BadArgument{slotOf(params, i), DISP_E_TYPEMISMATCH};
    try {
        return v.toString();
    } catch (const HostError&) {
        throw BadArgument{slotOf(params, i), DISP_E_TYPEMISMATCH};
    }
}

// Writes `value` through argument `i` when it was passed by reference; an
// argument passed by value cannot carry anything back and is left alone.
void storeArgument(const DISPPARAMS& params, UINT i, const Variant& value) {
    VARIANT& target = params.rgvarg[slotOf(params, i)];
    if ((V_VT(&target) & VT_BYREF) == 0) return;
    try {
        storeThrough(target, value);
    } catch (const HostError&) {
        throw BadArgument{slotOf(params, i), DISP_E_TYPEMISMATCH};
    }
}

void setResult(VARIANT* result, const Variant& value) {
    if (result != nullptr) toVariant(value, *result);
}

bool isExtensibilityMember(DISPID id) {
    return id >= kDispidOnConnection && id <= kDispidOnBeginShutdown;
}

// Keeps the object alive for the length of a call that may let the caller's
// last reference go (OnDisconnection ends what Outlook holds of it).
class CallGuard {
  public:
    explicit CallGuard(IUnknown& object) : object_(object) { object_.AddRef(); }
    ~CallGuard() { object_.Release(); }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;

  private:
    IUnknown& object_;
};

}  // namespace

ConnectObject::ConnectObject()
    : AddInObject([this] { return wrapDispatch(static_cast<IDispatch*>(this)); }) {}

HRESULT STDMETHODCALLTYPE ConnectObject::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IDTExtensibility2)) {
        *object = static_cast<IDTExtensibility2*>(this);
    } else if (IsEqualIID(riid, IID_IRibbonExtensibility)) {
        *object = static_cast<IRibbonExtensibility*>(&ribbon_);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count,
                                                       LCID, DISPID* ids) {
    return idsOfNames(DispatchFace::Connect, riid, names, count, ids);
}

HRESULT STDMETHODCALLTYPE ConnectObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags,
                                                DISPPARAMS* params, VARIANT* result,
                                                EXCEPINFO* exception, UINT* argError) {
    return invoke(DispatchFace::Connect, id, riid, flags, params, result, exception, argError);
}

HRESULT ConnectObject::idsOfNames(DispatchFace face, REFIID riid, LPOLESTR* names, UINT count,
                                  DISPID* ids) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (count == 0) return S_OK;
    if (names == nullptr || ids == nullptr || names[0] == nullptr) return E_POINTER;
    // No member takes named arguments: every name after the first is unknown.
    for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    ids[0] = DISPID_UNKNOWN;
    if (face == DispatchFace::Connect) ids[0] = extensibilityDispid(names[0]);
    if (ids[0] == DISPID_UNKNOWN) {
        if (const ConnectMember* member = memberNamed(face, names[0])) ids[0] = member->id;
    }
    return ids[0] != DISPID_UNKNOWN && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT ConnectObject::invoke(DispatchFace face, DISPID id, REFIID riid, WORD flags,
                              DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                              UINT* argError) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (face == DispatchFace::Connect && isExtensibilityMember(id))
        return invokeExtensibility(*this, id, flags, params, result, argError);

    const ConnectMember* member = memberWithId(face, id);
    if (member == nullptr) return DISP_E_MEMBERNOTFOUND;
    if (result != nullptr) VariantInit(result);
    if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) return DISP_E_MEMBERNOTFOUND;
    if (params == nullptr) return E_POINTER;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (params->cArgs != member->arguments) return DISP_E_BADPARAMCOUNT;
    if (params->cArgs != 0 && params->rgvarg == nullptr) return E_POINTER;

    const CallGuard alive(*this);
    try {
        runMember(*member, *params, result);
        return S_OK;
    } catch (const BadArgument& bad) {
        if (result != nullptr) VariantClear(result);
        if (argError != nullptr) *argError = bad.index;
        return bad.hr;
    } catch (...) {
        if (result != nullptr) VariantClear(result);
        return currentExceptionToHresult(exception);
    }
}

void ConnectObject::runMember(const ConnectMember& member, const DISPPARAMS& params,
                              VARIANT* result) {
    switch (member.id) {
        case kDispidGetCustomUI:
            setResult(result, connect_.IRibbonExtensibility_GetCustomUI(textArgument(params, 0)));
            return;
        case kDispidRibbon_OnLoad:
            connect_.Ribbon_OnLoad(objectArgument(params, 0));
            return;
        case kDispidButton_Action:
            connect_.Button_Action(objectArgument(params, 0));
            return;
        case kDispidButton_GetScreentip:
            setResult(result, connect_.Button_GetScreentip(objectArgument(params, 0)));
            return;
        case kDispidButton_GetImage:
            setResult(result, connect_.Button_GetImage(objectArgument(params, 0)));
            return;
        case kDispidButton_GetLabel:
            setResult(result, connect_.Button_GetLabel(objectArgument(params, 0)));
            return;
        case kDispidGetStamp: {
            std::string sStamp;
            std::string sStampTooltip;
            const bool done = connect_.GetStamp(sStamp, sStampTooltip);
            storeArgument(params, 0, sStamp);
            storeArgument(params, 1, sStampTooltip);
            setResult(result, done);
            return;
        }
        default:
            throw HostError(static_cast<std::int32_t>(DISP_E_MEMBERNOTFOUND), "Member not found");
    }
}

HRESULT ConnectObject::getCustomUI(BSTR RibbonID, BSTR* RibbonXml) {
    if (RibbonXml == nullptr) return E_POINTER;
    *RibbonXml = nullptr;
    return barrier([&]() -> HRESULT {
        const std::wstring_view id(RibbonID != nullptr ? RibbonID : L"",
                                   RibbonID != nullptr ? SysStringLen(RibbonID) : 0);
        const std::wstring xml = toWide(connect_.IRibbonExtensibility_GetCustomUI(fromWide(id)));
        *RibbonXml = SysAllocStringLen(xml.data(), static_cast<UINT>(xml.size()));
        return *RibbonXml != nullptr ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT STDMETHODCALLTYPE ConnectObject::OnConnection(IDispatch* Application, int ConnectMode,
                                                      IDispatch*, SAFEARRAY**) {
    // Only Application is used; AddInInst is not held.
    return barrier([&] {
        connect_.IDTExtensibility2_OnConnection(wrapDispatch(Application), ConnectMode, Dispatch());
    });
}

// The IRibbonExtensibility face.

HRESULT STDMETHODCALLTYPE ConnectObject::RibbonFace::QueryInterface(REFIID riid, void** object) {
    return outer_.QueryInterface(riid, object);
}

ULONG STDMETHODCALLTYPE ConnectObject::RibbonFace::AddRef() { return outer_.AddRef(); }

ULONG STDMETHODCALLTYPE ConnectObject::RibbonFace::Release() { return outer_.Release(); }

HRESULT STDMETHODCALLTYPE ConnectObject::RibbonFace::GetTypeInfoCount(UINT* count) {
    return outer_.GetTypeInfoCount(count);
}

HRESULT STDMETHODCALLTYPE ConnectObject::RibbonFace::GetTypeInfo(UINT index, LCID lcid,
                                                                 ITypeInfo** info) {
    return outer_.GetTypeInfo(index, lcid, info);
}

HRESULT STDMETHODCALLTYPE ConnectObject::RibbonFace::GetIDsOfNames(REFIID riid, LPOLESTR* names,
                                                                   UINT count, LCID, DISPID* ids) {
    return outer_.idsOfNames(DispatchFace::Ribbon, riid, names, count, ids);
}

HRESULT STDMETHODCALLTYPE ConnectObject::RibbonFace::Invoke(DISPID id, REFIID riid, LCID,
                                                            WORD flags, DISPPARAMS* params,
                                                            VARIANT* result, EXCEPINFO* exception,
                                                            UINT* argError) {
    return outer_.invoke(DispatchFace::Ribbon, id, riid, flags, params, result, exception,
                         argError);
}

HRESULT STDMETHODCALLTYPE ConnectObject::RibbonFace::GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) {
    return outer_.getCustomUI(RibbonID, RibbonXml);
}

}  // namespace cq::win32
