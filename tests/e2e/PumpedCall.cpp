#include "tests/e2e/PumpedCall.h"

#include "common/HostError.h"

namespace cq::test::e2e {
namespace {

constexpr wchar_t kClassName[] = L"ChronoquillPumpedCall";
constexpr UINT kRunPosted = WM_APP + 1;

}  // namespace

PumpedCall::PumpedCall() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    if (window_ == nullptr)
        throw HostError(static_cast<std::int32_t>(GetLastError()), "no message window");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PumpedCall::~PumpedCall() { DestroyWindow(window_); }

void PumpedCall::post(std::function<void()> call) {
    calls_.push_back(std::move(call));
    PostMessageW(window_, kRunPosted, 0, 0);
}

void PumpedCall::runPosted() {
    std::vector<std::function<void()>> calls = std::move(calls_);
    calls_.clear();
    for (auto& call : calls) call();
}

LRESULT CALLBACK PumpedCall::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunPosted) {
        if (auto* self = reinterpret_cast<PumpedCall*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            self->runPosted();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace cq::test::e2e
