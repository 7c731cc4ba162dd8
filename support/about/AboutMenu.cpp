#include "support/about/AboutMenu.h"

#include <cstdlib>
#include <string>

#include "common/Guard.h"
#include "common/HostError.h"
#include "common/host/CommandBars.h"
#include "common/host/EventSource.h"
#include "outlook/OutlookObjects.h"

namespace cq::libquintor {
namespace {

constexpr std::string_view kAddSource = "LibQuintor::LibQuintorAddAboutMenu";
constexpr std::string_view kClickSource = "LibQuintor::AboutMenu_Click";
constexpr std::int32_t kNotFound = 5;  // as Office's Item fails for a missing bar

// The major version in an Outlook version text such as "11.0.0.5608".
int majorVersion(const std::string& version) { return std::atoi(version.c_str()); }

// The Help menu of the "Menu Bar": the control with the Help menu's id, else
// the bar's last popup; Nothing when the bar has no popup at all.
CommandBarPopup helpMenu(const CommandBar& menuBar) {
    if (Dispatch help = menuBar.FindControl(Variant::missing(), kHelpMenuId))
        return CommandBarPopup(help);
    const Dispatch controls = menuBar.Controls().dispatch();
    for (std::int32_t i = controls.get("Count").toInt(); i >= 1; --i) {
        Dispatch control = controls.get("Item", i).toObject();
        if (control.get("Type").toInt() == msoControlPopup) return CommandBarPopup(control);
    }
    return {};
}

}  // namespace

// One explorer window's entry: the window held for its Close, the entry for
// its Click.
class AboutMenu::Entry {
  public:
    Entry(AboutPlatform& platform, std::uintptr_t instance)
        : platform_(platform),
          instance_(instance),
          explorer_(ol::kExplorerEvents,
                    [this](std::string_view event, std::span<Variant>) {
                        if (event == "Close") done();
                    }),
          button_(kCommandBarButtonEvents, [this](std::string_view event, std::span<Variant>) {
              if (event == "Click") click();
          }) {}
    ~Entry() { done(); }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

    // Hold the entry for its Click and the window for its Close; throw
    // HostError when the subscription fails (what is held stays held).
    void holdButton(const Dispatch& button) { button_.set(button); }
    void watchWindow(const Dispatch& explorer) { explorer_.set(explorer); }

    // Deletes the entry from its menu, ends both subscriptions and lets go of
    // both objects; any number of times.
    void done() noexcept {
        explorer_.reset();
        if (button_) guard([&] { CommandBarButton(button_.object()).Delete(); });
        button_.reset();
    }

    bool open() const { return static_cast<bool>(explorer_); }

  private:
    void click() noexcept {
        try {
            // Held for the whole click: the window may close meanwhile.
            const Dispatch explorer = explorer_.object();
            platform_.showAbout(instance_, explorer);
        } catch (const HostError& e) {
            guard([&] { platform_.logError(kClickSource, e.number(), e.description()); });
        } catch (...) {
            guard([&] { platform_.logError(kClickSource, -1, "unexpected failure"); });
        }
    }

    AboutPlatform& platform_;
    std::uintptr_t instance_;
    EventSource explorer_;
    EventSource button_;
};

AboutMenu::AboutMenu(AboutPlatform& platform) : platform_(platform) {}

AboutMenu::~AboutMenu() { clear(); }

void AboutMenu::add(std::uintptr_t instance, const Dispatch& explorer) noexcept {
    std::unique_ptr<Entry> entry;
    try {
        // Entries of closed windows go first (never from inside their own Close).
        std::erase_if(entries_, [](const std::unique_ptr<Entry>& e) { return !e->open(); });
        if (!explorer) throw HostError(91, "no explorer window");

        const Dispatch application = explorer.get("Application").toObject();
        if (majorVersion(application.get("Version").toString()) >= kFirstVersionWithoutBars) return;

        const CommandBars bars(explorer.get("CommandBars").toObject());
        const CommandBarPopup help = helpMenu(bars.Item("Menu Bar"));
        if (!help) throw HostError(kNotFound, "the Menu Bar has no Help menu");
        if (help.CommandBar().FindControl(Variant::missing(), Variant::missing(),
                                          std::string(kAboutTag)))
            return;

        const std::string caption = "About " + platform_.productName(instance) + "...";
        entry = std::make_unique<Entry>(platform_, instance);
        const CommandBarButton button = help.Controls().Add(
            msoControlButton, Variant::missing(), Variant::missing(), Variant::missing(), true);
        // From here on a failure deletes the entry again.
        entry->holdButton(button.dispatch());
        button.SetStyle(msoButtonCaption);
        button.SetBeginGroup(true);
        button.SetCaption(caption);
        button.SetTag(std::string(kAboutTag));
        entry->watchWindow(explorer);
        entries_.push_back(std::move(entry));
    } catch (const HostError& e) {
        entry.reset();
        guard([&] { platform_.logError(kAddSource, e.number(), e.description()); });
    } catch (...) {
        entry.reset();
        guard([&] { platform_.logError(kAddSource, -1, "unexpected failure"); });
    }
}

void AboutMenu::clear() noexcept {
    for (auto& entry : entries_) entry->done();
    entries_.clear();
}

std::size_t AboutMenu::size() const {
    std::size_t n = 0;
    for (const auto& entry : entries_)
        if (entry->open()) ++n;
    return n;
}

}  // namespace cq::libquintor
