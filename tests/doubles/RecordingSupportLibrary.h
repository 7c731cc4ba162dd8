#pragma once
// A support library that records every call, answers InitEx with a chosen
// result, or behaves as a missing LibQuintor.dll.

#include <cstdint>
#include <string>
#include <vector>

#include "outlook/SupportLibrary.h"

namespace cq::test {

struct LogEntry {
    std::string message;
    std::int32_t number;
    std::string source;
    std::int32_t kind;  // 1 debug, 3 error
    std::int32_t level;
    friend bool operator==(const LogEntry&, const LogEntry&) = default;
};

class RecordingSupportLibrary : public SupportLibrary {
  public:
    std::int32_t LibQuintorInitEx(std::uintptr_t hInstance, LibQuintorInitInfo& info) override;
    std::int32_t LibQuintorAddAboutMenu(std::uintptr_t hInstance,
                                        const Dispatch& explorer) override;
    std::int32_t LibQuintorInitComplete(std::uintptr_t hInstance) override;
    std::int32_t LibQuintorLogMsg(std::uintptr_t hInstance, const std::string& message,
                                  std::int32_t number, const std::string& source, std::int32_t kind,
                                  std::int32_t level) override;

    // The error entries (kind 3) and the debug entries (kind 1) recorded so far.
    std::vector<LogEntry> errors() const;
    std::vector<LogEntry> debugs() const;

    // Set up.
    bool missing = false;         // every call fails as if the DLL were not there
    std::int32_t initResult = 0;  // what LibQuintorInitEx answers

    // Recorded.
    std::vector<LogEntry> entries;
    std::vector<void*> aboutMenus;  // identities of the explorers given to AddAboutMenu
    int initExCalls = 0;
    int initCompleteCalls = 0;
    std::uintptr_t lastInstance = 0;
    LibQuintorInitInfo lastInfo{};
};

}  // namespace cq::test
