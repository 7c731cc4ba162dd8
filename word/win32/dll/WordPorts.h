#pragma once
// The real services of the Word add-in: its log file, the running-object
// table, message boxes, pictures and version of its own DLL, the registry and
// the keystroke sender, put in force once per process.

#include <windows.h>

namespace cq::word::win32 {

// Installs the services on first use; `module` is the add-in's DLL, whose
// resources give the button pictures. Later calls do nothing.
void installPorts(HMODULE module);

}  // namespace cq::word::win32
