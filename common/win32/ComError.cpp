#include "common/win32/ComError.h"

#include <oleauto.h>

#include <cstdio>
#include <exception>
#include <new>

#include "common/win32/ComPtr.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

struct ScriptError {
    HRESULT hr;
    std::int32_t number;
    const char* text;
};

// Automation failures that a script reports under its own numbers.
constexpr ScriptError kScriptErrors[] = {
    {DISP_E_UNKNOWNNAME, 438, "Object doesn't support this property or method"},
    {DISP_E_MEMBERNOTFOUND, 438, "Object doesn't support this property or method"},
    {DISP_E_TYPEMISMATCH, 13, "Type mismatch"},
    {DISP_E_OVERFLOW, 6, "Overflow"},
    {DISP_E_PARAMNOTOPTIONAL, 449, "Argument not optional"},
    {DISP_E_BADPARAMCOUNT, 450, "Wrong number of arguments or invalid property assignment"},
    {DISP_E_BADINDEX, 9, "Subscript out of range"},
    {E_OUTOFMEMORY, 7, "Out of memory"},
    {E_INVALIDARG, 5, "Invalid procedure call or argument"},
};

const ScriptError* scriptError(HRESULT hr) {
    for (const auto& e : kScriptErrors)
        if (e.hr == hr) return &e;
    return nullptr;
}

std::string systemText(HRESULT hr) {
    if (const ScriptError* e = scriptError(hr)) return e->text;
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", n);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (!text.empty()) return fromWide(text);
    char fallback[48];
    std::snprintf(fallback, sizeof fallback, "Automation error 0x%08lX",
                  static_cast<unsigned long>(hr));
    return fallback;
}

}  // namespace

std::int32_t errorNumber(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL && FAILED(hr)) return HRESULT_CODE(hr);
    if (const ScriptError* e = scriptError(hr)) return e->number;
    return static_cast<std::int32_t>(hr);
}

HRESULT errorHresult(std::int32_t number) {
    if (number > 0 && number <= 0xFFFF)
        return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
    if (number < 0) return static_cast<HRESULT>(number);
    return E_FAIL;
}

HostError comError(HRESULT hr, EXCEPINFO* info) {
    if (hr == DISP_E_EXCEPTION && info != nullptr) {
        if (info->pfnDeferredFillIn != nullptr) info->pfnDeferredFillIn(info);
        std::string description = fromBstr(info->bstrDescription);
        HRESULT code = info->scode;
        std::int32_t number = info->wCode != 0 ? info->wCode : errorNumber(code);
        if (info->wCode == 0 && code == S_OK) number = errorNumber(hr);
        clearException(*info);
        if (description.empty()) description = systemText(FAILED(code) ? code : hr);
        return HostError(number, description);
    }
    return HostError(errorNumber(hr), systemText(hr));
}

void clearException(EXCEPINFO& info) noexcept {
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
    info = EXCEPINFO{};
}

HRESULT currentExceptionToHresult(EXCEPINFO* info) noexcept {
    HRESULT code = E_FAIL;
    std::string description;
    try {
        throw;
    } catch (const HostError& e) {
        code = errorHresult(e.number());
        description = e.description();
    } catch (const std::bad_alloc&) {
        code = E_OUTOFMEMORY;
        description = "Out of memory";
    } catch (const std::exception& e) {
        code = E_UNEXPECTED;
        description = e.what();
    } catch (...) {
        code = E_UNEXPECTED;
        description = "Unexpected failure";
    }
    try {
        if (info == nullptr) {
            // Through a vtable: the description goes with the thread's error
            // info, where ITypeInfo::Invoke and other callers find it.
            ComPtr<ICreateErrorInfo> create;
            if (SUCCEEDED(CreateErrorInfo(create.put()))) {
                const std::wstring wide = toWide(description);
                create->SetDescription(const_cast<LPOLESTR>(wide.c_str()));
                ComPtr<IErrorInfo> error;
                if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, error.putVoid())))
                    SetErrorInfo(0, error.get());
            }
            return code;
        }
        *info = EXCEPINFO{};
        info->scode = code;
        info->bstrDescription = toBstr(description);
        return DISP_E_EXCEPTION;
    } catch (...) {
        return code;
    }
}

}  // namespace cq::win32
