#pragma once
// Calls a member of a COM object by name the way Office calls an add-in's
// ribbon callbacks: IDispatch::GetIDsOfNames for the name, then Invoke with
// DISPATCH_METHOD and the arguments reversed into DISPPARAMS. Host objects
// among the arguments cross as their exported COM objects.

#include <oaidl.h>

#include <span>
#include <string>

#include "common/host/Variant.h"

namespace cq::test::e2e {

// The result; throws cq::HostError when the name is unknown or the call fails.
Variant callByName(IDispatch* object, const std::string& name, std::span<Variant> args);

}  // namespace cq::test::e2e
