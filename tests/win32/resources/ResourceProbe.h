#pragma once

// Reads back the resources linked into the running test program, the way Windows and the
// Office hosts load them.

#include <windows.h>
#include <olectl.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace cq::win32::probe {

inline HINSTANCE self() { return GetModuleHandleW(nullptr); }

struct BitmapShape {
    int width = 0, height = 0, bits = 0;
};

// Loaded as a DIB section, so that the bitmap keeps its own colour depth.
inline HBITMAP loadBitmap(const wchar_t* name) {
    return static_cast<HBITMAP>(LoadImageW(self(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

inline BitmapShape bitmapShape(const wchar_t* name) {
    const HBITMAP bitmap = loadBitmap(name);
    if (bitmap == nullptr) return {};
    DIBSECTION dib{};
    BitmapShape shape;
    if (GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib)
        shape = {dib.dsBm.bmWidth, dib.dsBm.bmHeight, dib.dsBm.bmBitsPixel};
    DeleteObject(bitmap);
    return shape;
}

// The pixels of a 24-bit bitmap resource as 0xRRGGBB, top row first; empty on failure.
inline std::vector<std::uint32_t> bitmapPixels(const wchar_t* name) {
    const HBITMAP bitmap = loadBitmap(name);
    if (bitmap == nullptr) return {};
    std::vector<std::uint32_t> pixels;
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBitsPixel == 24) {
        const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
        const bool bottomUp = dib.dsBmih.biHeight > 0;
        for (int y = 0; y < dib.dsBm.bmHeight; ++y) {
            const int row = bottomUp ? dib.dsBm.bmHeight - 1 - y : y;
            const std::uint8_t* p = bits + static_cast<std::size_t>(row) * dib.dsBm.bmWidthBytes;
            for (int x = 0; x < dib.dsBm.bmWidth; ++x, p += 3)
                pixels.push_back(std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0]);
        }
    }
    DeleteObject(bitmap);
    return pixels;
}

struct FaceAndMask {
    std::size_t pixels = 0;  // of the face, 0 when either bitmap did not load
    int drawn = 0;           // black in the mask
    int disagreeing = 0;     // mask neither black nor white, or not white exactly where silver
};

// Compares a toolbar face with its mask: the mask is white exactly where the face shows
// the button's silver (192, 192, 192), and black where the picture is drawn.
inline FaceAndMask compareFaceAndMask(const wchar_t* face, const wchar_t* mask) {
    const auto picture = bitmapPixels(face);
    const auto holes = bitmapPixels(mask);
    if (picture.empty() || picture.size() != holes.size()) return {};
    FaceAndMask result{picture.size()};
    for (std::size_t i = 0; i < picture.size(); ++i) {
        const bool silver = picture[i] == 0xC0C0C0;
        if (holes[i] == 0x000000) ++result.drawn;
        if (!(holes[i] == 0xFFFFFF && silver) && !(holes[i] == 0x000000 && !silver))
            ++result.disagreeing;
    }
    return result;
}

inline std::vector<std::uint8_t> resourceBytes(const wchar_t* name, const wchar_t* type) {
    const HRSRC info = FindResourceW(self(), name, type);
    if (info == nullptr) return {};
    const HGLOBAL loaded = LoadResource(self(), info);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (data == nullptr) return {};
    return {data, data + SizeofResource(self(), info)};
}

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved, type, count;
};
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

struct IconImage {
    GroupIconEntry entry{};     // as the icon group lists it
    BITMAPINFOHEADER header{};  // of the icon image itself
};

// The images that an icon group lists; empty when the group is missing.
inline std::vector<IconImage> iconGroup(const wchar_t* name) {
    const auto group = resourceBytes(name, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    if (group.size() < sizeof(GroupIconHeader)) return {};
    GroupIconHeader header;
    std::memcpy(&header, group.data(), sizeof header);
    std::vector<IconImage> images(header.count);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::size_t at = sizeof header + i * sizeof(GroupIconEntry);
        if (at + sizeof(GroupIconEntry) > group.size()) return {};
        std::memcpy(&images[i].entry, group.data() + at, sizeof(GroupIconEntry));
        const auto image = resourceBytes(MAKEINTRESOURCEW(images[i].entry.id),
                                         MAKEINTRESOURCEW(3));  // RT_ICON
        if (image.size() >= sizeof(BITMAPINFOHEADER))
            std::memcpy(&images[i].header, image.data(), sizeof(BITMAPINFOHEADER));
    }
    return images;
}

// Width of the icon that LoadImage makes from the group at the group's own size; 0 on failure.
inline int loadedIconWidth(const wchar_t* name) {
    const auto icon = static_cast<HICON>(LoadImageW(self(), name, IMAGE_ICON, 0, 0, 0));
    if (icon == nullptr) return 0;
    int width = 0;
    ICONINFO info{};
    if (GetIconInfo(icon, &info)) {
        BITMAP bitmap{};
        if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap))
            width = bitmap.bmWidth;
        if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
        if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    }
    DestroyIcon(icon);
    return width;
}

inline std::string string(UINT id) {
    char buffer[512] = {};
    const int length = LoadStringA(self(), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

// The picture type of the OLE picture object made from a bitmap or icon resource, as the
// add-ins hand it to Office; 0 when no picture could be made.
inline short pictureType(const wchar_t* name, bool icon) {
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    if (icon) {
        desc.picType = PICTYPE_ICON;
        desc.icon.hicon = static_cast<HICON>(LoadImageW(self(), name, IMAGE_ICON, 0, 0, 0));
        if (desc.icon.hicon == nullptr) return 0;
    } else {
        desc.picType = PICTYPE_BITMAP;
        desc.bmp.hbitmap = loadBitmap(name);
        if (desc.bmp.hbitmap == nullptr) return 0;
    }
    IPicture* picture = nullptr;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE,
                                        reinterpret_cast<void**>(&picture))))
        return 0;
    short type = 0;
    if (FAILED(picture->get_Type(&type))) type = 0;
    picture->Release();  // owns the handle and frees it
    return type;
}

struct ModuleVersion {
    DWORD fileMs = 0, fileLs = 0, productMs = 0, productLs = 0, fileType = 0;
    std::string value(const char* name) const {
        if (data.empty()) return {};
        char path[128];
        wsprintfA(path, "\\StringFileInfo\\%04x%04x\\%s", language, codePage, name);
        void* text = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(data.data(), path, &text, &length) || length == 0) return {};
        return std::string(static_cast<const char*>(text));
    }

    std::vector<std::uint8_t> data;
    WORD language = 0, codePage = 0;
};

// The version resource of the test program's own file, read as Explorer reads it.
inline ModuleVersion moduleVersion() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    ModuleVersion version;
    DWORD ignored = 0;
    version.data.resize(GetFileVersionInfoSizeW(path, &ignored));
    if (version.data.empty() ||
        !GetFileVersionInfoW(path, 0, static_cast<DWORD>(version.data.size()), version.data.data()))
        return {};
    void* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(version.data.data(), L"\\", &fixed, &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
        version.fileMs = info->dwFileVersionMS;
        version.fileLs = info->dwFileVersionLS;
        version.productMs = info->dwProductVersionMS;
        version.productLs = info->dwProductVersionLS;
        version.fileType = info->dwFileType;
    }
    void* translation = nullptr;
    if (VerQueryValueW(version.data.data(), L"\\VarFileInfo\\Translation", &translation, &length) &&
        length >= 4) {
        version.language = static_cast<const WORD*>(translation)[0];
        version.codePage = static_cast<const WORD*>(translation)[1];
    }
    return version;
}

}  // namespace cq::win32::probe
