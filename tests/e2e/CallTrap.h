#pragma once
// Ends the scripted host's process abruptly, as if it had been killed, the
// moment another process's IDispatch::Invoke arrives for one chosen object:
// the caller's call is then in flight and never answered. A message filter of
// the host's user-interface thread (CoRegisterMessageFilter) sees the call
// before it is dispatched; every other call passes.

#include <windows.h>
#include <objidl.h>

#include <functional>

namespace cq::test::e2e {

// Arms the trap for `object` (any interface of it; compared by COM identity).
// `lastWords` runs just before the process ends.
// Returns false when the filter could not be registered.
bool armCallTrap(IUnknown* object, std::function<void()> lastWords);

}  // namespace cq::test::e2e
