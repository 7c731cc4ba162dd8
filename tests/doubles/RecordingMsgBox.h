#pragma once
// Test double of the MsgBox port: records every box instead of showing it and
// answers OK.

#include <string>
#include <vector>

#include "common/HostError.h"
#include "common/MsgBox.h"

namespace cq::test {

struct ShownBox {
    std::string prompt;
    std::int32_t buttons;
    std::string title;
    friend bool operator==(const ShownBox&, const ShownBox&) = default;
};

class RecordingMsgBox : public MsgBox {
  public:
    std::int32_t show(const std::string& prompt, std::int32_t buttons,
                      const std::string& title) override {
        if (fail) throw HostError(-2147467259, "The message box could not be shown");
        shown.push_back({prompt, buttons, title});
        return kMsgBoxAnswerOk;
    }

    std::vector<ShownBox> shown;
    bool fail = false;
};

}  // namespace cq::test
