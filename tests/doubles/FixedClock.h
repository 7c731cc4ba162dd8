#pragma once
// A clock that always shows the same moment.

#include "common/Clock.h"

namespace cq::test {

class FixedClock : public Clock {
  public:
    explicit FixedClock(DateTime at = {}) : at(at) {}
    DateTime now() override { return at; }
    DateTime at;
};

}  // namespace cq::test
