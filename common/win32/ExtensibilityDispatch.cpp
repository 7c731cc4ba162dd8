#include "common/win32/ExtensibilityDispatch.h"

#include <utility>

#include "common/win32/ComBarrier.h"

namespace cq::win32 {
namespace {

struct Member {
    const wchar_t* name;
    DISPID id;
    UINT arguments;
};

constexpr Member kMembers[] = {
    {L"OnConnection", kDispidOnConnection, 4},
    {L"OnDisconnection", kDispidOnDisconnection, 2},
    {L"OnAddInsUpdate", kDispidOnAddInsUpdate, 1},
    {L"OnStartupComplete", kDispidOnStartupComplete, 1},
    {L"OnBeginShutdown", kDispidOnBeginShutdown, 1},
};

wchar_t lower(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool sameName(const OLECHAR* a, const wchar_t* b) {
    for (; *a != 0 && *b != 0; ++a, ++b)
        if (lower(*a) != lower(*b)) return false;
    return *a == 0 && *b == 0;
}

const Member* memberOf(DISPID id) {
    for (const Member& m : kMembers)
        if (m.id == id) return &m;
    return nullptr;
}

// One reference to an IDispatch, released at the end of the call.
class ObjectArgument {
  public:
    ObjectArgument() = default;
    ObjectArgument(const ObjectArgument&) = delete;
    ObjectArgument& operator=(const ObjectArgument&) = delete;
    ~ObjectArgument() {
        if (p_) p_->Release();
    }
    IDispatch* get() const { return p_; }

    // False when `v` holds no object reference and is not empty either.
    bool take(const VARIANT& v, int depth = 0) {
        IUnknown* unknown = nullptr;
        switch (V_VT(&v)) {
            case VT_EMPTY:
            case VT_NULL:
                return true;
            case VT_ERROR:  // a missing argument
                return V_ERROR(&v) == DISP_E_PARAMNOTFOUND;
            case VT_DISPATCH:
                return hold(V_DISPATCH(&v));
            case VT_DISPATCH | VT_BYREF:
                return hold(V_DISPATCHREF(&v) ? *V_DISPATCHREF(&v) : nullptr);
            case VT_UNKNOWN:
                unknown = V_UNKNOWN(&v);
                break;
            case VT_UNKNOWN | VT_BYREF:
                unknown = V_UNKNOWNREF(&v) ? *V_UNKNOWNREF(&v) : nullptr;
                break;
            case VT_VARIANT | VT_BYREF:
                return depth == 0 && V_VARIANTREF(&v) != nullptr && take(*V_VARIANTREF(&v), 1);
            default:
                return false;
        }
        if (unknown == nullptr) return true;
        return SUCCEEDED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&p_)));
    }

  private:
    bool hold(IDispatch* p) {
        p_ = p;
        if (p_) p_->AddRef();
        return true;
    }

    IDispatch* p_ = nullptr;
};

bool isMissing(const VARIANT& v) {
    return V_VT(&v) == VT_EMPTY || V_VT(&v) == VT_NULL ||
           (V_VT(&v) == VT_ERROR && V_ERROR(&v) == DISP_E_PARAMNOTFOUND);
}

bool toMode(VARIANT& v, int& mode) {
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, &v, 0, VT_I4))) return false;
    mode = V_I4(&converted);
    return true;
}

// The custom array: the caller's own slot when passed by reference, otherwise
// `local` (a copy of the pointer, or null for none).
bool toCustom(VARIANT& v, SAFEARRAY**& custom, SAFEARRAY*& local, int depth = 0) {
    if (isMissing(v)) {
        local = nullptr;
        custom = &local;
        return true;
    }
    switch (V_VT(&v)) {
        case VT_ARRAY | VT_VARIANT | VT_BYREF:
            local = nullptr;
            custom = V_ARRAYREF(&v) ? V_ARRAYREF(&v) : &local;
            return true;
        case VT_ARRAY | VT_VARIANT:
            local = V_ARRAY(&v);
            custom = &local;
            return true;
        case VT_VARIANT | VT_BYREF:
            return depth == 0 && V_VARIANTREF(&v) != nullptr &&
                   toCustom(*V_VARIANTREF(&v), custom, local, 1);
        default:
            return false;
    }
}

}  // namespace

DISPID extensibilityDispid(const OLECHAR* name) noexcept {
    if (name == nullptr) return DISPID_UNKNOWN;
    for (const Member& m : kMembers)
        if (sameName(name, m.name)) return m.id;
    return DISPID_UNKNOWN;
}

HRESULT invokeExtensibility(IDTExtensibility2& target, DISPID member, WORD flags,
                            DISPPARAMS* params, VARIANT* result, UINT* argErr) noexcept {
    if (result) VariantInit(result);
    const Member* m = memberOf(member);
    if (m == nullptr || (flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    if (params == nullptr) return E_INVALIDARG;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (params->cArgs != m->arguments) return DISP_E_BADPARAMCOUNT;
    if (params->rgvarg == nullptr) return E_INVALIDARG;

    // Arguments arrive last first.
    auto argument = [&](UINT position) -> VARIANT& {
        return params->rgvarg[params->cArgs - 1 - position];
    };
    auto mismatch = [&](UINT position) {
        if (argErr) *argErr = params->cArgs - 1 - position;
        return DISP_E_TYPEMISMATCH;
    };

    SAFEARRAY* local = nullptr;
    SAFEARRAY** custom = nullptr;
    const UINT customAt = m->arguments - 1;
    if (!toCustom(argument(customAt), custom, local)) return mismatch(customAt);

    return barrier([&]() -> HRESULT {
        switch (member) {
            case kDispidOnConnection: {
                ObjectArgument application;
                ObjectArgument addInInst;
                int mode = 0;
                if (!application.take(argument(0))) return mismatch(0);
                if (!toMode(argument(1), mode)) return mismatch(1);
                if (!addInInst.take(argument(2))) return mismatch(2);
                return target.OnConnection(application.get(), mode, addInInst.get(), custom);
            }
            case kDispidOnDisconnection: {
                int mode = 0;
                if (!toMode(argument(0), mode)) return mismatch(0);
                return target.OnDisconnection(mode, custom);
            }
            case kDispidOnAddInsUpdate:
                return target.OnAddInsUpdate(custom);
            case kDispidOnStartupComplete:
                return target.OnStartupComplete(custom);
            default:
                return target.OnBeginShutdown(custom);
        }
    });
}

}  // namespace cq::win32
