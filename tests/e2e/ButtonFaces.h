#pragma once
// The faces that add-ins give their command-bar buttons. The in-memory
// command bars keep only their own picture objects; a scripted host needs the
// real OLE pictures (IPictureDisp) that an add-in puts into Picture and Mask,
// to draw them. So every control that appears on the bars gets Picture and
// Mask setters that keep the picture, and a control that is deleted lets go
// of its pictures.
//
// It follows the bars through their onChange, chaining whatever was there.

#include <functional>
#include <map>

#include "common/host/Dispatch.h"
#include "tests/doubles/FakeCommandBars.h"

namespace cq::test::e2e {

class ButtonFaces {
  public:
    struct Face {
        Dispatch picture;
        Dispatch mask;
    };

    // `picturesSupported`: whether the bars take pictures at all (Office 2002
    // on); without them the bars' own refusal stays in place. `changed` runs
    // after every change to the bars.
    ButtonFaces(FakeCommandBars& bars, bool picturesSupported, std::function<void()> changed);
    // Lets go of every picture and gives the bars back their own behaviour.
    ~ButtonFaces();
    ButtonFaces(const ButtonFaces&) = delete;
    ButtonFaces& operator=(const ButtonFaces&) = delete;

    // The face given to `control`, or null.
    const Face* find(const FakeObject& control) const;
    // Releases every picture held (before the add-ins are unloaded).
    void clear();

    // The controls of a bar and of its popups, depth first.
    static void forEachControl(const FakeCommandBars& bars, FakeObject& bar,
                               const std::function<void(FakeObject& control, int depth)>& visit,
                               int depth = 0);

  private:
    void track();
    void hook(FakeObject& control);

    FakeCommandBars& bars_;
    bool picturesSupported_;
    std::function<void()> changed_;
    std::function<void()> previous_;
    std::map<const FakeObject*, Face> faces_;
    std::map<FakeObject*, bool> hooked_;
};

// The names of the bars that the scripted hosts show, in order.
inline constexpr const char* kShownBars[] = {"Menu Bar", "Standard"};

}  // namespace cq::test::e2e
