#pragma once
// Failures crossing the COM edge. Numbers follow the script convention: a
// failure that carries a script error (facility FACILITY_CONTROL, 0x800Axxxx)
// or a standard automation failure with a script equivalent becomes that small
// number (438, 13, 449, ...); every other failure keeps its HRESULT.

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "common/HostError.h"

namespace cq::win32 {

// The error number that a script sees for `hr`.
std::int32_t errorNumber(HRESULT hr);
// The HRESULT that carries error number `number` through COM (the inverse of
// errorNumber): small numbers become 0x800Axxxx; a number that is not a
// failure code becomes E_FAIL.
HRESULT errorHresult(std::int32_t number);

// The failure of a call that returned `hr`. With DISP_E_EXCEPTION the number
// and description come from `info` (which is cleared); otherwise the
// description is the system's text for the code.
HostError comError(HRESULT hr, EXCEPINFO* info = nullptr);

// Frees the strings of `info` and empties it.
void clearException(EXCEPINFO& info) noexcept;

// Inside a catch block, the one way an exception becomes an answer: a
// HostError's number as its script error through errorHresult (438 as
// 0x800A01B6, ...), std::bad_alloc as E_OUTOFMEMORY, anything else as
// E_UNEXPECTED. The description goes into `info`, with DISP_E_EXCEPTION as
// the answer, when `info` is given (IDispatch::Invoke written by hand), or
// into the thread's error info otherwise (an entry point reached through a
// vtable).
HRESULT currentExceptionToHresult(EXCEPINFO* info) noexcept;

// The exception barrier of every COM entry point: nothing thrown inside
// `body` reaches the caller, which sees currentExceptionToHresult(nullptr)
// instead. The body returns an HRESULT, or nothing for S_OK.
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
