// The support library's About entry against the in-memory Outlook: where it
// goes, what a click does, and that every reference it takes goes again when
// the window closes or the library is unloaded, whatever call fails.

#include "support/about/AboutMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/HostError.h"
#include "common/Port.h"
#include "common/host/CommandBars.h"
#include "outlook/OutlookObjects.h"
#include "outlook/SupportLibrary.h"
#include "tests/doubles/FakeOutlook.h"
#include "tests/doubles/OutlookWorld.h"
#include "tests/doubles/RecordingSupportLibrary.h"

namespace cq::test {
namespace {

using libquintor::AboutMenu;
using libquintor::AboutPlatform;

constexpr std::uintptr_t kInstance = 0x10000000;

struct LoggedError {
    std::string source;
    std::int32_t number;
    std::string message;
};

class RecordingPlatform : public AboutPlatform {
  public:
    std::string productName(std::uintptr_t instance) override {
        instances.push_back(instance);
        if (!product) throw HostError(1813, "no version resource");
        return "Chronoquill";
    }
    void showAbout(std::uintptr_t instance, const Dispatch& explorer) override {
        instances.push_back(instance);
        shownFor.push_back(explorer.rawInterface());
        if (!window) throw HostError(1400, "the About window cannot be created");
    }
    void logError(std::string_view source, std::int32_t number,
                  const std::string& message) override {
        errors.push_back({std::string(source), number, message});
    }

    bool product = true;
    bool window = true;
    std::vector<std::uintptr_t> instances;
    std::vector<void*> shownFor;
    std::vector<LoggedError> errors;
};

struct World {
    explicit World(int version = 11, ExplorerLayout layout = {})
        : outlook(office, version), explorer(outlook.addExplorer(layout)) {}

    FakeCommandBars& bars() { return outlook.explorerBars(explorer); }
    // The controls tagged as the entry, on any bar of the window.
    std::vector<FakeObject*> entries() {
        std::vector<FakeObject*> found;
        FakeObject* menu = bars().bar("Menu Bar");
        if (!menu) return found;
        for (FakeObject* popup : bars().controls(*menu)) {
            if (bars().property(*popup, "Type").toInt() != msoControlPopup) continue;
            for (FakeObject* c : bars().controls(bars().popupBar(*popup)))
                if (bars().property(*c, "Tag").toString() == libquintor::kAboutTag)
                    found.push_back(c);
        }
        return found;
    }

