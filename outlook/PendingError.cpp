#include "outlook/PendingError.h"

#include <exception>

#include "common/Guard.h"
#include "common/HostError.h"
#include "outlook/Log.h"

namespace cq {

void errLogPending(const char* source) noexcept {
    try {
        throw;
    } catch (const HostError& failure) {
        guard([&] { errLog(source, failure); });
    } catch (const std::exception& failure) {
        guard([&] { errLog(source, -1, failure.what()); });
    } catch (...) {
        guard([&] { errLog(source, -1, "Unknown failure"); });
    }
}

}  // namespace cq
