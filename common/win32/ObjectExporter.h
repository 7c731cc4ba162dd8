#pragma once
// Host objects that are not COM objects (the in-memory Office of the tests)
// cross to COM through the exporter installed as Port<ObjectExporter>.

#include <windows.h>
#include <oaidl.h>

#include "common/host/HostObject.h"

namespace cq::win32 {

class ObjectExporter {
  public:
    // The COM object standing for `object`, with a new reference. The same
    // object gives the same IDispatch for as long as that one lives.
    virtual IDispatch* exportObject(HostObject& object) = 0;

  protected:
    virtual ~ObjectExporter() = default;
};

}  // namespace cq::win32
