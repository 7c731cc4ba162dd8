#pragma once
// regsvr32.exe run on a DLL, as an installer or a user would register it.

#include <windows.h>

#include <string>

namespace cq::test {

// Runs regsvr32 with `options` (for example L"/s" or L"/u /s") on `dll` and
// waits up to a minute for it: its exit code; GetLastError() | 0x10000000
// when it did not start.
DWORD regsvr32(const std::wstring& options, const std::wstring& dll);

}  // namespace cq::test
