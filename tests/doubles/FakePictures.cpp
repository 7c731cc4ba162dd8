#include "tests/doubles/FakePictures.h"

#include "common/HostError.h"

namespace cq::test {
namespace {

constexpr std::int32_t kResourceNotFound = 1814;  // ERROR_RESOURCE_NAME_NOT_FOUND

}  // namespace

FakePictures::FakePictures(FakeOffice& office) : resources(office.make("Resources")) {
    auto loader = [this, &office](const std::set<std::string>& names, const char* kind) {
        return [this, &office, &names, kind](std::span<Variant> args) -> Variant {
            std::string name = args.empty() ? "" : args[0].toString();
            if (!names.count(name))
                throw HostError(kResourceNotFound,
                                "The specified resource name cannot be found in the image file");
            FakeObject& picture = office.make("Picture");
            picture.set("Resource", name).set("Kind", kind).readOnly("Resource");
            ++loaded;
            return Variant(picture.handle());
        };
    };
    resources.method("bitmap", loader(bitmaps, "bitmap"));
    resources.method("icon", loader(icons, "icon"));
}

Dispatch FakePictures::bitmap(const std::string& name) {
    return resources.handle().call("bitmap", name).toObject();
}

Dispatch FakePictures::icon(const std::string& name) {
    return resources.handle().call("icon", name).toObject();
}

std::string FakePictures::resourceOf(const Dispatch& picture) {
    auto* p = dynamic_cast<FakeObject*>(picture.get());
    return p && p->type() == "Picture" ? p->value("Resource").toString() : std::string();
}

}  // namespace cq::test
