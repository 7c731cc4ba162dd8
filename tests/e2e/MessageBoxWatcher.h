#pragma once
// Reads and closes the message boxes (and other dialog windows) that an
// add-in shows while a host command runs. A box is modal: the command that
// made it appear does not return until the box is closed, so another thread
// watches for the dialog windows of this process, notes each one's title,
// text (its static and read-only edit lines) and owner, optionally saves a
// picture of it, and presses its OK button, or Escape as the user would.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace cq::test::e2e {

struct SeenBox {
    std::string title;
    std::string text;
    std::string owner;  // the title of the window that owns it ("" none)
};

// How a box is closed: its OK button, or the Escape key pressed in it.
enum class BoxClose { kOk, kEscape };

class MessageBoxWatcher {
  public:
    // `screenshotPrefix`: when not empty, each box is saved as
    // "<prefix><n>.bmp" before it is closed, n counting from `firstNumber`.
    explicit MessageBoxWatcher(std::string screenshotPrefix = {}, int firstNumber = 1,
                               BoxClose close = BoxClose::kOk);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // The boxes closed so far, in order; stops watching first.
    std::vector<SeenBox> finish();

  private:
    void watch();
    void handle(HWND box);

    std::string screenshotPrefix_;
    int firstNumber_;
    BoxClose close_;
    DWORD process_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::set<HWND> handled_;
    std::thread thread_;
};

}  // namespace cq::test::e2e
