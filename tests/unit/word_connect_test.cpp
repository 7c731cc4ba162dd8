// The Word add-in against an in-memory Word of each version: connection, the
// stamp controls that follow the e-mail envelope, and disconnection.

#include "word/Connect.h"

#include <gtest/gtest.h>

#include "common/AddInContract.h"
#include "common/HostError.h"
#include "common/host/CommandBars.h"
#include "tests/doubles/WordWorld.h"

namespace cq::test {
namespace {

using word::Connect;
using word::kMenuItemTag;
using word::kToolbarButtonTag;

// One Word session: the add-in created, connected and told that start-up is
// complete.
struct Session {
    explicit Session(int version, FakeWord::Layout layout = {}) : world(version, layout) {}
    void connect() {
        addin.IDTExtensibility2_OnConnection(world.word.application().handle(), 0, Dispatch());
        addin.IDTExtensibility2_OnStartupComplete();
    }
    void disconnect() { addin.IDTExtensibility2_OnDisconnection(0); }

    FakeObject* menuItem() { return world.word.controlTagged(kMenuItemTag); }
    Variant prop(FakeObject& control, const std::string& name) {
        return world.word.property(control, name);
    }
    FakeObject* toolbarButton() { return world.word.controlTagged(kToolbarButtonTag); }
    // Both stamp controls' Visible, or fails when they are not both there.
    std::pair<bool, bool> visible() {
        EXPECT_NE(menuItem(), nullptr);
        EXPECT_NE(toolbarButton(), nullptr);
        if (!menuItem() || !toolbarButton()) return {false, false};
        return {prop(*menuItem(), "Visible").toBool(), prop(*toolbarButton(), "Visible").toBool()};
    }

