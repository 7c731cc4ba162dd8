// A click on a stamp control of the Word add-in: the stamp is asked from the
// Outlook add-in and typed, or the user is told why not.

#include <gtest/gtest.h>

#include <functional>

#include "common/HostError.h"
#include "tests/doubles/WordWorld.h"
#include "word/Connect.h"

namespace cq::test {
namespace {

using word::Connect;
using word::kMenuItemTag;
using word::kToolbarButtonTag;

const char* const kEmailOnly = "This feature works only in e-mail mode.";
const char* const kNoOutlook = "This functionality works only if Microsoft Outlook is running.";
const char* const kNoAddIn =
    "Outlook add-in is not working properly. Please enable or reinstall Chronoquill.";

// A connected add-in whose controls were made for an active e-mail window;
// the running-object table holds the Outlook.
struct Clicking {
    explicit Clicking(int version) : world(version) {
        world.rot.running["Outlook.Application"] = &world.word.outlook();
        addin.IDTExtensibility2_OnConnection(world.word.application().handle(), 0, Dispatch());
        addin.IDTExtensibility2_OnStartupComplete();
        mail = &world.word.addWindow(true);
        world.word.activate(*mail);
    }
    FakeObject& menuItem() { return *world.word.controlTagged(kMenuItemTag); }
    FakeObject& toolbarButton() { return *world.word.controlTagged(kToolbarButtonTag); }
    // Clicks the toolbar button; CancelDefault must stay False.
    void click() { EXPECT_FALSE(world.word.click(toolbarButton())); }

