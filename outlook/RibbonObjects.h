#pragma once
// The ribbon objects that Outlook 2007 hands to the add-in's callbacks.

#include <string>

#include "common/host/TypedObject.h"

namespace cq {

// Given to the onLoad callback: asks the host to query a control's callbacks again.
class IRibbonUI : public TypedObject {
  public:
    using TypedObject::TypedObject;

    void Invalidate() const { object_.call("Invalidate"); }
    void InvalidateControl(const std::string& controlId) const {
        object_.call("InvalidateControl", controlId);
    }
};

// Given to every control callback: the control the callback is about.
class IRibbonControl : public TypedObject {
  public:
    using TypedObject::TypedObject;

    std::string Id() const { return object_.get("Id").toString(); }
};

}  // namespace cq
