#pragma once
// Ports: the portable code reaches the system only through small interfaces.
// Port<T>::get() returns the implementation in force; the Win32 entry points
// install the real ones, tests install doubles with ScopedPort.

#include <utility>

#include "common/HostError.h"

namespace cq {

template <class T>
class Port {
  public:
    static T& get() {
        if (current_ == nullptr) throw HostError(-1, "platform service not available");
        return *current_;
    }
    static bool installed() { return current_ != nullptr; }
    // Puts `impl` in force and returns the previous one.
    static T* swap(T* impl) {
        T* old = current_;
        current_ = impl;
        return old;
    }

  private:
    static inline T* current_ = nullptr;
};

template <class T>
class ScopedPort {
  public:
    explicit ScopedPort(T& impl) : old_(Port<T>::swap(&impl)) {}
    ~ScopedPort() { Port<T>::swap(old_); }
    ScopedPort(const ScopedPort&) = delete;
    ScopedPort& operator=(const ScopedPort&) = delete;

  private:
    T* old_;
};

// An implementation of T made together with its ScopedPort: in force for as
// long as this object lives.
template <class T, class Impl>
struct PortInForce {
    template <class... Args>
    explicit PortInForce(Args&&... args) : impl(std::forward<Args>(args)...) {}

    Impl impl;
    ScopedPort<T> port{impl};
};

}  // namespace cq