    WordWorld world;
    Connect addin;
};

const std::pair<bool, bool> kShown{true, true};
const std::pair<bool, bool> kHidden{false, false};

class WordVersion : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(Word2000To2003, WordVersion, ::testing::Values(9, 10, 11));

TEST_P(WordVersion, ConnectionSubscribesToWindowActivateAndInitializes) {
    Session s(GetParam());
    EXPECT_FALSE(s.addin.IsInitialized());
    s.connect();
    EXPECT_TRUE(s.addin.IsInitialized());
    EXPECT_EQ(s.world.word.application().subscribers(word::kWordApplicationEvents), 1);
    EXPECT_TRUE(s.world.word.controlsTagged(kMenuItemTag).empty()) << "nothing before activation";
    s.disconnect();
    EXPECT_FALSE(s.addin.IsInitialized());
    EXPECT_EQ(s.world.word.application().subscribers(word::kWordApplicationEvents), 0);
    EXPECT_EQ(s.world.word.liveReferences(), 0) << s.world.word.referenced();
}

TEST_P(WordVersion, APlainWindowGetsHiddenControlsWithTheirProperties) {
    Session s(GetParam());
    const bool pictures = GetParam() >= 10;
    s.connect();
    FakeObject& plain = s.world.word.addWindow(false);
    s.world.word.activate(plain);

    auto insertItems = s.world.word.bars.controls(*s.world.word.insertMenu());
    auto standardItems = s.world.word.bars.controls(*s.world.word.standard());
    ASSERT_EQ(insertItems.back(), s.menuItem()) << "at the end of the Insert menu";
    ASSERT_EQ(standardItems.back(), s.toolbarButton()) << "at the end of the Standard toolbar";

    FakeObject& item = *s.menuItem();
    EXPECT_EQ(s.prop(item, "Type").toInt(), 1);
    EXPECT_EQ(s.prop(item, "Style").toInt(), 3);
    EXPECT_TRUE(s.prop(item, "BeginGroup").toBool());
    EXPECT_EQ(s.prop(item, "Caption").toString(), "Insert date and time");
    EXPECT_EQ(s.prop(item, "TooltipText").toString(), "");
    EXPECT_EQ(s.prop(item, "FaceId").toInt(), 125);
    EXPECT_TRUE(s.world.word.bars.isTemporary(item));

    FakeObject& button = *s.toolbarButton();
    EXPECT_EQ(s.prop(button, "Type").toInt(), 1);
    EXPECT_EQ(s.prop(button, "Style").toInt(), 1);
    EXPECT_FALSE(s.prop(button, "BeginGroup").toBool());
    EXPECT_EQ(s.prop(button, "TooltipText").toString(), "Insert date and time");
    EXPECT_EQ(s.prop(button, "FaceId").toInt(), 125);
    EXPECT_TRUE(s.world.word.bars.isTemporary(button));

    for (FakeObject* c : {&item, &button}) {
        EXPECT_EQ(s.prop(*c, "Picture").toString(), pictures ? "BTN_MAIN" : "") << GetParam();
        EXPECT_EQ(s.prop(*c, "Mask").toString(), pictures ? "BTN_MAIN_MASK" : "") << GetParam();
    }
    EXPECT_EQ(s.world.pictures.loaded, pictures ? 4 : 0);
    EXPECT_EQ(s.visible(), kHidden);
    EXPECT_TRUE(s.world.word.templateSaved());
    EXPECT_EQ(s.world.word.emailButton()->subscribers(kCommandBarButtonEvents), 1);
}

TEST_P(WordVersion, ControlsFollowTheEnvelopeOfTheActivatedWindow) {
    Session s(GetParam());
    s.connect();
    FakeObject& mail = s.world.word.addWindow(true);
    FakeObject& plain = s.world.word.addWindow(false);
    s.world.word.activate(mail);
    EXPECT_EQ(s.visible(), kShown);
    s.world.word.activate(plain);
    EXPECT_EQ(s.visible(), kHidden);
    s.world.word.activate(mail);
    EXPECT_EQ(s.visible(), kShown);
    EXPECT_TRUE(s.world.word.templateSaved());
}

TEST_P(WordVersion, TheEmailButtonFlipsTheControlsAndIsLogged) {
    Session s(GetParam());
    s.connect();
    FakeObject& plain = s.world.word.addWindow(false);
    s.world.word.activate(plain);
    const size_t linesBefore = s.world.logLines().size();

    s.world.word.clickEmailButton();
    EXPECT_TRUE(s.world.word.envelopeVisible(plain)) << "Word's own action still runs";
    EXPECT_EQ(s.visible(), kShown);
    s.world.word.clickEmailButton();
    EXPECT_FALSE(s.world.word.envelopeVisible(plain));
    EXPECT_EQ(s.visible(), kHidden);

    auto lines = s.world.logLines();
    ASSERT_EQ(lines.size(), linesBefore + 2);
    EXPECT_EQ(lines[linesBefore], "[DBG] ->EnvelopeClick: ");
    EXPECT_EQ(lines[linesBefore + 1], "[DBG] ->EnvelopeClick: ");
    EXPECT_TRUE(s.world.word.templateSaved());
}

TEST_P(WordVersion, ASecondActivationTakesOverTheControlsUnchanged) {
    Session s(GetParam());
    s.connect();
    FakeObject& mail = s.world.word.addWindow(true);
    s.world.word.activate(mail);
    const size_t insertCount = s.world.word.bars.controls(*s.world.word.insertMenu()).size();
    const size_t standardCount = s.world.word.bars.controls(*s.world.word.standard()).size();
    s.world.word.bars.setProperty(*s.menuItem(), "Caption", "Changed by the user");
    s.world.word.bars.setProperty(*s.toolbarButton(), "FaceId", 59);
    s.world.setTooltip("Insert time");
    const int picturesLoaded = s.world.pictures.loaded;

    FakeObject& other = s.world.word.addWindow(true);
    s.world.word.activate(other);
    s.world.word.activate(mail);
    EXPECT_EQ(s.world.word.bars.controls(*s.world.word.insertMenu()).size(), insertCount);
    EXPECT_EQ(s.world.word.bars.controls(*s.world.word.standard()).size(), standardCount);
    EXPECT_EQ(s.world.word.controlsTagged(kMenuItemTag).size(), 1u);
    EXPECT_EQ(s.world.word.controlsTagged(kToolbarButtonTag).size(), 1u);
    EXPECT_EQ(s.prop(*s.menuItem(), "Caption").toString(), "Changed by the user");
    EXPECT_EQ(s.prop(*s.toolbarButton(), "FaceId").toInt(), 59);
    EXPECT_EQ(s.prop(*s.toolbarButton(), "TooltipText").toString(), "Insert date and time");
    EXPECT_EQ(s.world.pictures.loaded, picturesLoaded);
    EXPECT_EQ(s.world.word.emailButton()->subscribers(kCommandBarButtonEvents), 1);
    EXPECT_EQ(s.menuItem()->subscribers(kCommandBarButtonEvents), 1);
}

TEST_P(WordVersion, AnActivationOfAWindowThatIsNotActiveChangesNothing) {
    Session s(GetParam());
    s.connect();
    FakeObject& mail = s.world.word.addWindow(true);
    FakeObject& plain = s.world.word.addWindow(false);
    // Before any control exists.
    s.world.word.setActiveWindow(&plain);
    s.world.word.raiseWindowActivate(mail);
    EXPECT_TRUE(s.world.word.controlsTagged(kMenuItemTag).empty());
    EXPECT_EQ(s.world.word.emailButton()->subscribers(kCommandBarButtonEvents), 0);
    // With the controls shown for the active e-mail window.
    s.world.word.activate(mail);
    s.world.word.raiseWindowActivate(plain);
    EXPECT_EQ(s.visible(), kShown);
    // Without any active window.
    s.world.word.setActiveWindow(nullptr);
    s.world.word.raiseWindowActivate(plain);
    EXPECT_EQ(s.visible(), kShown);
}

TEST_P(WordVersion, TheTemplatesSavedFlagKeepsItsValueThroughEveryStep) {
    for (bool saved : {true, false}) {
        Session s(GetParam());
        s.world.word.setTemplateSaved(saved);
        s.connect();
        FakeObject& plain = s.world.word.addWindow(false);
        FakeObject& mail = s.world.word.addWindow(true);
        s.world.word.activate(plain);
        EXPECT_EQ(s.world.word.templateSaved(), saved) << "first activation";
        s.world.word.activate(mail);
        EXPECT_EQ(s.world.word.templateSaved(), saved) << "second activation";
        s.world.word.clickEmailButton();
        EXPECT_EQ(s.world.word.templateSaved(), saved) << "e-mail button";
        s.world.word.activate(mail);
        s.world.word.click(*s.toolbarButton());
        EXPECT_EQ(s.world.word.templateSaved(), saved) << "stamp request";
        s.disconnect();
        EXPECT_EQ(s.world.word.templateSaved(), saved) << "disconnection";
    }
}

// A Saved flag that cannot be read before a step is not "restored" to a
// guess afterwards.
TEST_P(WordVersion, AnUnreadableSavedFlagIsLeftAlone) {
    Session s(GetParam());
    s.connect();
    FakeObject& mail = s.world.word.addWindow(true);
    s.world.word.activate(mail);
    ASSERT_TRUE(s.world.word.templateSaved());
    int reads = 0;
    FakeObject& attached = s.world.word.attachedTemplate();
    attached.getter("Saved", [&](std::span<Variant>) -> Variant {
        if (reads++ == 0) throw HostError(-2147467259, "busy");
        return attached.value("Saved");
    });
    s.world.word.activate(mail);  // finds both controls, changes nothing
    EXPECT_GT(reads, 0);
    EXPECT_TRUE(s.world.word.templateSaved());
}

TEST_P(WordVersion, CaptionAndTooltipComeFromTheRegistry) {
    const std::pair<const char*, const char*> cases[] = {
        {nullptr, "Insert date and time"},
        {"", "Insert date and time"},
        {"Insert time", "Insert time"},
        {"Insert time and date", "Insert time and date"},
    };
    for (const auto& [value, expected] : cases) {
        Session s(GetParam());
        if (value) s.world.setTooltip(value);
        s.connect();
        s.world.word.activate(s.world.word.addWindow(true));
        EXPECT_EQ(s.prop(*s.menuItem(), "Caption").toString(), expected);
        EXPECT_EQ(s.prop(*s.toolbarButton(), "TooltipText").toString(), expected);
        EXPECT_EQ(s.world.registry.openHandles(), 0);
    }
}

TEST_P(WordVersion, DisconnectionLeavesNoReferenceAndNoSubscription) {
    Session s(GetParam());
    s.connect();
    FakeObject& mail = s.world.word.addWindow(true);
    s.world.word.activate(mail);
    s.world.word.clickEmailButton();
    s.world.word.click(*s.menuItem());
    s.disconnect();
    EXPECT_FALSE(s.addin.IsInitialized());
    EXPECT_EQ(s.world.word.liveReferences(), 0) << s.world.word.referenced();
    EXPECT_EQ(s.world.word.emailButton()->subscribers(kCommandBarButtonEvents), 0);
    // The temporary controls stay for Word to discard.
    EXPECT_NE(s.menuItem(), nullptr);
    EXPECT_NE(s.toolbarButton(), nullptr);
    // Events after disconnection reach nobody.
    const size_t lines = s.world.logLines().size();
    s.world.word.clickEmailButton();
    s.world.word.activate(mail);
    EXPECT_EQ(s.world.logLines().size(), lines);
}

TEST_P(WordVersion, MissingBarsSkipOnlyTheirPart) {
    {
        Session s(GetParam(), {.menuBar = false});
        s.connect();
        s.world.word.activate(s.world.word.addWindow(true));
        EXPECT_EQ(s.menuItem(), nullptr);
        ASSERT_NE(s.toolbarButton(), nullptr);
        EXPECT_TRUE(s.prop(*s.toolbarButton(), "Visible").toBool());
    }
    {
        Session s(GetParam(), {.standardBar = false});
        s.connect();
        s.world.word.activate(s.world.word.addWindow(true));
        EXPECT_EQ(s.toolbarButton(), nullptr);
        ASSERT_NE(s.menuItem(), nullptr);
        EXPECT_TRUE(s.prop(*s.menuItem(), "Visible").toBool());
        s.disconnect();
        EXPECT_EQ(s.world.word.liveReferences(), 0) << s.world.word.referenced();
    }
}

// Word 2007 and later: the add-in stays out of the way.
TEST(Word2007, StaysInactive) {
    for (const char* version : {"12.0", "14.0.4762", "16.0"}) {
        Session s(12);
        s.world.word.application().set("Version", version);
        s.connect();
        EXPECT_FALSE(s.addin.IsInitialized()) << version;
        EXPECT_EQ(s.world.word.application().subscribers(word::kWordApplicationEvents), 0);
        s.world.word.activate(s.world.word.addWindow(true));
        EXPECT_TRUE(s.world.word.controlsTagged(kMenuItemTag).empty());
        EXPECT_TRUE(s.world.word.controlsTagged(kToolbarButtonTag).empty());
        EXPECT_EQ(s.world.word.liveReferences(), 0) << s.world.word.referenced();
        s.disconnect();
        EXPECT_EQ(s.world.word.liveReferences(), 0);
    }
}

TEST(HostVersionText, MajorVersion) {
    const std::pair<const char*, int> cases[] = {
        {"11.0", 11}, {"9.0", 9}, {"10.0.6612", 10}, {"12", 12},           {"", 0},
        {"abc", 0},   {".5", 0},  {"11a.0", 11},     {"99999999999.0", 0},
    };
    for (const auto& [text, major] : cases) EXPECT_EQ(HostMajorVersion(text), major) << text;
}

TEST(WordVersionText, AnUnreadableVersionCountsAsWord2000WithoutPictures) {
    Session s(11);
    s.world.word.application().set("Version", "unknown");
    s.connect();
    EXPECT_TRUE(s.addin.IsInitialized());
    s.world.word.activate(s.world.word.addWindow(true));
    ASSERT_NE(s.toolbarButton(), nullptr);
    EXPECT_EQ(s.prop(*s.toolbarButton(), "FaceId").toInt(), 125);
    EXPECT_EQ(s.world.pictures.loaded, 0);
}

}  // namespace
}  // namespace cq::test
