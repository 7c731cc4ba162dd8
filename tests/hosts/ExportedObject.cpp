#include "tests/hosts/ExportedObject.h"

#include <olectl.h>

#include <cctype>
#include <unordered_map>
#include <vector>

#include "common/host/Variant.h"
#include "common/win32/ComArguments.h"
#include "common/win32/ComError.h"
#include "common/win32/ComPtr.h"
#include "common/win32/OfficeEvents.h"
#include "common/win32/Text.h"
#include "tests/hosts/ComExport.h"
#include "tests/hosts/ExportedConnectionPoint.h"

namespace cq::test {
namespace {

std::unordered_map<HostObject*, ExportedObject*>& exported() {
    static std::unordered_map<HostObject*, ExportedObject*> map;
    return map;
}

// Member names get DISPIDs in the order they are first asked for, the same
// for every exported object. Names are compared without regard to case.
class MemberNames {
  public:
    DISPID id(const std::string& name) {
        std::string key = lower(name);
        if (auto it = ids_.find(key); it != ids_.end()) return it->second;
        names_.push_back(name);
        DISPID id = kFirst + static_cast<DISPID>(names_.size()) - 1;
        ids_.emplace(std::move(key), id);
        return id;
    }
    const std::string* name(DISPID id) const {
        if (id < kFirst || id - kFirst >= static_cast<DISPID>(names_.size())) return nullptr;
        return &names_[static_cast<size_t>(id - kFirst)];
    }

  private:
    static constexpr DISPID kFirst = 1;
    static std::string lower(std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }
    std::vector<std::string> names_;
    std::unordered_map<std::string, DISPID> ids_;
};

MemberNames& memberNames() {
    static MemberNames names;
    return names;
}

std::string iidText(const IID& iid) {
    wchar_t text[40];
    StringFromGUID2(iid, text, 40);
    return win32::fromWide(text);
}

}  // namespace

// The reference it is born with is one to the host object too.
ExportedObject::ExportedObject(HostObject& host) : host_(host) { host_.addRef(); }

ExportedObject::~ExportedObject() { exported().erase(&host_); }

IDispatch* ExportedObject::of(HostObject& host) {
    auto& map = exported();
    if (auto it = map.find(&host); it != map.end()) {
        it->second->AddRef();
        return it->second;
    }
    auto* object = new ExportedObject(host);
    map.emplace(&host, object);
    return object;
}

HostObject* ExportedObject::hostOf(IDispatch* object) {
    for (const auto& [host, exportedObject] : exported())
        if (static_cast<IDispatch*>(exportedObject) == object) return host;
    return nullptr;
}

int ExportedObject::live() { return static_cast<int>(exported().size()); }

ULONG STDMETHODCALLTYPE ExportedObject::AddRef() {
    host_.addRef();
    return Com::AddRef();
}

ULONG STDMETHODCALLTYPE ExportedObject::Release() {
    HostObject& host = host_;
    const ULONG left = Com::Release();  // the last one deletes this object
    host.release();
    return left;
}

HRESULT STDMETHODCALLTYPE ExportedObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                        DISPID* ids) {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    try {
        // Only the member itself has an id; argument names are not known.
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        if (count == 0 || names[0] == nullptr) return DISP_E_UNKNOWNNAME;
        ids[0] = memberNames().id(win32::fromWide(names[0]));
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE ExportedObject::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                                 DISPPARAMS* params, VARIANT* result,
                                                 EXCEPINFO* exception, UINT*) {
    try {
        if (result != nullptr) VariantInit(result);
        const std::string* name = memberNames().name(id);
        if (name == nullptr) return DISP_E_MEMBERNOTFOUND;
        DISPPARAMS none{};
        if (params == nullptr) params = &none;
        CallKind kind;
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            // The new value is the one named argument, DISPID_PROPERTYPUT; in
            // rgvarg it comes first, so in call order it is last.
            if (params->cNamedArgs > 1 ||
                (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
                return DISP_E_NONAMEDARGS;
            kind = CallKind::Put;
        } else {
            if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
            kind = (flags & DISPATCH_METHOD) ? CallKind::Method : CallKind::Get;
        }
        // The call may drop the caller's last reference to this object.
        const win32::ComPtr<IDispatch> self(static_cast<IDispatch*>(this));
        HostObject& host = host_;
        win32::IncomingArguments args(*params, &ComExport::importObject);
        Variant value = host.invoke(*name, kind, args.values());
        args.writeBack();
        if (result != nullptr && kind != CallKind::Put) win32::toVariant(value, *result);
        return S_OK;
    } catch (...) {
        return win32::currentExceptionToHresult(exception);
    }
}

HRESULT STDMETHODCALLTYPE ExportedObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points != nullptr) *points = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ExportedObject::FindConnectionPoint(REFIID riid,
                                                              IConnectionPoint** point) {
    if (point == nullptr) return E_POINTER;
    *point = nullptr;
    try {
        std::string text = iidText(riid);
        if (win32::officeEvents(text).empty()) return CONNECT_E_NOCONNECTION;
        auto& slot = points_[text];
        if (!slot) slot = std::make_unique<ExportedConnectionPoint>(*this, riid, text);
        *point = slot.get();
        slot->AddRef();
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace cq::test
