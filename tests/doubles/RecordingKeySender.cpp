#include "tests/doubles/RecordingKeySender.h"

#include "common/HostError.h"

namespace cq {

void RecordingKeySender::send(std::string_view text, std::chrono::milliseconds timeLimit) {
    ++sendCount_;
    lastTimeLimit_ = timeLimit;
    if (fail_) throw HostError(-1, "keystrokes could not be sent");
    typed_ += text;
}

void RecordingKeySender::clear() {
    typed_.clear();
    sendCount_ = 0;
    lastTimeLimit_ = std::chrono::milliseconds{0};
}

}  // namespace cq
