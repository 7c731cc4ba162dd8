#include "common/win32/ComArguments.h"

#include <oleauto.h>

namespace cq::win32 {
namespace {

// Points `passed` at `holder` as a by-reference argument typed after what the
// holder holds.
void passByReference(VARIANT& holder, VARIANT& passed) {
    switch (holder.vt) {
        case VT_BSTR:
        case VT_BOOL:
        case VT_I4:
        case VT_R8:
        case VT_DISPATCH:
            passed.vt = VT_BYREF | holder.vt;
            passed.byref = &holder.lVal;  // the start of the value, whatever its type
            return;
        default:
            passed.vt = VT_BYREF | VT_VARIANT;
            passed.pvarVal = &holder;
    }
}

}  // namespace

OutgoingArguments::OutgoingArguments(std::span<Variant> args)
    : args_(args), holders_(args.size()), passed_(args.size()) {
    const size_t n = args.size();
    for (size_t i = 0; i < n; ++i) {
        VARIANT& passed = passed_[n - 1 - i];
        if (args[i].isRef()) {
            toVariant(args[i].target(), holders_[i]);
            passByReference(holders_[i], passed);
        } else {
            toVariant(args[i], passed);
        }
    }
    params_.cArgs = static_cast<UINT>(n);
    params_.rgvarg = passed_.data();
}

void OutgoingArguments::writeBack(ImportObject import) {
    for (size_t i = 0; i < args_.size(); ++i)
        if (args_[i].isRef()) args_[i].assign(fromVariant(holders_[i], import));
}

IncomingArguments::IncomingArguments(const DISPPARAMS& params, ImportObject import) {
    const size_t n = params.cArgs;
    received_.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const VARIANT& arg = params.rgvarg[n - 1 - i];
        received_.push_back(fromVariant(arg, import));
        byRef_.push_back((arg.vt & VT_BYREF) ? &params.rgvarg[n - 1 - i] : nullptr);
    }
    store_ = received_;
    args_.reserve(n);
    for (size_t i = 0; i < n; ++i) args_.push_back(byRef_[i] ? Variant::ref(store_[i]) : store_[i]);
}

void IncomingArguments::writeBack() {
    for (size_t i = 0; i < byRef_.size(); ++i)
        if (byRef_[i] && !(store_[i] == received_[i])) storeThrough(*byRef_[i], store_[i]);
}

}  // namespace cq::win32
