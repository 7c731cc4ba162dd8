#pragma once
// Arguments crossing IDispatch::Invoke in either direction.
//
// DISPPARAMS hold the arguments in reverse order (rgvarg[0] is the last one);
// both classes here present them in call order. A by-reference argument
// travels as VT_BYREF: outgoing typed after its target's current value, the
// way a script passes a typed variable (text VT_BSTR, Boolean VT_BOOL, integer
// VT_I4, double VT_R8, object VT_DISPATCH, anything else VT_VARIANT).

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <vector>

#include "common/host/Variant.h"
#include "common/win32/ComVariant.h"

namespace cq::win32 {

// The arguments of a call this side makes.
class OutgoingArguments {
  public:
    explicit OutgoingArguments(std::span<Variant> args);
    OutgoingArguments(const OutgoingArguments&) = delete;
    OutgoingArguments& operator=(const OutgoingArguments&) = delete;

    // Valid while this object lives; a caller may add named arguments.
    DISPPARAMS& params() { return params_; }
    // After a successful call: assigns what the callee left in each
    // by-reference argument to that argument's target.
    void writeBack(ImportObject import = nullptr);

  private:
    // VT_EMPTY at first (zeroed); each one cleared at the end.
    struct Variants : std::vector<VARIANT> {
        using vector::vector;
        ~Variants() {
            for (auto& v : *this) VariantClear(&v);
        }
    };

    std::span<Variant> args_;
    Variants holders_;  // call order: the storage of by-reference arguments
    Variants passed_;   // reversed, as the callee sees them; by reference into holders_
    DISPPARAMS params_{};
};

// The arguments of a call this side receives.
class IncomingArguments {
  public:
    // Reads every argument of `params`; throws HostError when one cannot be
    // converted. Named arguments are the caller's concern.
    explicit IncomingArguments(const DISPPARAMS& params, ImportObject import = nullptr);
    IncomingArguments(const IncomingArguments&) = delete;
    IncomingArguments& operator=(const IncomingArguments&) = delete;

    // In call order; by-reference ones are Variant::ref to storage of this object.
    std::span<Variant> values() { return args_; }
    // Stores every by-reference argument that the callee changed back through
    // the caller's VARIANT.
    void writeBack();

  private:
    std::vector<Variant> received_;  // call order, values as received
    std::vector<Variant> store_;     // call order, the targets of by-reference arguments
    std::vector<Variant> args_;
    std::vector<VARIANT*> byRef_;
};

}  // namespace cq::win32
