#pragma once
// A value crossing the host boundary: empty, missing (an omitted optional
// argument), Boolean, 32-bit integer, double, text, or an object; or a
// reference to another Variant (a by-reference argument).

#include <cstdint>
#include <string>
#include <variant>

#include "common/host/Dispatch.h"

namespace cq {

class Variant {
  public:
    struct Empty {
        friend bool operator==(Empty, Empty) { return true; }
    };
    struct Missing {
        friend bool operator==(Missing, Missing) { return true; }
    };

    Variant() = default;
    Variant(bool v) : value_(v) {}
    Variant(std::int32_t v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(const char* v) : value_(std::string(v)) {}
    Variant(Dispatch v) : value_(std::move(v)) {}

    static Variant missing() {
        Variant v;
        v.value_ = Missing{};
        return v;
    }
    // A by-reference argument: the callee reads and writes `target`.
    static Variant ref(Variant& target) {
        Variant v;
        v.value_ = &target;
        return v;
    }

    bool isEmpty() const { return std::holds_alternative<Empty>(deref().value_); }
    bool isMissing() const { return std::holds_alternative<Missing>(deref().value_); }
    bool isRef() const { return std::holds_alternative<Variant*>(value_); }
    bool isBool() const { return std::holds_alternative<bool>(deref().value_); }
    bool isNumber() const;
    bool isInteger() const { return std::holds_alternative<std::int32_t>(deref().value_); }
    bool isString() const { return std::holds_alternative<std::string>(deref().value_); }
    bool isObject() const { return std::holds_alternative<Dispatch>(deref().value_); }

    // Conversions as a script would make them; a value that cannot be
    // converted throws HostError 13 "Type mismatch".
    bool toBool() const;
    std::int32_t toInt() const;
    double toDouble() const;
    std::string toString() const;
    // The object; Empty gives a null handle (Nothing).
    Dispatch toObject() const;

    // The Variant a by-reference argument refers to (itself otherwise).
    Variant& target() { return isRef() ? *std::get<Variant*>(value_) : *this; }
    const Variant& target() const { return deref(); }
    // Assigns through a by-reference argument.
    void assign(Variant v) { target() = std::move(v); }

    friend bool operator==(const Variant& a, const Variant& b) {
        return a.deref().value_ == b.deref().value_;
    }

  private:
    const Variant& deref() const { return isRef() ? *std::get<Variant*>(value_) : *this; }

    std::variant<Empty, Missing, bool, std::int32_t, double, std::string, Dispatch, Variant*>
        value_;
};

}  // namespace cq

namespace cq {

template <class... A>
Variant Dispatch::get(std::string_view name, A&&... args) const {
    Variant list[] = {Variant(std::forward<A>(args))..., Variant()};
    return invoke(name, CallKind::Get, std::span<Variant>(list, sizeof...(A)));
}

template <class V>
void Dispatch::put(std::string_view name, V&& value) const {
    Variant list[] = {Variant(std::forward<V>(value))};
    invoke(name, CallKind::Put, list);
}

template <class... A>
Variant Dispatch::call(std::string_view name, A&&... args) const {
    Variant list[] = {Variant(std::forward<A>(args))..., Variant()};
    return invoke(name, CallKind::Method, std::span<Variant>(list, sizeof...(A)));
}

}  // namespace cq
