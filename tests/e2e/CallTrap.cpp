#include "tests/e2e/CallTrap.h"

#include <utility>

#include "common/win32/ComObject.h"
#include "common/win32/ComPtr.h"

namespace cq::test::e2e {
namespace {

constexpr WORD kInvokeSlot = 6;  // IUnknown's three, GetTypeInfoCount, GetTypeInfo, GetIDsOfNames
constexpr UINT kKilledExitCode = 9;

win32::ComPtr<IUnknown> identityOf(IUnknown* object) {
    win32::ComPtr<IUnknown> identity;
    if (object) object->QueryInterface(IID_IUnknown, identity.putVoid());
    return identity;
}

class TrapFilter final : public win32::ComObject<IMessageFilter> {
  public:
    TrapFilter(win32::ComPtr<IUnknown> target, std::function<void()> lastWords)
        : target_(std::move(target)), lastWords_(std::move(lastWords)) {}

    void chain(IMessageFilter* previous) { previous_ = previous; }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                               LPINTERFACEINFO info) override {
        if (info != nullptr && info->wMethod == kInvokeSlot && target_ &&
            identityOf(info->pUnk).get() == target_.get()) {
            if (lastWords_) lastWords_();
            TerminateProcess(GetCurrentProcess(), kKilledExitCode);
        }
        if (previous_) return previous_->HandleInComingCall(callType, caller, tickCount, info);
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                              DWORD rejectType) override {
        if (previous_) return previous_->RetryRejectedCall(callee, tickCount, rejectType);
        return static_cast<DWORD>(-1);  // cancel, as without a filter
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                           DWORD pendingType) override {
        if (previous_) return previous_->MessagePending(callee, tickCount, pendingType);
        return PENDINGMSG_WAITDEFPROCESS;
    }

  private:
    ~TrapFilter() override {
        if (previous_) previous_->Release();
    }

    win32::ComPtr<IUnknown> target_;
    std::function<void()> lastWords_;
    IMessageFilter* previous_ = nullptr;
};

}  // namespace

bool armCallTrap(IUnknown* object, std::function<void()> lastWords) {
    win32::ComPtr<IUnknown> target = identityOf(object);
    if (!target) return false;
    auto* filter = new TrapFilter(std::move(target), std::move(lastWords));
    IMessageFilter* previous = nullptr;
    const HRESULT hr = CoRegisterMessageFilter(filter, &previous);
    if (FAILED(hr)) {
        filter->Release();
        return false;
    }
    filter->chain(previous);  // the thread's filter now holds its own reference
    filter->Release();
    return true;
}

}  // namespace cq::test::e2e
