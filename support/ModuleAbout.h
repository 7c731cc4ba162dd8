#pragma once
// What the About window shows, read from the module whose instance handle the
// library was given (the add-in's DLL), never from the library's own: the
// product name and file version from its version resource, the maker, the
// short name and the web address from its string table, and its LOGO_ABOUT
// bitmap.

#include <windows.h>

#include <string>
#include <vector>

namespace cq::libquintor {

// The string resources to show; the start-up record may name others.
struct AboutStringIds {
    UINT web = 601;
    UINT maker = 602;
    UINT shortName = 603;
};

struct AboutContent {
    AboutContent() = default;
    ~AboutContent();
    AboutContent(const AboutContent&) = delete;
    AboutContent& operator=(const AboutContent&) = delete;

    std::wstring product;  // "Chronoquill"
    std::wstring version;  // "1.0.1", the revision only when it is not 0
    std::wstring maker;
    std::wstring shortName;
    std::wstring web;
    HBITMAP logo = nullptr;  // 24 bits per pixel, owned
    // The resources not found, for the log ("LOGO_ABOUT", "string 601", ...).
    std::vector<std::string> missing;
};

// The product name of `module`: ProductName of its version resource, else its
// file name without the extension. Throws HostError when the module is unknown.
std::wstring productNameOf(HMODULE module);

// Everything the About window shows; what is missing stays empty and is
// listed. Throws HostError when the module is unknown.
void readAboutContent(HMODULE module, const AboutStringIds& ids, AboutContent& content);

}  // namespace cq::libquintor
