// Every host call of a whole Word session made to fail in turn: nothing may
// escape the add-in, no reference may survive disconnection, and a failure
// outside the stamp's own path must not cost the stamp.

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>

#include "tests/doubles/WordWorld.h"
#include "word/Connect.h"

namespace cq::test {
namespace {

using word::Connect;

struct Outcome {
    int calls = 0;
    int clickStart[2] = {0, 0};
    int clickEnd[2] = {0, 0};
    int typed[2] = {0, 0};
    int liveAfterDisconnection = 0;
    std::string referenced;
    bool savedAfterDisconnection = false;
    int openRegistryKeys = 0;
    std::string failedCall;
};

// Connection, activations of a plain and an e-mail window, Word's e-mail
// button, a click on each stamp control, an activation of a window that is not
// the active one, disconnection and destruction.
Outcome Session(int version, int failAt) {
    Outcome run;
    WordWorld world(version);
    world.rot.running["Outlook.Application"] = &world.word.outlook();
    FakeWord& word = world.word;
    word.office.failAt = failAt;
    word.office.recording = true;
    {
        auto addin = std::make_unique<Connect>();
        addin->IDTExtensibility2_OnConnection(word.application().handle(), 0, Dispatch());
        addin->IDTExtensibility2_OnStartupComplete();
        FakeObject& plain = word.addWindow(false);
        FakeObject& mail = word.addWindow(true);
        word.activate(plain);
        word.clickEmailButton();
        word.activate(mail);
        const char* tags[] = {word::kToolbarButtonTag, word::kMenuItemTag};
        for (int i = 0; i < 2; ++i) {
            const size_t before = world.keys.typedText().size();
            run.clickStart[i] = word.office.calls();
            if (FakeObject* control = word.controlTagged(tags[i])) word.click(*control);
            run.clickEnd[i] = word.office.calls();
            run.typed[i] = static_cast<int>(world.keys.typedText().size() - before);
        }
        word.setActiveWindow(&plain);
        word.raiseWindowActivate(mail);
        addin->IDTExtensibility2_OnDisconnection(0);
        run.liveAfterDisconnection = word.liveReferences();
        run.referenced = word.referenced();
        run.savedAfterDisconnection = word.templateSaved();
        addin.reset();
    }
    run.calls = word.office.calls();
    run.openRegistryKeys = world.registry.openHandles();
    if (failAt >= 1 && failAt <= static_cast<int>(word.office.log.size()))
        run.failedCall = word.office.log[failAt - 1];
    return run;
}

// Calls without which no stamp can be had.
bool OnTheStampsPath(const std::string& call) {
    static const char* const path[] = {
        "Application.ActiveWindow",      "Window.EnvelopeVisible", "Application.ActiveDocument",
        "Document.MailEnvelope",         "MsoEnvelope.Item",       "MailItem.Application",
        "Outlook.Application.COMAddIns", "COMAddIns.Item",         "COMAddIn.Object",
        "Chronoquill.Connect.GetStamp"};
    return std::find(std::begin(path), std::end(path), call) != std::end(path);
}

// Calls whose failure may leave the template's Saved flag as the command-bar
// changes made it.
bool OnTheTemplatesPath(const std::string& call) {
    return call == "Template.Saved" || call == "Document.AttachedTemplate" ||
           call == "Application.ActiveDocument";
}

TEST(WordFaults, EveryHostCallFailingInTurn) {
    int injected = 0;
    for (int version : {9, 10, 11, 12}) {
        const Outcome clean = Session(version, 0);
        ASSERT_EQ(clean.liveAfterDisconnection, 0) << clean.referenced;
        if (version <= 11) {
            ASSERT_EQ(clean.typed[0], 20) << "stamp and space";
            ASSERT_EQ(clean.typed[1], 20);
        }
        for (int failAt = 1; failAt <= clean.calls; ++failAt) {
            const Outcome run = Session(version, failAt);
            ++injected;
            const std::string where = "Word " + std::to_string(version) + ", call " +
                                      std::to_string(failAt) + " " + run.failedCall;
            EXPECT_EQ(run.liveAfterDisconnection, 0) << where << ": " << run.referenced;
            EXPECT_EQ(run.openRegistryKeys, 0) << where;
            if (!OnTheTemplatesPath(run.failedCall)) {
                EXPECT_TRUE(run.savedAfterDisconnection) << where;
            }
            for (int i = 0; i < 2; ++i) {
                const bool inThisClick =
                    failAt > clean.clickStart[i] && failAt <= clean.clickEnd[i];
                const bool inOtherClick =
                    failAt > clean.clickStart[1 - i] && failAt <= clean.clickEnd[1 - i];
                if (inOtherClick || (inThisClick && !OnTheStampsPath(run.failedCall))) {
                    EXPECT_EQ(run.typed[i], clean.typed[i]) << where << ", click " << i;
                }
            }
        }
    }
    std::cout << "[ WORD     ] injected " << injected << " faults" << std::endl;
    EXPECT_GT(injected, 100);
}

}  // namespace
}  // namespace cq::test
