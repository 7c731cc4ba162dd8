#pragma once
// The About entries' platform on Windows: the product name and the About
// window from the add-in's module, owned by the explorer's window (its
// IOleWindow where Outlook offers one, else the window that is active on this
// thread, the one whose menu was clicked), and the log through a callback.

#include <windows.h>

#include <functional>
#include <string>

#include "support/ModuleAbout.h"
#include "support/about/AboutPlatform.h"

namespace cq::libquintor {

class Win32AboutPlatform final : public AboutPlatform {
  public:
    using Log = std::function<void(std::string_view source, std::int32_t number,
                                   const std::string& message)>;

    explicit Win32AboutPlatform(Log log) : log_(std::move(log)) {}

    std::string productName(std::uintptr_t instance) override;
    void showAbout(std::uintptr_t instance, const Dispatch& explorer) override;
    void logError(std::string_view source, std::int32_t number,
                  const std::string& message) override;

    // The string resources shown, as the start-up record names them.
    AboutStringIds ids;

  private:
    Log log_;
};

}  // namespace cq::libquintor
