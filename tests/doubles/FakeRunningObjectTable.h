#pragma once
// Test double of the running-object table: holds at most one running object
// per class name, starts nothing, and records every lookup.

#include <map>
#include <string>
#include <vector>

#include "common/HostError.h"
#include "tests/doubles/FakeObject.h"
#include "word/RunningObjectTable.h"

namespace cq::test {

class FakeRunningObjectTable : public word::RunningObjectTable {
  public:
    Dispatch GetActiveObject(const std::string& progId) override {
        lookups.push_back(progId);
        if (fail) throw HostError(-2147221005, "Invalid class string");
        auto r = running.find(progId);
        return r == running.end() || r->second == nullptr ? Dispatch() : r->second->handle();
    }

    std::map<std::string, FakeObject*> running;
    bool fail = false;
    std::vector<std::string> lookups;
};

}  // namespace cq::test
