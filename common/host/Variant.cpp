#include "common/host/Variant.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "common/HostError.h"

namespace cq {
namespace {

[[noreturn]] void mismatch() { throw HostError(13, "Type mismatch"); }

std::string trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

bool Variant::isNumber() const {
    const auto& v = deref().value_;
    return std::holds_alternative<std::int32_t>(v) || std::holds_alternative<double>(v);
}

double Variant::toDouble() const {
    const auto& v = deref().value_;
    if (std::holds_alternative<Empty>(v)) return 0;
    if (auto b = std::get_if<bool>(&v)) return *b ? -1 : 0;
    if (auto i = std::get_if<std::int32_t>(&v)) return *i;
    if (auto d = std::get_if<double>(&v)) return *d;
    if (auto s = std::get_if<std::string>(&v)) {
        std::string t = trimmed(*s);
        double d = 0;
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
        if (t.empty() || ec != std::errc() || end != t.data() + t.size()) mismatch();
        return d;
    }
    mismatch();
}

std::int32_t Variant::toInt() const {
    double d = std::nearbyint(toDouble());
    if (!(d >= std::numeric_limits<std::int32_t>::min() &&
          d <= std::numeric_limits<std::int32_t>::max()))
        throw HostError(6, "Overflow");
    return static_cast<std::int32_t>(d);
}

bool Variant::toBool() const {
    const auto& v = deref().value_;
    if (auto b = std::get_if<bool>(&v)) return *b;
    if (auto s = std::get_if<std::string>(&v)) {
        std::string t = trimmed(*s);
        for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (t == "true") return true;
        if (t == "false") return false;
    }
    return toDouble() != 0;
}

std::string Variant::toString() const {
    const auto& v = deref().value_;
    if (std::holds_alternative<Empty>(v)) return {};
    if (auto s = std::get_if<std::string>(&v)) return *s;
    if (auto b = std::get_if<bool>(&v)) return *b ? "True" : "False";
    if (auto i = std::get_if<std::int32_t>(&v)) return std::to_string(*i);
    if (auto d = std::get_if<double>(&v)) {
        char buf[32];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, *d);
        return ec == std::errc() ? std::string(buf, end) : std::string();
    }
    mismatch();
}

Dispatch Variant::toObject() const {
    const auto& v = deref().value_;
    if (std::holds_alternative<Empty>(v)) return {};
    if (auto o = std::get_if<Dispatch>(&v)) return *o;
    mismatch();
}

}  // namespace cq
