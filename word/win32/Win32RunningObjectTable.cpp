#include "word/win32/Win32RunningObjectTable.h"

#include <windows.h>
#include <oleauto.h>

#include "common/win32/ComDispatch.h"
#include "common/win32/ComError.h"
#include "common/win32/ComPtr.h"
#include "common/win32/Text.h"

namespace cq::word::win32 {

Dispatch Win32RunningObjectTable::GetActiveObject(const std::string& progId) {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(cq::win32::toWide(progId).c_str(), &clsid);
    if (FAILED(hr)) throw cq::win32::comError(hr);
    cq::win32::ComPtr<IUnknown> running;
    hr = ::GetActiveObject(clsid, nullptr, running.put());
    // Not running: nothing, and nothing is started.
    if (hr == MK_E_UNAVAILABLE) return {};
    if (FAILED(hr)) throw cq::win32::comError(hr);
    IDispatch* object = nullptr;
    hr = running.get()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object));
    if (FAILED(hr)) throw cq::win32::comError(hr);
    return cq::win32::adoptDispatch(object);
}

}  // namespace cq::word::win32
