#pragma once
// Lets a portable object keep its owner (the COM object around it) alive while
// one of its own handlers runs. A click handler waits for its keystrokes and
// pumps messages meanwhile; the host may let go of the add-in during that
// wait, and the object must not be destroyed under the handler.

#include <functional>
#include <memory>
#include <utility>

namespace cq {

class KeepAlive {
  public:
    // Holds the owner until it is destroyed; empty when no owner was set.
    using Pin = std::shared_ptr<void>;

    // `pin` takes a reference on the owner; the Pin it returns gives it back.
    void set(std::function<Pin()> pin) { pin_ = std::move(pin); }
    Pin pin() const { return pin_ ? pin_() : nullptr; }

  private:
    std::function<Pin()> pin_;
};

}  // namespace cq
