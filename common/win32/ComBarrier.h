#pragma once
// The exception barrier of every COM entry point: nothing thrown inside may
// reach the caller, which sees an HRESULT instead, made by
// currentExceptionToHresult (ComError.h): a HostError's number as its script
// error (438 as 0x800A01B6, ...), std::bad_alloc as E_OUTOFMEMORY, anything
// else as E_UNEXPECTED, with the description in the thread's error info.
// The body returns an HRESULT, or nothing for S_OK.

#include <windows.h>

#include <type_traits>
#include <utility>

#include "common/win32/ComError.h"

namespace cq::win32 {

template <class F>
HRESULT barrier(F&& body) noexcept {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<F&&>>) {
            std::forward<F>(body)();
            return S_OK;
        } else {
            return static_cast<HRESULT>(std::forward<F>(body)());
        }
    } catch (...) {
        return currentExceptionToHresult(nullptr);
    }
}

}  // namespace cq::win32