    FakeOffice office;
    FakeOutlook outlook;
    FakeObject& explorer;
    RecordingPlatform platform;
};

TEST(AboutMenu, OutlookBefore2010GetsOneEntryAtTheEndOfTheHelpMenu) {
    for (int version : {9, 10, 11, 12}) {
        SCOPED_TRACE(version);
        World w(version);
        AboutMenu menu(w.platform);
        menu.add(kInstance, w.explorer.handle());
        menu.add(kInstance, w.explorer.handle());  // the same window again

        FakeCommandBars& bars = w.bars();
        FakeObject& help = bars.popupBar(*bars.controls(*bars.bar("Menu Bar")).back());
        const std::vector<FakeObject*> items = bars.controls(help);
        ASSERT_EQ(items.size(), 2u);
        FakeObject& entry = *items.back();
        EXPECT_EQ(w.entries(), std::vector<FakeObject*>{&entry});
        EXPECT_EQ(bars.property(entry, "Caption").toString(), "About Chronoquill...");
        EXPECT_EQ(bars.property(entry, "Style").toInt(), msoButtonCaption);
        EXPECT_TRUE(bars.property(entry, "BeginGroup").toBool());
        EXPECT_TRUE(bars.isTemporary(entry));
        EXPECT_EQ(entry.subscribers(kCommandBarButtonEvents), 1);
        EXPECT_EQ(w.explorer.subscribers(ol::kExplorerEvents), 1);
        EXPECT_EQ(menu.size(), 1u);
        EXPECT_TRUE(w.platform.errors.empty());
        EXPECT_EQ(w.platform.instances, std::vector<std::uintptr_t>{kInstance});
    }
}

TEST(AboutMenu, From2010OnNothingIsAddedOrHeld) {
    for (int version : {14, 15, 16}) {
        SCOPED_TRACE(version);
        World w(version);
        AboutMenu menu(w.platform);
        menu.add(kInstance, w.explorer.handle());
        EXPECT_TRUE(w.entries().empty());
        EXPECT_EQ(menu.size(), 0u);
        EXPECT_TRUE(w.platform.errors.empty());
        EXPECT_EQ(w.office.liveReferences(), 0) << w.office.referenced();
    }
}

TEST(AboutMenu, EachExplorerWindowGetsItsOwnEntry) {
    World w;
    AboutMenu menu(w.platform);
    FakeObject& second = w.outlook.addExplorer();
    menu.add(kInstance, w.explorer.handle());
    menu.add(kInstance, second.handle());
    menu.add(kInstance, w.explorer.handle());
    EXPECT_EQ(w.entries().size(), 1u);
    EXPECT_EQ(menu.size(), 2u);

    FakeCommandBars& bars = w.outlook.explorerBars(second);
    FakeObject& help = bars.popupBar(*bars.controls(*bars.bar("Menu Bar")).back());
    bars.click(*bars.controls(help).back());
    EXPECT_EQ(w.platform.shownFor, std::vector<void*>{second.rawInterface()});
}

TEST(AboutMenu, AClickShowsTheAboutWindowOfTheGivenModuleForThatWindow) {
    World w;
    AboutMenu menu(w.platform);
    menu.add(kInstance, w.explorer.handle());
    w.platform.instances.clear();
    w.bars().click(*w.entries().at(0));
    w.bars().click(*w.entries().at(0));
    EXPECT_EQ(w.platform.shownFor,
              (std::vector<void*>{w.explorer.rawInterface(), w.explorer.rawInterface()}));
    EXPECT_EQ(w.platform.instances, (std::vector<std::uintptr_t>{kInstance, kInstance}));
    EXPECT_TRUE(w.platform.errors.empty());

    // A window that cannot be shown: one entry each time, nothing reaches Outlook.
    w.platform.window = false;
    EXPECT_FALSE(w.bars().click(*w.entries().at(0)));
    ASSERT_EQ(w.platform.errors.size(), 1u);
    EXPECT_EQ(w.platform.errors[0].source, "LibQuintor::AboutMenu_Click");
    EXPECT_EQ(w.platform.errors[0].number, 1400);
}

TEST(AboutMenu, TheEntryAndEveryReferenceGoWhenTheWindowClosesOrTheLibraryIsUnloaded) {
    for (bool unload : {false, true}) {
        SCOPED_TRACE(unload ? "the library is unloaded" : "the window closes");
        World w;
        {
            AboutMenu menu(w.platform);
            menu.add(kInstance, w.explorer.handle());
            FakeObject* entry = w.entries().at(0);
            EXPECT_GT(w.office.liveReferences(), 0);
            if (unload)
                menu.clear();
            else
                w.outlook.closeExplorer(w.explorer);
            EXPECT_TRUE(w.bars().isDeleted(*entry));
            EXPECT_EQ(menu.size(), 0u);
            EXPECT_EQ(w.office.liveReferences(), 0) << w.office.referenced();
            EXPECT_EQ(w.explorer.subscribers(ol::kExplorerEvents), 0);
            EXPECT_EQ(entry->subscribers(kCommandBarButtonEvents), 0);

            // A window opened later gets its entry again.
            FakeObject& again = w.outlook.addExplorer();
            menu.add(kInstance, again.handle());
            EXPECT_EQ(menu.size(), 1u);
        }
        EXPECT_EQ(w.office.liveReferences(), 0) << w.office.referenced();
        EXPECT_TRUE(w.platform.errors.empty());
    }
}

// The add-in's support library with the About entries behind
// LibQuintorAddAboutMenu, as LibQuintor.dll has them.
class LibraryWithAboutMenu : public RecordingSupportLibrary {
  public:
    explicit LibraryWithAboutMenu(AboutMenu& menu) : menu_(menu) {}
    std::int32_t LibQuintorAddAboutMenu(std::uintptr_t hInstance,
                                        const Dispatch& explorer) override {
        RecordingSupportLibrary::LibQuintorAddAboutMenu(hInstance, explorer);
        menu_.add(hInstance, explorer);
        return 0;
    }

