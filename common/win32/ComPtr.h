#pragma once
// One-line owners of COM resources: an interface reference, a VARIANT.

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace cq::win32 {

// Holds one reference to a COM interface.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    // Takes a new reference to `p`.
    explicit ComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    // Adopts a reference that is already counted.
    static ComPtr adopt(T* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    void reset() noexcept {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // Gives up the reference without releasing it.
    T* detach() noexcept { return std::exchange(p_, nullptr); }
    // For out-parameters: releases what is held and returns the slot.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

// Owns a VARIANT; cleared on destruction.
class ScopedVariant {
  public:
    ScopedVariant() { VariantInit(&v_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    ~ScopedVariant() { VariantClear(&v_); }

    VARIANT& get() { return v_; }
    const VARIANT& get() const { return v_; }
    VARIANT* ptr() { return &v_; }

  private:
    VARIANT v_;
};

}  // namespace cq::win32
