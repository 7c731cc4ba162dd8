#include "common/win32/Win32Pictures.h"

#include <ole2.h>
#include <olectl.h>

#include "common/HostError.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComError.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

HANDLE loadResource(HMODULE module, const std::string& name, UINT type, UINT flags) {
    const std::wstring wide = toWide(name);
    HANDLE handle = LoadImageW(module, wide.c_str(), type, 0, 0, flags);
    if (handle == nullptr) {
        const DWORD error = GetLastError();
        throw HostError(
            static_cast<std::int32_t>(
                HRESULT_FROM_WIN32(error ? error : ERROR_RESOURCE_NAME_NOT_FOUND)),
            (type == IMAGE_BITMAP ? "Bitmap \"" : "Icon \"") + name + "\" could not be loaded");
    }
    return handle;
}

// Wraps `desc`'s handle, which the picture then owns; on failure it is freed here.
Dispatch makePicture(PICTDESC& desc, HANDLE handle) {
    IPictureDisp* picture = nullptr;
    const HRESULT hr =
        OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(&picture));
    if (FAILED(hr) || picture == nullptr) {
        if (desc.picType == PICTYPE_ICON)
            DestroyIcon(static_cast<HICON>(handle));
        else
            DeleteObject(handle);
        throw comError(FAILED(hr) ? hr : E_POINTER);
    }
    return adoptDispatch(picture);
}

}  // namespace

Dispatch Win32Pictures::bitmap(const std::string& name) {
    HANDLE handle = loadResource(module_, name, IMAGE_BITMAP, LR_CREATEDIBSECTION);
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = static_cast<HBITMAP>(handle);
    return makePicture(desc, handle);
}

Dispatch Win32Pictures::icon(const std::string& name) {
    // Without a size the icon keeps the size of the group's first image.
    HANDLE handle = loadResource(module_, name, IMAGE_ICON, 0);
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = static_cast<HICON>(handle);
    return makePicture(desc, handle);
}

}  // namespace cq::win32
