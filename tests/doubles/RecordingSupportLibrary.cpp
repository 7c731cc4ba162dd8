#include "tests/doubles/RecordingSupportLibrary.h"

#include "common/HostError.h"

namespace cq::test {
namespace {

void failIfMissing(bool missing) {
    if (missing) throw HostError(53, "File not found: LibQuintor.dll");
}

std::vector<LogEntry> ofKind(const std::vector<LogEntry>& all, std::int32_t kind) {
    std::vector<LogEntry> out;
    for (const auto& e : all)
        if (e.kind == kind) out.push_back(e);
    return out;
}

}  // namespace

std::int32_t RecordingSupportLibrary::LibQuintorInitEx(std::uintptr_t hInstance,
                                                       LibQuintorInitInfo& info) {
    failIfMissing(missing);
    ++initExCalls;
    lastInstance = hInstance;
    lastInfo = info;
    return initResult;
}

std::int32_t RecordingSupportLibrary::LibQuintorAddAboutMenu(std::uintptr_t hInstance,
                                                             const Dispatch& explorer) {
    failIfMissing(missing);
    lastInstance = hInstance;
    aboutMenus.push_back(explorer.rawInterface());
    return 0;
}

std::int32_t RecordingSupportLibrary::LibQuintorInitComplete(std::uintptr_t hInstance) {
    failIfMissing(missing);
    lastInstance = hInstance;
    ++initCompleteCalls;
    return 0;
}

std::int32_t RecordingSupportLibrary::LibQuintorLogMsg(std::uintptr_t hInstance,
                                                       const std::string& message,
                                                       std::int32_t number,
                                                       const std::string& source, std::int32_t kind,
                                                       std::int32_t level) {
    failIfMissing(missing);
    lastInstance = hInstance;
    entries.push_back({message, number, source, kind, level});
    return 0;
}

std::vector<LogEntry> RecordingSupportLibrary::errors() const { return ofKind(entries, 3); }
std::vector<LogEntry> RecordingSupportLibrary::debugs() const { return ofKind(entries, 1); }

}  // namespace cq::test
