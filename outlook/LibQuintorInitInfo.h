#pragma once
// The start-up record handed to the support library's LibQuintorInitEx: 60
// bytes, little-endian, Booleans 16-bit (0 false, -1 true).

#include <cstddef>
#include <cstdint>

namespace cq {

struct LibQuintorInitInfo {
    std::int32_t cbSize = 60;        //  0: size of the record
    std::int32_t lLogLevel = 0;      //  4: highest level the library keeps
    void* oHost = nullptr;           //  8: the host's Application (a COM reference)
    std::int32_t lProductId = 0;     // 12
    std::int32_t lVersionMajor = 0;  // 16
    std::int32_t lVersionMinor = 0;  // 20
    std::int32_t lVersionBuild = 0;  // 24
    std::int16_t bAboutMenu = 0;     // 28: add the about menu to explorer windows
    std::uint16_t pad30 = 0;
    std::int32_t lUrlStringId = 0;    // 32: string resource with the product's web address
    std::int32_t lMakerStringId = 0;  // 36: string resource with the maker's name
    std::int32_t lNameStringId = 0;   // 40: string resource with the product's short name
    std::int16_t nLanguage = 0;       // 44
    std::uint16_t pad46 = 0;
    std::int32_t lMaxLogKb = 0;   // 48: size at which the log file is started anew
    std::int16_t bLogToFile = 0;  // 52
    std::uint16_t pad54 = 0;
    std::uint32_t pszLogName = 0;  // 56: address of a log file name, 0 for the default
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(LibQuintorInitInfo) == 60);
static_assert(offsetof(LibQuintorInitInfo, lLogLevel) == 4);
static_assert(offsetof(LibQuintorInitInfo, oHost) == 8);
static_assert(offsetof(LibQuintorInitInfo, lProductId) == 12);
static_assert(offsetof(LibQuintorInitInfo, lVersionBuild) == 24);
static_assert(offsetof(LibQuintorInitInfo, bAboutMenu) == 28);
static_assert(offsetof(LibQuintorInitInfo, lUrlStringId) == 32);
static_assert(offsetof(LibQuintorInitInfo, lNameStringId) == 40);
static_assert(offsetof(LibQuintorInitInfo, nLanguage) == 44);
static_assert(offsetof(LibQuintorInitInfo, lMaxLogKb) == 48);
static_assert(offsetof(LibQuintorInitInfo, bLogToFile) == 52);
static_assert(offsetof(LibQuintorInitInfo, pszLogName) == 56);
#endif

}  // namespace cq
