#pragma once
// The building block of the in-memory Office: a host object scripted with
// stored properties, computed members and event sources. It counts the
// references handed out to it and goes through its FakeOffice for every call,
// so that a test can record calls and make any chosen call fail.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/host/Dispatch.h"

namespace cq::test {

class FakeOffice;

class FakeObject : public HostObject {
  public:
    using Member = std::function<Variant(std::span<Variant> args)>;
    using Setter = std::function<void(const Variant& value)>;

    FakeObject(FakeOffice& office, std::string type) : office_(office), type_(std::move(type)) {}

    // HostObject
    void addRef() noexcept override { ++refs_; }
    void release() noexcept override { --refs_; }
    Variant invoke(std::string_view name, CallKind kind, std::span<Variant> args) override;
    Subscription* advise(std::string_view eventIid, EventSink& sink) override;
    void* rawInterface() noexcept override { return this; }

    // Scripting. A stored property answers Get and accepts Put; an object
    // property holds the object without counting a reference (the Office owns
    // it); a getter, method or setter computes the answer.
    FakeObject& set(const std::string& name, Variant value);
    FakeObject& setObject(const std::string& name, FakeObject* object);
    FakeObject& getter(const std::string& name, Member fn);
    FakeObject& method(const std::string& name, Member fn);
    FakeObject& setter(const std::string& name, Setter fn);
    FakeObject& readOnly(const std::string& name);

    // The stored value of a property (Empty when never set).
    Variant value(const std::string& name) const;
    FakeObject* object(const std::string& name) const;

    // Fires an event of the interface `eventIid` at every subscribed sink.
    void fire(std::string_view eventIid, std::string_view name, std::span<Variant> args);
    int subscribers(std::string_view eventIid) const;

    const std::string& type() const { return type_; }
    int refs() const { return refs_; }
    FakeOffice& office() const { return office_; }
    // A handle holding a new reference, as a host call would hand it out.
    Dispatch handle() { return Dispatch(this); }

  private:
    friend class FakeSubscription;
    struct Sink {
        int id;
        std::string iid;
        EventSink* sink;
    };

    static std::string key(std::string_view name);

    FakeOffice& office_;
    std::string type_;
    int refs_ = 0;
    std::map<std::string, Variant> values_;
    std::map<std::string, FakeObject*> objects_;
    std::map<std::string, Member> getters_;
    std::map<std::string, Member> methods_;
    std::map<std::string, Setter> setters_;
    std::map<std::string, bool> readOnly_;
    std::vector<Sink> sinks_;
    int nextSink_ = 1;
};

}  // namespace cq::test
