#include "support/Win32AboutPlatform.h"

#include <ole2.h>
#include <oleidl.h>

#include "common/win32/ComPtr.h"
#include "common/win32/Text.h"
#include "support/AboutBox.h"

namespace cq::libquintor {
namespace {

HMODULE moduleOf(std::uintptr_t instance) { return reinterpret_cast<HMODULE>(instance); }

HWND ownerOf(const Dispatch& explorer) {
    if (auto* object = static_cast<IUnknown*>(explorer.rawInterface())) {
        win32::ComPtr<IOleWindow> window;
        HWND handle = nullptr;
        if (SUCCEEDED(object->QueryInterface(IID_IOleWindow, window.putVoid())) && window &&
            SUCCEEDED(window->GetWindow(&handle)) && handle != nullptr)
            return handle;
    }
    return GetActiveWindow();
}

}  // namespace

std::string Win32AboutPlatform::productName(std::uintptr_t instance) {
    return win32::fromWide(productNameOf(moduleOf(instance)));
}

void Win32AboutPlatform::showAbout(std::uintptr_t instance, const Dispatch& explorer) {
    AboutContent content;
    readAboutContent(moduleOf(instance), ids, content);
    if (!content.missing.empty()) {
        std::string list;
        for (const std::string& part : content.missing) list += (list.empty() ? "" : ", ") + part;
        logError("LibQuintor::AboutMenu_Click", ERROR_RESOURCE_NAME_NOT_FOUND,
                 "not shown, missing from the add-in's module: " + list);
    }
    showAboutBox(ownerOf(explorer), content);
}

void Win32AboutPlatform::logError(std::string_view source, std::int32_t number,
                                  const std::string& message) {
    if (log_) log_(source, number, message);
}

}  // namespace cq::libquintor
