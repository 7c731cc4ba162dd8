#pragma once
// Failures crossing the COM edge. Numbers follow the script convention: a
// failure that carries a script error (facility FACILITY_CONTROL, 0x800Axxxx)
// or a standard automation failure with a script equivalent becomes that small
// number (438, 13, 449, ...); every other failure keeps its HRESULT.

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>

#include "common/HostError.h"

namespace cq::win32 {

// The error number that a script sees for `hr`.
std::int32_t errorNumber(HRESULT hr);
// The HRESULT that carries error number `number` through COM (the inverse of
// errorNumber): small numbers become 0x800Axxxx; a number that is not a
// failure code becomes E_FAIL.
HRESULT errorHresult(std::int32_t number);

// The failure of a call that returned `hr`. With DISP_E_EXCEPTION the number
// and description come from `info` (whose strings are freed); otherwise the
// description is the system's text for the code.
HostError comError(HRESULT hr, EXCEPINFO* info = nullptr);

// Inside a catch block, the one way an exception becomes an answer: the
// failure's own code (a HostError's number through errorHresult), with its
// description in `info` and DISP_E_EXCEPTION as the answer when `info` is
// given (IDispatch::Invoke written by hand), or in the thread's error info
// otherwise (an entry point reached through a vtable).
HRESULT currentExceptionToHresult(EXCEPINFO* info) noexcept;

}  // namespace cq::win32
