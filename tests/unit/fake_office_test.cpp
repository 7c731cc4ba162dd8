#include "tests/doubles/FakeOffice.h"

#include <gtest/gtest.h>

#include "common/Guard.h"
#include "common/HostError.h"

namespace cq::test {
namespace {

struct CountingSink : EventSink {
    std::vector<std::string> seen;
    std::unique_ptr<Subscription>* endOnEvent = nullptr;
    void onEvent(std::string_view name, std::span<Variant> args) override {
        seen.push_back(std::string(name) + ":" + (args.empty() ? "" : args[0].toString()));
        if (endOnEvent) endOnEvent->reset();
    }
};

TEST(FakeOffice, CountsReferencesHandedOutThroughPropertiesAndEvents) {
    FakeOffice office;
    auto& app = office.make("Application");
    auto& bars = office.make("CommandBars");
    app.set("Version", "11.0.8169").setObject("CommandBars", &bars);
    {
        Dispatch a = app.handle();
        EXPECT_EQ(a.get("version").toString(), "11.0.8169");
        Dispatch b = a.get("CommandBars").toObject();
        EXPECT_EQ(office.liveReferences(), 2);
        EXPECT_THROW(a.get("NoSuchMember"), HostError);
    }
    EXPECT_EQ(office.liveReferences(), 0) << office.referenced();
}

TEST(FakeOffice, SubscriptionsHoldTheirSourceAndMayEndInsideAnEvent) {
    FakeOffice office;
    auto& inspectors = office.make("Inspectors");
    CountingSink sink;
    auto sub = inspectors.handle().advise("{IID}", sink);
    EXPECT_EQ(inspectors.refs(), 1);
    sink.endOnEvent = &sub;
    Variant args[] = {Variant("first")};
    inspectors.fire("{iid}", "NewInspector", args);
    inspectors.fire("{IID}", "NewInspector", args);
    EXPECT_EQ(sink.seen, std::vector<std::string>{"NewInspector:first"});
    EXPECT_EQ(office.liveReferences(), 0);
}

TEST(FakeOffice, InjectsAFailureAtTheChosenCall) {
    FakeOffice office;
    auto& app = office.make("Application");
    app.set("Version", "9.0");
    Dispatch a = app.handle();
    office.failAt = 2;
    office.recording = true;
    EXPECT_TRUE(guard([&] { a.get("Version"); }));
    EXPECT_FALSE(guard([&] { a.get("Version"); }));
    EXPECT_TRUE(guard([&] { a.put("Version", "10.0"); }));
    EXPECT_TRUE(office.injected());
    EXPECT_EQ(office.log.size(), 3u);
    EXPECT_EQ(app.value("Version").toString(), "10.0");
}

}  // namespace
}  // namespace cq::test
