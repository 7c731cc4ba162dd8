// The scripted hosts' readers: script lines and ribbon markup.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/HostScript.h"
#include "tests/e2e/RibbonMarkup.h"

namespace cq::test::e2e {
namespace {

struct LineCase {
    const char* line;
    const char* name;
    std::vector<std::string> args;
};

TEST(HostScript, SplitsCommandLines) {
    const LineCase cases[] = {
        {"new mail", "new", {"mail"}},
        {"  Click-Button   Insert date and time ",
         "click-button",
         {"Insert", "date", "and", "time"}},
        {"click-menu Insert \"Insert date and time\"",
         "click-menu",
         {"Insert", "Insert date and time"}},
        {"set-ini \"a \\\"quoted\\\" \\\\ word\"", "set-ini", {"a \"quoted\" \\ word"}},
        {"custom-ui \"\" Z:\\out.xml", "custom-ui", {"", "Z:\\out.xml"}},
        {"wait\r", "wait", {}},
        {"# a comment", "", {}},
        {"   ", "", {}},
    };
    for (const LineCase& c : cases) {
        Command command = parseCommand(c.line);
        EXPECT_EQ(command.name, c.name) << c.line;
        EXPECT_EQ(command.args, c.args) << c.line;
    }
}

TEST(HostScript, RefusesAnOpenQuote) {
    EXPECT_THROW(splitWords("echo \"never closed"), std::invalid_argument);
}

TEST(HostScript, ReadsScriptsLineByLine) {
    const std::vector<Command> script =
        parseScript("new mail\r\n# comment\r\n\r\nprint-editor\nscreenshot \"a b.bmp\"");
    ASSERT_EQ(script.size(), 3u);
    EXPECT_EQ(script[0].rest(0), "mail");
    EXPECT_EQ(script[1].name, "print-editor");
    EXPECT_EQ(script[2].arg(0), "a b.bmp");
    EXPECT_EQ(script[2].arg(5, "none"), "none");
}

TEST(HostScript, QuotesOutputSoThatEveryCharacterShows) {
    EXPECT_EQ(quoted("07.12.2026 10:51 "), "\"07.12.2026 10:51 \"");
    EXPECT_EQ(quoted("a\"b\\c\r\n\t"), "\"a\\\"b\\\\c\\r\\n\\t\"");
    EXPECT_EQ(quoted(""), "\"\"");
}

TEST(HostScript, BreaksSettingsLinesAtBackslashN) {
    EXPECT_EQ(splitLines("format=time\\ntimeformat=HH:mm"),
              (std::vector<std::string>{"format=time", "timeformat=HH:mm"}));
    EXPECT_EQ(splitLines("format=time"), (std::vector<std::string>{"format=time"}));
    EXPECT_EQ(splitLines(""), (std::vector<std::string>{""}));
}

TEST(RibbonMarkup, ReadsCallbacksWithBlanksAroundTheEqualsSign) {
    const CustomUiMarkup ui = readCustomUi(
        "<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\" "
        "onLoad=\"Ribbon_OnLoad\">  <ribbon>    <tabs>      <tab idMso=\"TabTask\">"
        "        <group id=\"Quintor.Stamps\" label=\"Stamps\">            <button"
        "                id = \"Quintor.btnStamp\"                onAction = \"Button_Action\""
        "                getScreentip = \"Button_GetScreentip\"                getImage = "
        "'Button_GetImage'                getLabel=\"Button_GetLabel\"                size = "
        "\"large\"              />         </group>      </tab>    </tabs>  </ribbon></customUI>");
    EXPECT_EQ(ui.onLoad, "Ribbon_OnLoad");
    EXPECT_EQ(ui.tab, "TabTask");
    EXPECT_EQ(ui.groupId, "Quintor.Stamps");
    EXPECT_EQ(ui.groupLabel, "Stamps");
    ASSERT_EQ(ui.buttons.size(), 1u);
    const RibbonButtonMarkup& b = ui.buttons[0];
    EXPECT_EQ(b.id, "Quintor.btnStamp");
    EXPECT_EQ(b.onAction, "Button_Action");
    EXPECT_EQ(b.getScreentip, "Button_GetScreentip");
    EXPECT_EQ(b.getImage, "Button_GetImage");
    EXPECT_EQ(b.getLabel, "Button_GetLabel");
    EXPECT_EQ(b.size, "large");
    EXPECT_EQ(b.label, "");
}

TEST(RibbonMarkup, ReadsSeveralButtonsAndATabById) {
    const CustomUiMarkup ui = readCustomUi(
        "<?xml version=\"1.0\"?><customUI><ribbon><tabs><tab id=\"Mine\"><group id=\"g\">"
        "<button id=\"a\" label=\"A\"/><button id=\"b\" onAction=\"Go\"/></group></tab></tabs>"
        "</ribbon></customUI>");
    EXPECT_EQ(ui.onLoad, "");
    EXPECT_EQ(ui.tab, "Mine");
    ASSERT_EQ(ui.buttons.size(), 2u);
    EXPECT_EQ(ui.buttons[0].label, "A");
    EXPECT_EQ(ui.buttons[1].onAction, "Go");
}

TEST(RibbonMarkup, ReadsTheNamespaceAndATabInAContextualTabSet) {
    struct Row {
        const char* markup;
        const char* xmlns;
        const char* tabSet;
        const char* tab;
    } const rows[] = {
        {"<customUI xmlns=\"http://schemas.microsoft.com/office/2009/07/customui\"><ribbon>"
         "<contextualTabs><tabSet idMso=\"TabComposeTools\"><tab idMso=\"TabMessage\">"
         "<group id=\"g\"><button id=\"b\"/></group></tab></tabSet></contextualTabs></ribbon>"
         "</customUI>",
         "http://schemas.microsoft.com/office/2009/07/customui", "TabComposeTools", "TabMessage"},
        {"<customUI><ribbon><tabs><tab idMso=\"TabMail\"><group id=\"g\"/></tab></tabs>"
         "</ribbon></customUI>",
         "", "", "TabMail"},
    };
    for (const Row& row : rows) {
        const CustomUiMarkup ui = readCustomUi(row.markup);
        EXPECT_EQ(ui.xmlns, row.xmlns) << row.markup;
        EXPECT_EQ(ui.tabSet, row.tabSet) << row.markup;
        EXPECT_EQ(ui.tab, row.tab) << row.markup;
    }
}

TEST(RibbonMarkup, RefusesMarkupLeftOpen) {
    for (const char* markup : {"<customUI onLoad=\"x", "<button id", "<button id=x/>", "<tab"})
        EXPECT_THROW(readCustomUi(markup), std::invalid_argument) << markup;
    EXPECT_TRUE(readCustomUi("").buttons.empty());
}

}  // namespace
}  // namespace cq::test::e2e
