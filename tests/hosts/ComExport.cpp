#include "tests/hosts/ComExport.h"

#include "common/win32/ComDispatch.h"
#include "tests/hosts/ExportedObject.h"

namespace cq::test {

IDispatch* ComExport::exportObject(HostObject& object) {
    if (auto* com = dynamic_cast<win32::ComDispatch*>(&object)) {
        com->get()->AddRef();
        return com->get();
    }
    return ExportedObject::of(object);
}

Dispatch ComExport::importObject(IDispatch* object) {
    if (HostObject* host = ExportedObject::hostOf(object)) return Dispatch(host);
    return win32::wrapDispatch(object);
}

int ComExport::live() { return ExportedObject::live(); }

}  // namespace cq::test