    WordWorld world;
    Connect addin;
    FakeObject* mail = nullptr;
};

// The three messages, each once, OK only, with the title "Chronoquill".
TEST(WordStampRequest, MessagesTellWhyNoStampCanBeHad) {
    struct Case {
        const char* name;
        int version;
        std::function<void(Clicking&)> setUp;
        const char* message;
        bool hidesControls;
    };
    const Case cases[] = {
        {"plain window", 11, [](Clicking& c) { c.world.word.setEnvelopeVisible(*c.mail, false); },
         kEmailOnly, true},
        {"no active window", 10, [](Clicking& c) { c.world.word.setActiveWindow(nullptr); },
         kEmailOnly, true},
        {"envelope state unreadable", 9,
         [](Clicking& c) { c.world.word.office.failing.push_back("Window.EnvelopeVisible"); },
         kEmailOnly, true},
        {"Word 2000, Outlook closed", 9, [](Clicking& c) { c.world.rot.running.clear(); },
         kNoOutlook, false},
        {"Word 2000, lookup fails", 9, [](Clicking& c) { c.world.rot.fail = true; }, kNoOutlook,
         false},
        {"Word 2000, add-in without object", 9,
         [](Clicking& c) { c.world.word.setAddInState(FakeWord::AddInState::NoObject); }, kNoAddIn,
         false},
        {"Word 2002, add-in not registered", 10,
         [](Clicking& c) { c.world.word.setAddInState(FakeWord::AddInState::NotRegistered); },
         kNoAddIn, false},
        {"Word 2003, add-in disabled", 11,
         [](Clicking& c) { c.world.word.setAddInState(FakeWord::AddInState::NoObject); }, kNoAddIn,
         false},
        {"Word 2003, envelope without mail item", 11,
         [](Clicking& c) {
             FakeObject& plain = c.world.word.addWindow(false);
             c.world.word.setEnvelopeVisible(plain, true);
             c.world.word.activate(plain);
         },
         kNoAddIn, false},
    };
    for (const auto& c : cases) {
        Clicking s(c.version);
        c.setUp(s);
        s.click();
        EXPECT_EQ(s.world.boxes.shown, (std::vector<ShownBox>{{c.message, 0, "Chronoquill"}}))
            << c.name;
        EXPECT_EQ(s.world.word.getStampCalls, 0) << c.name;
        EXPECT_EQ(s.world.keys.sendCount(), 0) << c.name;
        EXPECT_EQ(s.world.word.property(s.menuItem(), "Visible").toBool(), !c.hidesControls)
            << c.name;
        EXPECT_EQ(s.world.word.property(s.toolbarButton(), "Visible").toBool(), !c.hidesControls)
            << c.name;
        EXPECT_EQ(s.world.word.outlook().refs(), 0) << c.name;
        EXPECT_EQ(s.world.word.outlookAddIn().refs(), 0) << c.name;
        // Without an active document the template cannot be told; elsewhere
        // its Saved flag stays.
        if (s.world.word.activeWindow()) {
            EXPECT_TRUE(s.world.word.templateSaved()) << c.name;
        }
    }
}

TEST(WordStampRequest, Word2000AttachesToTheRunningOutlookOnly) {
    Clicking s(9);
    s.world.rot.running.clear();
    s.world.word.office.recording = true;
    s.click();
    EXPECT_EQ(s.world.rot.lookups, std::vector<std::string>{"Outlook.Application"});
    for (const std::string& call : s.world.word.office.log)
        EXPECT_EQ(call.find("Outlook"), std::string::npos) << call;

    s.world.rot.running["Outlook.Application"] = &s.world.word.outlook();
    s.click();
    EXPECT_EQ(s.world.keys.typedText(), "06.12.2026 09:05:07 ");
}

TEST(WordStampRequest, LaterWordsTakeOutlookFromTheEnvelopeItem) {
    for (int version : {10, 11}) {
        Clicking s(version);
        s.world.rot.running.clear();
        s.click();
        EXPECT_TRUE(s.world.rot.lookups.empty()) << version;
        EXPECT_TRUE(s.world.boxes.shown.empty()) << version;
        EXPECT_EQ(s.world.keys.typedText(), "06.12.2026 09:05:07 ") << version;
    }
}

TEST(WordStampRequest, TheStampIsTypedLiterallyFollowedByOneSpace) {
    const char* const stamps[] = {"06.12.2026 09:05:07", "(x) a+b ^c %d ~e [f] {g}", "",
                                  "Sonntag, 6. Dezember 2026 — 09:05 €"};
    for (int version : {9, 10, 11}) {
        for (const std::string stamp : stamps) {
            Clicking s(version);
            s.world.word.getStamp = [&](std::string& text, std::string& tooltip) {
                text = stamp;
                tooltip = "Insert date and time";
                return true;
            };
            s.click();
            EXPECT_EQ(s.world.keys.typedText(), stamp + " ") << stamp;
            EXPECT_EQ(s.world.keys.sendCount(), 1);
            EXPECT_EQ(s.world.word.getStampCalls, 1);
        }
    }
}

TEST(WordStampRequest, BothControlsAskAndTheReturnedTooltipLabelsThem) {
    Clicking s(11);
    EXPECT_EQ(s.world.word.property(s.menuItem(), "Caption").toString(), "Insert date and time");
    s.world.word.getStamp = [](std::string& text, std::string& tooltip) {
        text = "09:05";
        tooltip = "Insert time";
        return true;
    };
    EXPECT_FALSE(s.world.word.click(s.menuItem()));
    EXPECT_EQ(s.world.word.property(s.menuItem(), "Caption").toString(), "Insert time");
    EXPECT_EQ(s.world.word.property(s.toolbarButton(), "TooltipText").toString(), "Insert time");
    EXPECT_EQ(s.world.word.property(s.menuItem(), "TooltipText").toString(), "")
        << "the menu item has a caption";
    s.click();
    EXPECT_EQ(s.world.keys.typedText(), "09:05 09:05 ");
    EXPECT_EQ(s.world.word.getStampCalls, 2);
    EXPECT_TRUE(s.world.word.templateSaved());
}

TEST(WordStampRequest, TheTooltipIsAppliedEvenWhenNoStampComes) {
    Clicking s(10);
    s.world.word.getStamp = [](std::string& text, std::string& tooltip) {
        text = "ignored";
        tooltip = "Insert date";
        return false;
    };
    s.click();
    EXPECT_EQ(s.world.word.property(s.menuItem(), "Caption").toString(), "Insert date");
    EXPECT_EQ(s.world.word.property(s.toolbarButton(), "TooltipText").toString(), "Insert date");
    EXPECT_EQ(s.world.keys.sendCount(), 0);
    EXPECT_TRUE(s.world.boxes.shown.empty());
}

// A GetStamp that fails, or answers without a tooltip, leaves the controls'
// texts as they were rather than blank.
TEST(WordStampRequest, AFailedRequestKeepsTheControlsLabelled) {
    const std::function<bool(std::string&, std::string&)> answers[] = {
        [](std::string&, std::string&) -> bool { throw HostError(-2147023170, "RPC failed"); },
        [](std::string& text, std::string&) {
            text = "12:00";
            return true;
        },
    };
    for (const auto& answer : answers) {
        Clicking s(11);
        s.world.word.getStamp = answer;
        s.click();
        EXPECT_EQ(s.world.word.property(s.menuItem(), "Caption").toString(),
                  "Insert date and time");
        EXPECT_EQ(s.world.word.property(s.toolbarButton(), "TooltipText").toString(),
                  "Insert date and time");
        EXPECT_TRUE(s.world.boxes.shown.empty());
        EXPECT_EQ(s.world.word.released,
                  (std::vector<std::string>{"Chronoquill.Connect", "Outlook.Application"}));
    }
}

TEST(WordStampRequest, BothObjectsAreReleasedAddInFirst) {
    for (int version : {9, 10, 11}) {
        for (bool typingFails : {false, true}) {
            Clicking s(version);
            s.world.keys.failSends(typingFails);
            s.click();
            EXPECT_EQ(s.world.word.released,
                      (std::vector<std::string>{"Chronoquill.Connect", "Outlook.Application"}))
                << version;
        }
    }
}

TEST(WordStampRequest, AMessageBoxThatCannotBeShownStillHidesTheControls) {
    Clicking s(11);
    s.world.boxes.fail = true;
    s.world.word.setEnvelopeVisible(*s.mail, false);
    s.click();
    EXPECT_FALSE(s.world.word.property(s.menuItem(), "Visible").toBool());
    EXPECT_FALSE(s.world.word.property(s.toolbarButton(), "Visible").toBool());
}

}  // namespace
}  // namespace cq::test
