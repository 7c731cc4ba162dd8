#pragma once
// A handle to a host object that holds one reference, released when the
// handle is reset or destroyed ("set to Nothing").

#include <memory>
#include <string_view>
#include <utility>

#include "common/host/HostObject.h"

namespace cq {

class Dispatch {
  public:
    Dispatch() = default;
    // Takes a new reference to `object` (or adopts one already counted).
    explicit Dispatch(HostObject* object, bool addRef = true) : p_(object) {
        if (p_ && addRef) p_->addRef();
    }
    Dispatch(const Dispatch& o) : p_(o.p_) {
        if (p_) p_->addRef();
    }
    Dispatch(Dispatch&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Dispatch& operator=(Dispatch o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~Dispatch() { reset(); }

    void reset() noexcept {
        if (HostObject* p = std::exchange(p_, nullptr)) p->release();
    }
    explicit operator bool() const { return p_ != nullptr; }
    HostObject* get() const { return p_; }
    // The raw interface (the IDispatch pointer on Windows), or null.
    void* rawInterface() const { return p_ ? p_->rawInterface() : nullptr; }
    // The object's identity (its IUnknown on Windows), or null.
    const void* comIdentity() const { return p_ ? p_->comIdentity() : nullptr; }

    // Property get (with optional index arguments), property put, method call.
    // Throw HostError on failure; calling through Nothing is error 91.
    template <class... A>
    Variant get(std::string_view name, A&&... args) const;
    template <class V>
    void put(std::string_view name, V&& value) const;
    template <class... A>
    Variant call(std::string_view name, A&&... args) const;
    Variant invoke(std::string_view name, CallKind kind, std::span<Variant> args) const;

    // Subscribes to an event interface of this object.
    std::unique_ptr<Subscription> advise(std::string_view eventIid, EventSink& sink) const;

    friend bool operator==(const Dispatch& a, const Dispatch& b) {
        return a.comIdentity() == b.comIdentity();
    }

  private:
    HostObject* p_ = nullptr;
};

}  // namespace cq

// Variant completes this header (the call helpers need it).
#include "common/host/Variant.h"
