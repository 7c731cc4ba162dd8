// The in-memory command bars answer as Office's do; both add-ins' tests
// stand on them.

#include "tests/doubles/FakeCommandBars.h"

#include <gtest/gtest.h>

#include "common/Guard.h"
#include "common/HostError.h"
#include "common/host/CommandBars.h"

namespace cq::test {
namespace {

struct Bars {
    FakeOffice office;
    FakeCommandBars bars{office};
    FakeObject& standard = bars.addBar("Standard");
    FakeObject& menu = bars.addBar("Menu Bar");
    FakeObject& send = bars.addControl(standard, msoControlButton, 2617, "&Send");
    FakeObject& insert = bars.addPopup(menu, 30005, "&Insert");
    FakeObject& file = bars.addControl(bars.popupBar(insert), msoControlButton, 1079, "&File...");
};

TEST(FakeCommandBars, FindControlMatchesEveryGivenCriterion) {
    Bars b;
    b.bars.setProperty(b.send, "Tag", "T");
    b.bars.setProperty(b.send, "Visible", false);
    const Variant m = Variant::missing();
    struct Case {
        const char* name;
        FakeObject* in;  // bar searched; null: all bars
        std::vector<Variant> args;
        FakeObject* found;
    } const cases[] = {
        {"by tag, invisible included", &b.standard, {msoControlButton, m, "T"}, &b.send},
        {"visible only", &b.standard, {msoControlButton, m, "T", true}, nullptr},
        {"visible false searches all", &b.standard, {m, m, "T", false}, &b.send},
        {"wrong type", &b.standard, {msoControlPopup, m, "T"}, nullptr},
        {"tag compares exactly", &b.standard, {m, m, "t"}, nullptr},
        {"by id", &b.menu, {m, 30005}, &b.insert},
        {"not into menus", &b.menu, {m, 1079}, nullptr},
        {"into menus when recursive", &b.menu, {m, 1079, m, m, true}, &b.file},
        {"all bars, recursively", nullptr, {m, 1079}, &b.file},
    };
    for (const Case& c : cases) {
        std::vector<Variant> args = c.args;
        Dispatch bar = c.in ? c.in->handle() : b.bars.object().handle();
        Dispatch found = bar.invoke("FindControl", CallKind::Method, args).toObject();
        EXPECT_EQ(found.get(), c.found) << c.name;
    }
    EXPECT_EQ(b.office.liveReferences(), 0);
}

TEST(FakeCommandBars, AddPlacesControlsAndDeleteRemovesThemForGood) {
    Bars b;
    int changes = 0;
    b.bars.onChange = [&] { ++changes; };
    CommandBarControls controls = CommandBars(b.bars.object().handle()).Item("standard").Controls();
    EXPECT_THROW(controls.Add(1, Variant::missing(), Variant::missing(), 3), HostError);
    CommandBarButton last = controls.Add(1, Variant::missing(), Variant::missing(), 2, true);
    CommandBarButton first = controls.Add(1, Variant::missing(), Variant::missing(), 1);
    EXPECT_EQ(b.bars.controls(b.standard),
              (std::vector<FakeObject*>{static_cast<FakeObject*>(first.dispatch().get()), &b.send,
                                        static_cast<FakeObject*>(last.dispatch().get())}));
    auto* lastObject = static_cast<FakeObject*>(last.dispatch().get());
    EXPECT_TRUE(b.bars.isTemporary(*lastObject));
    EXPECT_FALSE(b.bars.isTemporary(*static_cast<FakeObject*>(first.dispatch().get())));

    last.SetCaption("Stamp");
    EXPECT_EQ(b.bars.property(*lastObject, "Caption").toString(), "Stamp");
    last.Delete();
    EXPECT_EQ(b.bars.deleted(), std::vector<FakeObject*>{lastObject});
    EXPECT_EQ(controls.Count(), 2);
    EXPECT_THROW(last.SetCaption("again"), HostError);
    EXPECT_THROW(last.Caption(), HostError);
    EXPECT_THROW(last.Delete(), HostError);
    EXPECT_EQ(changes, 4);  // two adds, a caption, a delete
    EXPECT_THROW(CommandBars(b.bars.object().handle()).Item("Formatting"), HostError);
}

TEST(FakeCommandBars, PicturesOnlyWhereTheOfficeTakesThem) {
    for (bool supported : {false, true}) {
        FakeOffice office;
        FakeCommandBars bars(office, supported);
        FakeObject& bar = bars.addBar("Standard");
        FakeObject& picture = office.make("Picture");
        CommandBarButton btn = CommandBar(bar.handle()).Controls().Add(1);
        const bool set = guard([&] { btn.dispatch().put("Picture", picture.handle()); });
        EXPECT_EQ(set, supported);
        EXPECT_EQ(
            bars.property(*static_cast<FakeObject*>(btn.dispatch().get()), "Picture").isObject(),
            supported);
    }
}

TEST(FakeCommandBars, ClickReachesSubscribersWithCtrlAndCancelDefault) {
    Bars b;
    struct Sink : EventSink {
        void* ctrl = nullptr;
        void onEvent(std::string_view name, std::span<Variant> args) override {
            ASSERT_EQ(name, "Click");
            ASSERT_EQ(args.size(), 2u);
            ctrl = args[0].toObject().rawInterface();
            args[1].assign(true);
        }
    } sink;
    EXPECT_FALSE(b.bars.click(b.send));  // nobody listens
    auto subscription = b.send.handle().advise(kCommandBarButtonEvents, sink);
    EXPECT_TRUE(b.bars.click(b.send));
    EXPECT_EQ(sink.ctrl, b.send.rawInterface());
}

}  // namespace
}  // namespace cq::test
