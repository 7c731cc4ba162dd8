#pragma once
// The exception barrier of every COM entry point: nothing thrown inside may
// reach the caller, which sees an HRESULT instead.
//   HostError          its number when that is a failure code, else E_FAIL
//   std::bad_alloc     E_OUTOFMEMORY
//   anything else      E_UNEXPECTED
// The body returns an HRESULT, or nothing for S_OK.

#include <windows.h>

#include <new>
#include <type_traits>
#include <utility>

#include "common/HostError.h"

namespace cq::win32 {

inline HRESULT hostErrorHresult(const HostError& error) noexcept {
    const auto hr = static_cast<HRESULT>(error.number());
    return FAILED(hr) ? hr : E_FAIL;
}

template <class F>
HRESULT barrier(F&& body) noexcept {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<F&&>>) {
            std::forward<F>(body)();
            return S_OK;
        } else {
            return static_cast<HRESULT>(std::forward<F>(body)());
        }
    } catch (const HostError& error) {
        return hostErrorHresult(error);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace cq::win32
