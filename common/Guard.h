#pragma once
// "A failing step is skipped": guard(step) runs one step and swallows whatever
// it throws, so that the next step runs. Returns whether the step succeeded.

#include <utility>

namespace cq {

template <class Step>
bool guard(Step&& step) noexcept {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace cq
