#include "common/host/Dispatch.h"

#include "common/HostError.h"

namespace cq {
namespace {

[[noreturn]] void nothing() {
    throw HostError(91, "Object variable or With block variable not set");
}

}  // namespace

Variant Dispatch::invoke(std::string_view name, CallKind kind, std::span<Variant> args) const {
    if (!p_) nothing();
    return p_->invoke(name, kind, args);
}

std::unique_ptr<Subscription> Dispatch::advise(std::string_view eventIid, EventSink& sink) const {
    if (!p_) nothing();
    return std::unique_ptr<Subscription>(p_->advise(eventIid, sink));
}

}  // namespace cq
