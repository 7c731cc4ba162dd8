#include "common/host/EventSource.h"

#include <utility>

namespace cq {

EventSource::EventSource(std::string_view eventIid, Handler handler)
    : iid_(eventIid), handler_(std::move(handler)) {}

EventSource::~EventSource() { reset(); }

void EventSource::set(Dispatch object) {
    reset();
    if (!object) return;
    object_ = std::move(object);
    subscription_ = object_.advise(iid_, *this);
}

void EventSource::reset() noexcept {
    // Take both out first: ending the subscription may run host code that
    // reaches this variable again.
    std::unique_ptr<Subscription> subscription = std::move(subscription_);
    Dispatch object = std::move(object_);
    subscription.reset();
    object.reset();
}

void EventSource::onEvent(std::string_view name, std::span<Variant> args) {
    // A copy: the handler may end the life of this variable's owner, and with
    // it this very handler, before it returns.
    const Handler handler = handler_;
    if (handler) handler(name, args);
}

}  // namespace cq
