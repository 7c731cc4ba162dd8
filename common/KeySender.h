#pragma once
// Port: delivers text as keystrokes to the window that has the keyboard focus.

#include <chrono>
#include <string_view>

namespace cq {

// How long a sender waits for its keystrokes to be processed.
inline constexpr std::chrono::milliseconds kKeyDeliveryTimeLimit{5000};

class KeySender {
  public:
    virtual ~KeySender() = default;

    // Types each character of the UTF-8 `text`, as itself and in order, into
    // the focused window and returns after the keystrokes have been
    // processed, or after `timeLimit` at the latest. Throws HostError when
    // they could not be sent or were not processed in time.
    virtual void send(std::string_view text, std::chrono::milliseconds timeLimit) = 0;
};

}  // namespace cq
