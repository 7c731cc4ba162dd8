#pragma once
// Base of the typed host wrappers: one Dispatch handle, with the members of a
// particular host interface added by the derived class. A wrapper holds one
// reference, like the handle it wraps.

#include <utility>

#include "common/host/Dispatch.h"

namespace cq {

class TypedObject {
  public:
    TypedObject() = default;
    explicit TypedObject(Dispatch object) : object_(std::move(object)) {}

    const Dispatch& dispatch() const { return object_; }
    explicit operator bool() const { return static_cast<bool>(object_); }
    // "Set x = Nothing".
    void reset() noexcept { object_.reset(); }

  protected:
    Dispatch object_;
};

}  // namespace cq
