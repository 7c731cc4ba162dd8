#pragma once
// The present local date and time, reached through Port<Clock>.

#include "common/DateTime.h"

namespace cq {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateTime now() = 0;
};

}  // namespace cq
