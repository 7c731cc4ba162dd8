#include "tests/doubles/FakeObject.h"

#include <algorithm>
#include <cctype>

#include "common/HostError.h"
#include "tests/doubles/FakeOffice.h"

namespace cq::test {

class FakeSubscription : public Subscription {
  public:
    FakeSubscription(FakeObject& source, int id)
        : source_(source.handle()), object_(source), id_(id) {}
    ~FakeSubscription() override {
        auto& sinks = object_.sinks_;
        sinks.erase(std::remove_if(sinks.begin(), sinks.end(),
                                   [&](const FakeObject::Sink& s) { return s.id == id_; }),
                    sinks.end());
    }

  private:
    Dispatch source_;  // a subscription keeps its source alive, as a connection point does
    FakeObject& object_;
    int id_;
};

std::string FakeObject::key(std::string_view name) {
    std::string k(name);
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

Variant FakeObject::invoke(std::string_view name, CallKind kind, std::span<Variant> args) {
    office_.onCall(*this, name, kind);
    const std::string k = key(name);
    if (kind == CallKind::Put) {
        if (args.empty()) throw HostError(449, "Argument not optional");
        if (auto s = setters_.find(k); s != setters_.end()) {
            s->second(args.back().target());
            return {};
        }
        if (readOnly_.count(k)) throw HostError(-2147352567, "Property is read-only");
        const Variant& v = args.back().target();
        if (auto o = objects_.find(k); o != objects_.end() || v.isObject()) {
            Dispatch d = v.toObject();
            if (d && d.get() != nullptr && dynamic_cast<FakeObject*>(d.get())) {
                objects_[k] = static_cast<FakeObject*>(d.get());
                return {};
            }
            objects_.erase(k);
        }
        values_[k] = v;
        return {};
    }
    if (kind == CallKind::Method) {
        if (auto m = methods_.find(k); m != methods_.end()) return m->second(args);
    }
    if (auto g = getters_.find(k); g != getters_.end()) return g->second(args);
    if (auto o = objects_.find(k); o != objects_.end())
        return o->second ? Variant(o->second->handle()) : Variant();
    if (auto v = values_.find(k); v != values_.end()) return v->second;
    throw HostError(
        438, "Object doesn't support this property or method: " + type_ + "." + std::string(name));
}

Subscription* FakeObject::advise(std::string_view eventIid, EventSink& sink) {
    office_.onCall(*this, "advise", CallKind::Method);
    int id = nextSink_++;
    sinks_.push_back({id, std::string(eventIid), &sink});
    return new FakeSubscription(*this, id);
}

FakeObject& FakeObject::set(const std::string& name, Variant value) {
    values_[key(name)] = std::move(value);
    return *this;
}

FakeObject& FakeObject::setObject(const std::string& name, FakeObject* object) {
    objects_[key(name)] = object;
    return *this;
}

FakeObject& FakeObject::getter(const std::string& name, Member fn) {
    getters_[key(name)] = std::move(fn);
    return *this;
}

FakeObject& FakeObject::method(const std::string& name, Member fn) {
    methods_[key(name)] = std::move(fn);
    return *this;
}

FakeObject& FakeObject::setter(const std::string& name, Setter fn) {
    setters_[key(name)] = std::move(fn);
    return *this;
}

FakeObject& FakeObject::readOnly(const std::string& name) {
    readOnly_[key(name)] = true;
    return *this;
}

Variant FakeObject::value(const std::string& name) const {
    auto v = values_.find(key(name));
    return v == values_.end() ? Variant() : v->second;
}

FakeObject* FakeObject::object(const std::string& name) const {
    auto o = objects_.find(key(name));
    return o == objects_.end() ? nullptr : o->second;
}

void FakeObject::fire(std::string_view eventIid, std::string_view name, std::span<Variant> args) {
    // A handler may end its own or another subscription: walk a snapshot and
    // skip the sinks that are gone by the time their turn comes.
    std::vector<int> ids;
    for (const auto& s : sinks_)
        if (key(s.iid) == key(eventIid)) ids.push_back(s.id);
    for (int id : ids) {
        auto it =
            std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.id == id; });
        if (it != sinks_.end()) it->sink->onEvent(name, args);
    }
}

int FakeObject::subscribers(std::string_view eventIid) const {
    return static_cast<int>(std::count_if(
        sinks_.begin(), sinks_.end(), [&](const Sink& s) { return key(s.iid) == key(eventIid); }));
}

}  // namespace cq::test
