#pragma once
// The library's About entry in Outlook's explorer windows (Outlook 2000 to
// 2007): one temporary entry "About <product>..." at the end of the window's
// Help menu on the "Menu Bar", tagged so that the window gets it only once.
// A click shows the About window. The entry, its Click subscription and the
// window are let go when the window closes, and all of them by clear().
// From Outlook 2010 on the explorer shows no command bars: nothing is added.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "common/host/Dispatch.h"
#include "support/about/AboutPlatform.h"

namespace cq::libquintor {

// The built-in control id of the Help menu: msotcidHelpMenu in the public
// Office header msomenu.h (GitHub jaboles/Co11ors, scratch/otools/inc/gen),
// the list that also gives the Insert menu 30005. When no control has it,
// the last popup of the "Menu Bar" is taken.
inline constexpr std::int32_t kHelpMenuId = 30010;
// The Tag of the entry.
inline constexpr std::string_view kAboutTag = "Quintor.LibQuintor.About";
// The first major version of Outlook whose explorer has no command bars.
inline constexpr int kFirstVersionWithoutBars = 14;

class AboutMenu {
  public:
    explicit AboutMenu(AboutPlatform& platform);
    // Runs clear().
    ~AboutMenu();
    AboutMenu(const AboutMenu&) = delete;
    AboutMenu& operator=(const AboutMenu&) = delete;

    // Adds the entry for module `instance` to `explorer` unless the window
    // has one. A failing step ends the call with one error entry in the log;
    // nothing is left half made. Never throws.
    void add(std::uintptr_t instance, const Dispatch& explorer) noexcept;
    // Deletes every entry from its menu and lets go of the entries, their
    // subscriptions and their windows. Never throws.
    void clear() noexcept;
    // The entries whose window is still open.
    std::size_t size() const;

  private:
    class Entry;

    AboutPlatform& platform_;
    std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace cq::libquintor
