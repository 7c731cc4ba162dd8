#include "tests/doubles/FakeOffice.h"

#include <algorithm>

#include "common/HostError.h"

namespace cq::test {

FakeObject& FakeOffice::make(const std::string& type) {
    objects_.push_back(std::make_unique<FakeObject>(*this, type));
    return *objects_.back();
}

int FakeOffice::liveReferences() const {
    int n = 0;
    for (const auto& o : objects_) n += o->refs();
    return n;
}

std::string FakeOffice::referenced() const {
    std::string out;
    for (const auto& o : objects_)
        if (o->refs() != 0) out += o->type() + " x" + std::to_string(o->refs()) + "; ";
    return out;
}

void FakeOffice::onCall(const FakeObject& target, std::string_view name, CallKind) {
    std::string what = target.type() + "." + std::string(name);
    if (recording) log.push_back(what);
    ++calls_;
    if (calls_ == failAt) {
        injected_ = true;
        throw HostError(failNumber, "Injected failure in " + what);
    }
    if (std::find(failing.begin(), failing.end(), what) != failing.end())
        throw HostError(failNumber, "Failure of " + what);
}

}  // namespace cq::test