  private:
    AboutMenu& menu_;
};

// The add-in hands the library the explorer at start-up and each new one at
// its first activation; however Outlook ends, once its windows are closed and
// the add-in is disconnected, no Outlook object is held any more.
TEST(AboutMenu, WithTheAddInNothingIsHeldOnceOutlookHasClosedItsWindowsAndDisconnected) {
    for (bool windowsFirst : {true, false}) {
        SCOPED_TRACE(windowsFirst ? "Outlook quits"
                                  : "the add-in is disconnected, then Outlook quits");
        OutlookWorld w(11);
        RecordingPlatform platform;
        AboutMenu menu(platform);
        LibraryWithAboutMenu lib(menu);
        ScopedPort<SupportLibrary> port(lib);

        FakeObject& first = w.addExplorer();
        w.connectAddIn();
        w.startup();
        FakeObject& second = w.openExplorer();
        EXPECT_EQ(menu.size(), 2u);
        for (FakeObject* explorer : {&first, &second}) {
            FakeCommandBars& bars = w.outlook.explorerBars(*explorer);
            FakeObject& help = bars.popupBar(*bars.controls(*bars.bar("Menu Bar")).back());
            EXPECT_EQ(bars.property(*bars.controls(help).back(), "Tag").toString(),
                      libquintor::kAboutTag);
        }

        if (!windowsFirst) w.disconnect();
        w.outlook.closeExplorer(second);
        w.outlook.closeExplorer(first);
        if (windowsFirst) w.disconnect();
        EXPECT_EQ(menu.size(), 0u);
        EXPECT_EQ(w.office.liveReferences(), 0) << w.office.referenced();
        EXPECT_EQ(w.escaped, 0);
        EXPECT_TRUE(platform.errors.empty());
    }
}

TEST(AboutMenu, WithoutAHelpMenuTheLastMenuOfTheMenuBarTakesTheEntry) {
    World w(11, ExplorerLayout{.menuBar = true, .helpMenu = false});
    AboutMenu menu(w.platform);
    menu.add(kInstance, w.explorer.handle());
    FakeCommandBars& bars = w.bars();
    FakeObject* tools = bars.controls(*bars.bar("Menu Bar")).back();
    EXPECT_EQ(bars.property(*tools, "Caption").toString(), "&Tools");
    ASSERT_EQ(w.entries().size(), 1u);
    EXPECT_EQ(bars.controls(bars.popupBar(*tools)).back(), w.entries()[0]);
    EXPECT_TRUE(w.platform.errors.empty());
}

TEST(AboutMenu, WhatIsMissingIsSkippedWithOneLogEntry) {
    const struct {
        const char* what;
        ExplorerLayout layout;
        bool nullExplorer;
        bool product;
        std::int32_t number;
    } cases[] = {
        {"no Menu Bar", {.menuBar = false}, false, true, 5},
        {"no explorer", {}, true, true, 91},
        {"no product name", {}, false, false, 1813},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        World w(11, c.layout);
        w.platform.product = c.product;
        AboutMenu menu(w.platform);
        menu.add(kInstance, c.nullExplorer ? Dispatch() : w.explorer.handle());
        EXPECT_TRUE(w.entries().empty());
        EXPECT_EQ(menu.size(), 0u);
        ASSERT_EQ(w.platform.errors.size(), 1u);
        EXPECT_EQ(w.platform.errors[0].source, "LibQuintor::LibQuintorAddAboutMenu");
        EXPECT_EQ(w.platform.errors[0].number, c.number);
        EXPECT_EQ(w.office.liveReferences(), 0) << w.office.referenced();
    }
}

// Every host call of adding, clicking and closing made to fail in turn.
TEST(AboutMenu, AnyFailingCallLeavesNoEntryAndNoReferenceBehind) {
    int calls = 0;
    {
        World w;
        AboutMenu menu(w.platform);
        menu.add(kInstance, w.explorer.handle());
        calls = w.office.calls();
    }
    ASSERT_GT(calls, 5);
    for (int failAt = 1; failAt <= calls; ++failAt) {
        SCOPED_TRACE(failAt);
        World w;
        const int before = w.office.calls();
        w.office.failAt = before + failAt;
        AboutMenu menu(w.platform);
        menu.add(kInstance, w.explorer.handle());
        ASSERT_TRUE(w.office.injected());
        EXPECT_EQ(w.platform.errors.size(), 1u);
        EXPECT_EQ(menu.size(), 0u);
        // Nothing of the entry is left on any menu.
        std::size_t temporary = 0;
        FakeObject* menuBar = w.bars().bar("Menu Bar");
        for (FakeObject* popup : w.bars().controls(*menuBar))
            for (FakeObject* c : w.bars().controls(w.bars().popupBar(*popup)))
                temporary += w.bars().isTemporary(*c) ? 1 : 0;
        EXPECT_EQ(temporary, 0u);
        EXPECT_EQ(w.office.liveReferences(), 0) << w.office.referenced();
    }
}

}  // namespace
}  // namespace cq::test
