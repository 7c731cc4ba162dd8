#pragma once
// The present local date and time from GetLocalTime.

#include "common/Clock.h"

namespace cq::win32 {

class Win32Clock final : public Clock {
  public:
    DateTime now() override;
};

}  // namespace cq::win32
