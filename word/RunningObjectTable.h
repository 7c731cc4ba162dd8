#pragma once
// Port: the running-object table of the system, where a running Office
// application registers its Application object.

#include <string>

#include "common/host/Dispatch.h"

namespace cq::word {

class RunningObjectTable {
  public:
    virtual ~RunningObjectTable() = default;
    // The running object of the class registered as `progId`
    // ("Outlook.Application"), or Nothing when no such object is running. Never
    // starts an instance. Throws HostError when the lookup itself fails (an
    // unknown class, for example).
    virtual Dispatch GetActiveObject(const std::string& progId) = 0;
};

}  // namespace cq::word
