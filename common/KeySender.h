#pragma once
// Port: delivers keystrokes to the window that has the keyboard focus.

#include "common/KeySyntax.h"

#include <chrono>
#include <span>

namespace cq {

// How long a sender waits for its keystrokes to be processed.
inline constexpr std::chrono::milliseconds kKeyDeliveryTimeLimit{5000};

class KeySender {
  public:
    virtual ~KeySender() = default;

    // Sends the keystrokes, in order, to the focused window and returns after
    // they have been processed, or after `timeLimit` at the latest.
    // Throws HostError when they could not be sent or were not processed in time.
    virtual void send(std::span<const KeyEvent> keys, std::chrono::milliseconds timeLimit) = 0;
};

}  // namespace cq
