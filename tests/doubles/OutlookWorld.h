#pragma once
// One Outlook with the add-in loaded, in memory: the scripted Outlook of a
// chosen version, every port of the add-in as a double, and the add-in's
// Connect, whose own object is a stand-in "Connect" of the in-memory Office.
// The actions below are what Outlook and the user do; each runs one entry
// point of the add-in and records any exception that leaves it.

#include <cstdint>
#include <string>
#include <vector>

#include "common/Port.h"
#include "outlook/Connect.h"
#include "tests/doubles/FakeOutlook.h"
#include "tests/doubles/FakePictures.h"
#include "tests/doubles/FixedClock.h"
#include "tests/doubles/MemoryRegistry.h"
#include "tests/doubles/RecordingKeySender.h"
#include "tests/doubles/RecordingMsgBox.h"
#include "tests/doubles/StampWorld.h"

namespace cq::test {

class OutlookWorld {
  public:
    // The moment every stamp is made for: 6 December 2026, 09:05:07.
    static constexpr DateTime kNow{2026, 12, 6, 9, 5, 7};
    // The stamp of kNow with no settings file (short date, time without seconds).
    static constexpr const char* kDefaultStamp = "06.12.2026 09:05";

    explicit OutlookWorld(int version);
    ~OutlookWorld();
    OutlookWorld(const OutlookWorld&) = delete;
    OutlookWorld& operator=(const OutlookWorld&) = delete;

    FakeOffice office;
    FakeOutlook outlook;
    StampWorld stamp;  // module, settings file, locale, support library (stamp.lib)
    MemoryRegistry registry;
    RecordingKeySender keys;
    FixedClock clock{kNow};
    FakePictures pictures{office};
    RecordingMsgBox msgBox;
    FakeObject& self;

  private:
    ScopedPort<Registry> registryPort_{registry};
    ScopedPort<KeySender> keysPort_{keys};
    ScopedPort<Clock> clockPort_{clock};
    ScopedPort<Pictures> picturesPort_{pictures};
    ScopedPort<MsgBox> msgBoxPort_{msgBox};

  public:
    Connect connect;

    // Whether expectations of a run without faults are to be checked.
    bool clean = true;
    // Exceptions that left an entry point (there must be none).
    int escaped = 0;
    // What went against the expectations that hold in every run: an
    // exception out of the add-in, a click or ribbon action that did not type
    // the stamp, GetStamp not answering true with it.
    std::vector<std::string> problems;
    // The action during which the injected failure happened, and that call.
    std::string faultAction;
    std::string faultCall;

    // The settings file now reads `text`, and stamps are `expected`.
    void useSettings(const std::string& text, const std::string& expected);
    const std::string& expectedStamp() const { return expected_; }

    // Outlook's calls into the add-in.
    void connectAddIn();
    void startup();
    void disconnect();
    // Outlook's windows (their events reach the add-in).
    FakeObject& openExplorer();
    FakeObject& newExplorer();
    void activate(FakeObject& explorer);
    FakeObject& addExplorer();
    FakeInspector& openInspector(OutlookItem item, InspectorLayout layout = {});
    void closeInspector(FakeInspector& inspector);
    // A click on a control; when the add-in listens to it, checks that the
    // stamp and one space were typed. False when nothing listened.
    bool click(FakeInspector& inspector, FakeObject& control);
    // The ribbon.
    std::string getCustomUI(const std::string& ribbonId);
    void ribbonOnLoad();
    // Button_Action on a control with that id; checks that the stamp was
    // typed when the id is the stamp button's and could be read.
    void buttonAction(const std::string& id);
    std::string screentip(const std::string& id);
    std::string label(const std::string& id);
    std::string imageResource(const std::string& id);
    // GetStamp; checks that it answered true with the stamp.
    std::string getStamp();

    // The add-in's controls in a window (null when absent): the stamp button
    // and the marker on "Standard", the entry in the Insert menu.
    FakeObject* stampButton(const FakeInspector& inspector) const;
    FakeObject* marker(const FakeInspector& inspector) const;
    FakeObject* menuEntry(const FakeInspector& inspector) const;
    int addInControls(const FakeInspector& inspector) const;

    // The "Tooltip" registry value ("" when missing) and how often it was written.
    std::string tooltipValue();
    int tooltipWrites() const;

  private:
    void expectTyped(const char* action, const std::string& typed);
    template <class F>
    void entry(const char* action, F&& f);

    std::string expected_ = kDefaultStamp;
    std::uint32_t fileTime_ = 1000;
};

}  // namespace cq::test
