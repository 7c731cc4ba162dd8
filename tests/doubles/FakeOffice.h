#pragma once
// Owns every object of an in-memory Office, counts the references that are
// still handed out, records the calls made to it and injects failures.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/doubles/FakeObject.h"

namespace cq::test {

class FakeOffice {
  public:
    FakeOffice() = default;
    FakeOffice(const FakeOffice&) = delete;
    FakeOffice& operator=(const FakeOffice&) = delete;

    // A new object owned by this Office (alive until the Office is destroyed).
    FakeObject& make(const std::string& type);

    // References to this Office's objects held outside it.
    int liveReferences() const;
    // "Type x refs" for every object still referenced, for failure messages.
    std::string referenced() const;

    // Every host call (a member call or an event subscription) goes through
    // here; call number `failAt` (1-based) throws instead of running.
    void onCall(const FakeObject& target, std::string_view name, CallKind kind);
    int calls() const { return calls_; }
    int failAt = 0;
    std::int32_t failNumber = -2147467259;  // E_FAIL
    bool injected() const { return injected_; }

    // Calls that fail every time, by "Type.Member" (for example "Inspector.CurrentItem").
    std::vector<std::string> failing;

    // "Type.Member" of every call made, in order, when `recording` is on.
    bool recording = false;
    std::vector<std::string> log;

  private:
    std::vector<std::unique_ptr<FakeObject>> objects_;
    int calls_ = 0;
    bool injected_ = false;
};

}  // namespace cq::test
