#pragma once
// A reference to a host object held together with a subscription to one of
// its event interfaces, like an object variable declared "WithEvents": while
// it holds an object, the object's events of that interface go to the handler.

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "common/host/Dispatch.h"

namespace cq {

class EventSource : private EventSink {
  public:
    using Handler = std::function<void(std::string_view event, std::span<Variant> args)>;

    EventSource(std::string_view eventIid, Handler handler);
    ~EventSource() override;
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;

    // "Set x = object": lets go of the object held so far, then holds `object`
    // and subscribes to its events. When the subscription fails, the object
    // stays held (without events) and the HostError propagates. Nothing
    // (an empty handle) just lets go.
    void set(Dispatch object);
    // "Set x = Nothing": ends the subscription, then releases the object. May
    // be called from inside one of the object's own events.
    void reset() noexcept;

    const Dispatch& object() const { return object_; }
    explicit operator bool() const { return static_cast<bool>(object_); }
    // Whether the object's events arrive.
    bool listening() const { return subscription_ != nullptr; }

  private:
    void onEvent(std::string_view name, std::span<Variant> args) override;

    std::string iid_;
    Handler handler_;
    Dispatch object_;
    std::unique_ptr<Subscription> subscription_;
};

}  // namespace cq
