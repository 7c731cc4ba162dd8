#pragma once
// Test double of the KeySender port: records what would have been typed.

#include "common/KeySender.h"

#include <string>

namespace cq {

class RecordingKeySender : public KeySender {
  public:
    void send(std::string_view text, std::chrono::milliseconds timeLimit) override;

    // Everything typed so far, in order (UTF-8).
    const std::string& typedText() const { return typed_; }
    // How many send calls arrived (including failed ones), and the last time limit.
    int sendCount() const { return sendCount_; }
    std::chrono::milliseconds lastTimeLimit() const { return lastTimeLimit_; }

    // When set, each send throws HostError and records nothing.
    void failSends(bool fail) { fail_ = fail; }
    void clear();

  private:
    std::string typed_;
    int sendCount_ = 0;
    std::chrono::milliseconds lastTimeLimit_{0};
    bool fail_ = false;
};

}  // namespace cq
