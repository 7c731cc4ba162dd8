#pragma once
// The real services of the Outlook add-in: the support library beside the
// DLL, the user's locale, the settings file, the DLL's own module (folder,
// instance handle, version), the clock, the registry, the keystroke sender,
// message boxes and pictures from the DLL's resources, put in force once per
// process.

#include <windows.h>

namespace cq::win32 {

// Installs the services on first use; `module` is the add-in's DLL, whose
// resources give the button pictures and the ribbon image. Later calls do
// nothing.
void installOutlookPorts(HMODULE module);

}  // namespace cq::win32
