#include "outlook/Log.h"

#include "outlook/CLibQuintor.h"

namespace cq {
namespace {

constexpr std::int32_t kDebugEntry = 1;
constexpr std::int32_t kErrorEntry = 3;

}  // namespace

void dbgLog(const std::string& source, const std::string& message, std::int32_t level) {
    g_oLib.LogMsg(message, 0, source, kDebugEntry, level);
}

void errLog(const std::string& source, const HostError& failure, std::int32_t number,
            std::optional<std::string> description, std::optional<std::string> extra) {
    if (number == -1) number = failure.number();
    std::string message = description ? *description : failure.description();
    if (extra) message += "; " + *extra;
    std::string where = source;
    if (failure.line() != 0) where += "(" + std::to_string(failure.line()) + ")";
    g_oLib.LogMsg(message, number, where, kErrorEntry, 1);
}

void errLog(const std::string& source, std::int32_t number, const std::string& description,
            std::optional<std::string> extra) {
    std::string message = description;
    if (extra) message += "; " + *extra;
    g_oLib.LogMsg(message, number, source, kErrorEntry, 1);
}

}  // namespace cq
