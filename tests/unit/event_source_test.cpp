#include "common/host/EventSource.h"

#include <gtest/gtest.h>

#include "common/HostError.h"
#include "tests/doubles/FakeOffice.h"

namespace cq {
namespace {

using test::FakeObject;
using test::FakeOffice;

constexpr std::string_view kIid = "{0006307D-0000-0000-C000-000000000046}";

TEST(EventSource, HoldsTheObjectAndHearsItUntilReset) {
    FakeOffice office;
    FakeObject& a = office.make("Inspector");
    FakeObject& b = office.make("Inspector");
    std::vector<std::string> heard;
    EventSource source(kIid, [&](std::string_view event, std::span<Variant>) {
        heard.push_back(std::string(event));
    });
    source.set(a.handle());
    EXPECT_EQ(a.refs(), 2);  // the variable and the subscription
    source.set(b.handle());  // lets go of the first
    EXPECT_EQ(a.refs(), 0);
    a.fire(kIid, "Close", {});
    b.fire(kIid, "Activate", {});
    b.fire("{other}", "Close", {});
    EXPECT_EQ(heard, std::vector<std::string>{"Activate"});
    source.set(Dispatch());
    EXPECT_FALSE(source);
    EXPECT_EQ(office.liveReferences(), 0);
}

TEST(EventSource, ResetInsideItsOwnEvent) {
    FakeOffice office;
    FakeObject& a = office.make("Inspector");
    int heard = 0;
    EventSource* self = nullptr;
    EventSource source(kIid, [&](std::string_view, std::span<Variant>) {
        ++heard;
        self->reset();
    });
    self = &source;
    source.set(a.handle());
    a.fire(kIid, "Close", {});
    a.fire(kIid, "Close", {});
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(office.liveReferences(), 0);
}

TEST(EventSource, AFailedSubscriptionKeepsTheObjectWithoutEvents) {
    FakeOffice office;
    FakeObject& a = office.make("CommandBarButton");
    office.failing = {"CommandBarButton.advise"};
    EventSource source(kIid, [](std::string_view, std::span<Variant>) { FAIL(); });
    EXPECT_THROW(source.set(a.handle()), HostError);
    EXPECT_TRUE(source);
    EXPECT_FALSE(source.listening());
    a.fire(kIid, "Click", {});
    source.reset();
    EXPECT_EQ(office.liveReferences(), 0);
}

}  // namespace
}  // namespace cq
