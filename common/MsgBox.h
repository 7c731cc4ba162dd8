#pragma once
// Port: a modal message box, as the add-ins show it to the user.

#include <cstdint>
#include <string>

namespace cq {

// Buttons values and answers of a message box (the Windows numbers).
inline constexpr std::int32_t kMsgBoxOkOnly = 0;
inline constexpr std::int32_t kMsgBoxAnswerOk = 1;

class MsgBox {
  public:
    virtual ~MsgBox() = default;
    // Shows `prompt` modally with the buttons (and icon) that `buttons` asks
    // for and `title` as the caption; returns the button the user chose.
    // Throws HostError when the box could not be shown.
    virtual std::int32_t show(const std::string& prompt, std::int32_t buttons,
                              const std::string& title) = 0;
};

}  // namespace cq
