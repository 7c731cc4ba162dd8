#pragma once
// Host objects (the in-memory Office) exported as real COM objects.
//
// While a ComExport lives it is the ObjectExporter in force, so every host
// object that crosses to COM (a call's result, an event's argument) becomes
// its exported COM object. The same host object always gives the same
// IDispatch while that one lives, and a COM object that arrives from outside
// travels back as itself.

#include <windows.h>
#include <oaidl.h>

#include "common/Port.h"
#include "common/host/Dispatch.h"
#include "common/win32/ObjectExporter.h"

namespace cq::test {

class ComExport final : public win32::ObjectExporter {
  public:
    ComExport() : port_(*this) {}

    // The exported COM object of `object` with a new reference (for a COM
    // object wrapped as a host object: its own IDispatch).
    IDispatch* exportObject(HostObject& object) override;

    // The host object behind `object` when it is one exported here, otherwise
    // a handle over the COM object itself.
    static Dispatch importObject(IDispatch* object);
    // Exported COM objects alive.
    static int live();

  private:
    ScopedPort<win32::ObjectExporter> port_;
};

}  // namespace cq::test
