#pragma once
// Test double of the KeySender port: records what would have been typed.

#include "common/KeySender.h"

#include <string>
#include <vector>

namespace cq {

class RecordingKeySender : public KeySender {
  public:
    void send(std::span<const KeyEvent> keys, std::chrono::milliseconds timeLimit) override;

    // Everything typed so far, in order. Characters typed without modifiers appear
    // as themselves (UTF-8); a named key appears as {NAME} (e.g. {ENTER}, {BS});
    // a key with modifiers is preceded by them as + ^ % (e.g. ^a, +{TAB}).
    std::string typedText() const;
    // Every keystroke received, in order.
    const std::vector<KeyEvent>& events() const { return events_; }
    // How many send calls arrived (including failed ones), and the last time limit.
    int sendCount() const { return sendCount_; }
    std::chrono::milliseconds lastTimeLimit() const { return lastTimeLimit_; }

    // When set, each send throws HostError and records nothing.
    void failSends(bool fail) { fail_ = fail; }
    void clear();

  private:
    std::vector<KeyEvent> events_;
    int sendCount_ = 0;
    std::chrono::milliseconds lastTimeLimit_{0};
    bool fail_ = false;
};

}  // namespace cq
