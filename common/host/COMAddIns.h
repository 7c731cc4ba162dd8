#pragma once
// Office's collection of COM add-ins and its elements, through which an
// add-in publishes an object for other programs (COMAddIn.Object).

#include <string>

#include "common/host/TypedObject.h"

namespace cq {

class COMAddIn : public TypedObject {
  public:
    using TypedObject::TypedObject;

    Dispatch Object() const { return object_.get("Object").toObject(); }
    void SetObject(const Dispatch& object) const { object_.put("Object", object); }
};

class COMAddIns : public TypedObject {
  public:
    using TypedObject::TypedObject;

    // The add-in registered under `progId`; the host fails the call when there is none.
    COMAddIn Item(const std::string& progId) const {
        return COMAddIn(object_.call("Item", progId).toObject());
    }
};

}  // namespace cq
