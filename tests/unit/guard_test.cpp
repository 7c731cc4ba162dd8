#include "common/Guard.h"
#include "common/HostError.h"
#include "common/Port.h"

#include <gtest/gtest.h>

namespace cq {
namespace {

TEST(Guard, SkipsAFailingStepAndReportsIt) {
    int ran = 0;
    EXPECT_FALSE(guard([&] { throw HostError(91, "Object variable not set"); }));
    EXPECT_FALSE(guard([&] { throw 42; }));
    EXPECT_TRUE(guard([&] { ++ran; }));
    EXPECT_EQ(ran, 1);
}

struct Service {
    virtual ~Service() = default;
    virtual int value() = 0;
};
struct Fixed : Service {
    int v;
    explicit Fixed(int x) : v(x) {}
    int value() override { return v; }
};

TEST(Port, ScopedInstallsNestAndRestore) {
    EXPECT_THROW(Port<Service>::get(), HostError);
    Fixed one(1), two(2);
    {
        ScopedPort<Service> a(one);
        EXPECT_EQ(Port<Service>::get().value(), 1);
        {
            ScopedPort<Service> b(two);
            EXPECT_EQ(Port<Service>::get().value(), 2);
        }
        EXPECT_EQ(Port<Service>::get().value(), 1);
    }
    EXPECT_FALSE(Port<Service>::installed());
}

}  // namespace
}  // namespace cq
