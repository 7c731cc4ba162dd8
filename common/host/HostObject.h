#pragma once
// The host's object model as the portable code sees it: objects reached late,
// by member name, like a script would. Implemented over IDispatch in the real
// add-ins and by the in-memory Office in tests.

#include <span>
#include <string_view>

namespace cq {

class Variant;
class EventSink;
class Subscription;

enum class CallKind { Get, Put, Method };

// One host object. Reference counted like a COM object: a Dispatch handle holds
// one reference. Every failing call throws HostError.
class HostObject {
  public:
    virtual void addRef() noexcept = 0;
    virtual void release() noexcept = 0;

    // Gets or puts a property, or calls a method, by name. Arguments are in
    // call order; by-reference arguments (Variant::ref) are written back.
    // For Put, the last argument is the new value.
    virtual Variant invoke(std::string_view name, CallKind kind, std::span<Variant> args) = 0;

    // Subscribes `sink` to the event interface `eventIid` ("{...}" form) of
    // this object. The subscription ends when the returned object is destroyed.
    virtual Subscription* advise(std::string_view eventIid, EventSink& sink) = 0;

    // The interface the object is reached through (on Windows its IDispatch
    // pointer), for handing to code that takes a raw COM reference.
    virtual void* rawInterface() noexcept = 0;
    // What tells two handles of one object apart from handles of two objects:
    // on Windows the object's IUnknown, which every interface of it answers.
    virtual const void* comIdentity() noexcept { return rawInterface(); }

  protected:
    virtual ~HostObject() = default;
};

// Receives the events of a subscription, by event name ("NewInspector",
// "Close", "Click", "WindowActivate", ...). Arguments in declaration order;
// by-reference ones may be written.
class EventSink {
  public:
    virtual void onEvent(std::string_view name, std::span<Variant> args) = 0;

  protected:
    virtual ~EventSink() = default;
};

// A live event subscription; deleting it ends the subscription and releases
// what it holds of the source.
class Subscription {
  public:
    virtual ~Subscription() = default;
};

}  // namespace cq
