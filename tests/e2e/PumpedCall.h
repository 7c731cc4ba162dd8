#pragma once
// Runs calls from the message loop: each call posted here runs when the next
// message of this thread is pumped, by whoever pumps it (an add-in waiting for
// its keystrokes, for instance). Posted messages come before input, so a call
// posted right before a click runs at the first message that the click pumps.

#include <windows.h>

#include <functional>
#include <vector>

namespace cq::test::e2e {

class PumpedCall {
  public:
    PumpedCall();
    ~PumpedCall();
    PumpedCall(const PumpedCall&) = delete;
    PumpedCall& operator=(const PumpedCall&) = delete;

    void post(std::function<void()> call);

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void runPosted();

    HWND window_ = nullptr;
    std::vector<std::function<void()>> calls_;
};

}  // namespace cq::test::e2e
