#include "common/win32/Win32Pictures.h"

#include <ole2.h>
#include <olectl.h>

#include "common/HostError.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComError.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

// The bitmap or icon resource `name` as a picture object, which owns its
// handle. An icon keeps the size of its group's first image.
Dispatch loadPicture(HMODULE module, const std::string& name, bool icon) {
    const std::wstring wide = toWide(name);
    HANDLE handle = LoadImageW(module, wide.c_str(), icon ? IMAGE_ICON : IMAGE_BITMAP, 0, 0,
                               icon ? 0 : LR_CREATEDIBSECTION);
    if (handle == nullptr) {
        const DWORD error = GetLastError();
        throw HostError(static_cast<std::int32_t>(
                            HRESULT_FROM_WIN32(error ? error : ERROR_RESOURCE_NAME_NOT_FOUND)),
                        (icon ? "Icon \"" : "Bitmap \"") + name + "\" could not be loaded");
    }
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = icon ? PICTYPE_ICON : PICTYPE_BITMAP;
    if (icon)
        desc.icon.hicon = static_cast<HICON>(handle);
    else
        desc.bmp.hbitmap = static_cast<HBITMAP>(handle);
    IPictureDisp* picture = nullptr;
    const HRESULT hr =
        OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(&picture));
    if (FAILED(hr) || picture == nullptr) {
        if (icon)
            DestroyIcon(static_cast<HICON>(handle));
        else
            DeleteObject(handle);
        throw comError(FAILED(hr) ? hr : E_POINTER);
    }
    return adoptDispatch(picture);
}

}  // namespace

Dispatch Win32Pictures::bitmap(const std::string& name) {
    return loadPicture(module_, name, false);
}

Dispatch Win32Pictures::icon(const std::string& name) { return loadPicture(module_, name, true); }

}  // namespace cq::win32
