#pragma once
// The RunningObjectTable of Windows: CLSIDFromProgID, then GetActiveObject.
// The COM library must be initialised on the calling thread.

#include "word/RunningObjectTable.h"

namespace cq::word::win32 {

class Win32RunningObjectTable final : public RunningObjectTable {
  public:
    Dispatch GetActiveObject(const std::string& progId) override;
};

}  // namespace cq::word::win32
