#pragma once
// A BSTR that the tests and benchmarks hand to an add-in to fill.

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace cq::test {

class ScopedBstr {
  public:
    ScopedBstr() = default;
    explicit ScopedBstr(BSTR b) : b_(b) {}
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    ~ScopedBstr() { SysFreeString(b_); }

    BSTR get() const { return b_; }
    BSTR* put() noexcept {
        SysFreeString(std::exchange(b_, nullptr));
        return &b_;
    }

  private:
    BSTR b_ = nullptr;
};

}  // namespace cq::test
