#include "tests/e2e/CallByName.h"

#include "common/HostError.h"
#include "common/win32/ComArguments.h"
#include "common/win32/ComError.h"
#include "common/win32/ComPtr.h"
#include "common/win32/Text.h"
#include "tests/hosts/ComExport.h"

namespace cq::test::e2e {

Variant callByName(IDispatch* object, const std::string& name, std::span<Variant> args) {
    if (object == nullptr) throw HostError(91, "Object variable not set");
    std::wstring wide = win32::toWide(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw win32::comError(hr);
    win32::OutgoingArguments out(args);
    win32::ScopedVariant result;
    EXCEPINFO exception{};
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &out.params(),
                        result.ptr(), &exception, nullptr);
    if (FAILED(hr)) throw win32::comError(hr, &exception);
    out.writeBack(&ComExport::importObject);
    return win32::fromVariant(result.get(), &ComExport::importObject);
}

}  // namespace cq::test::e2e
