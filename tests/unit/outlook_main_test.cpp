#include "outlook/mMain.h"

#include <gtest/gtest.h>

#include "common/CWinReg.h"
#include "common/Port.h"
#include "outlook/RibbonMarkup.h"
#include "tests/doubles/FakeOffice.h"
#include "tests/doubles/MemoryRegistry.h"

namespace cq {
namespace {

using test::FakeOffice;

// Resets the module's host and version cache around each test.
struct HostReset {
    HostReset() { clear(); }
    ~HostReset() { clear(); }
    static void clear() {
        g_oOutlook.reset();
        g_lOutlookVersion = 0;
    }
};

TEST(GetOutlookVersion, TakesTheDigitsBeforeTheFirstPoint) {
    struct Case {
        const char* version;
        std::int32_t major;
    } const cases[] = {
        {"12.0.4518.1014", 12},
        {"9.0.0.2711", 9},
        {"11", 11},
        {"10.0", 10},
        {"", 0},
        {"abc", 0},
        {".12", 0},
        {"11a.5", 11},
        {" 11.0", 0},
        {"-9.0", 0},
        {"99999999999.0", 0},
    };
    for (const Case& c : cases) {
        FakeOffice office;
        HostReset reset;
        auto& app = office.make("Application");
        app.set("Version", c.version);
        g_oOutlook = app.handle();
        EXPECT_EQ(GetOutlookVersion(), c.major) << c.version;
    }
}

TEST(GetOutlookVersion, AsksTheHostUntilItHasANumberThenNeverAgain) {
    FakeOffice office;
    HostReset reset;
    EXPECT_EQ(GetOutlookVersion(), 0);  // no host

    auto& app = office.make("Application");
    app.set("Version", "11.0.8169");
    office.failing = {"Application.Version"};
    g_oOutlook = app.handle();
    EXPECT_EQ(GetOutlookVersion(), 0);

    office.failing.clear();
    EXPECT_EQ(GetOutlookVersion(), 11);
    const int calls = office.calls();
    app.set("Version", "12.0");
    EXPECT_EQ(GetOutlookVersion(), 11);
    EXPECT_EQ(office.calls(), calls);
}

TEST(StampTexts, NameEveryKind) {
    struct Case {
        std::int32_t kind;
        const char* tooltip;
        const char* label;
    } const cases[] = {
        {0, "Insert date and time", "Date Time"},
        {1, "Insert date", "Date"},
        {2, "Insert time", "Time"},
        {3, "Insert time and date", "Time Date"},
        {7, "Insert date and time", "Date Time"},
        {-1, "Insert date and time", "Date Time"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetStampTooltip(c.kind), c.tooltip) << c.kind;
        EXPECT_EQ(GetStampLabel(c.kind), c.label) << c.kind;
    }
}

TEST(SaveTooltip, CreatesTheKeyAndClosesIt) {
    MemoryRegistry registry;
    ScopedPort<Registry> port(registry);
    SaveTooltip("Insert time");
    SaveTooltip("Insert date");
    CWinReg reg;
    ASSERT_TRUE(reg.InitForRead(CWinReg::HKeyCurrentUser(), "Software\\Quintor\\Inkwell"));
    EXPECT_EQ(reg.ReadString("Tooltip"), "Insert date");
    reg.CloseKey();
    EXPECT_EQ(registry.openHandles(), 0);
}

TEST(SaveTooltip, IgnoresARegistryThatRefuses) {
    MemoryRegistry registry;
    ScopedPort<Registry> port(registry);
    registry.failOn(RegOp::CreateKey, reg::kAccessDenied);
    SaveTooltip("Insert time");
    registry.clearFailures();
    registry.failOn(RegOp::SetValue, reg::kAccessDenied);
    SaveTooltip("Insert time");
    EXPECT_EQ(registry.openHandles(), 0);
    CWinReg reg;
    ASSERT_TRUE(reg.InitForRead(CWinReg::HKeyCurrentUser(), "Software\\Quintor\\Inkwell"));
    EXPECT_EQ(reg.ReadString("Tooltip"), "");
}

TEST(RibbonMarkup, TheTemplateHasItsLengthAndOnePlaceholder) {
    EXPECT_EQ(kRibbonTemplate.size(), 532u);
    EXPECT_EQ(kRibbonTemplate.find("%s"), kRibbonTemplate.rfind("%s"));
    EXPECT_TRUE(kRibbonTemplate.starts_with(
        "<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\" "
        "onLoad=\"Ribbon_OnLoad\">  <ribbon>    <tabs>      <tab idMso=\"%s\">"));
    EXPECT_TRUE(kRibbonTemplate.ends_with(
        "size = \"large\"              />         </group>      </tab>    </tabs>  "
        "</ribbon></customUI>"));
}

TEST(RibbonMarkup, ReplaceAllReplacesEveryOccurrence) {
    EXPECT_EQ(ReplaceAll("a%sb%s", "%s", "XY"), "aXYbXY");
    EXPECT_EQ(ReplaceAll("%s%s", "%s", "%s"), "%s%s");
    EXPECT_EQ(ReplaceAll("none", "%s", "X"), "none");
    EXPECT_EQ(ReplaceAll("", "%s", "X"), "");
}

}  // namespace
}  // namespace cq
