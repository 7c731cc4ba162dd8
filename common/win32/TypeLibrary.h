#pragma once
// The type library of this module: the TYPELIB resource that the DLL carries,
// loaded once when first needed. It describes the module's classes and their
// interfaces to COM, to script engines and to object browsers, and the
// module's IDispatch implementations run through it.

#include <windows.h>
#include <oaidl.h>

#include "common/win32/ComPtr.h"

namespace cq::win32 {

// The description of the interface `iid`: for a dual interface, its vtable
// half when `vtable` is set (what ITypeInfo::Invoke needs), else its dispatch
// half (what GetTypeInfo hands out). Throws HostError when the module carries
// no type library or the library does not hold the interface.
ComPtr<ITypeInfo> typeInfoOf(REFIID iid, bool vtable);

// Lets go of the loaded library (when the module may be unloaded).
void releaseTypeLibrary() noexcept;

}  // namespace cq::win32
