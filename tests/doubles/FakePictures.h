#pragma once
// The picture port in memory: every load goes through a "Resources" object of
// the in-memory Office (calls "Resources.bitmap" and "Resources.icon", so a
// test can make them fail) and hands out a new "Picture" object, whose
// "Resource" is the resource's name, with one counted reference.

#include <set>
#include <string>

#include "common/Pictures.h"
#include "tests/doubles/FakeOffice.h"

namespace cq::test {

class FakePictures : public Pictures {
  public:
    explicit FakePictures(FakeOffice& office);

    Dispatch bitmap(const std::string& name) override;
    Dispatch icon(const std::string& name) override;

    // The resource a picture was made from ("" when it is no picture of ours).
    static std::string resourceOf(const Dispatch& picture);

    // The resources the module holds.
    std::set<std::string> bitmaps{"BTNMAIN",       "BTNMAINMASK", "BTN_MAIN",
                                  "BTN_MAIN_MASK", "LOGO",        "LOGO_ABOUT"};
    std::set<std::string> icons{"MAIN_ICON32", "MAIN_ICON"};
    FakeObject& resources;
    int loaded = 0;
};

}  // namespace cq::test
