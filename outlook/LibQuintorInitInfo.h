#pragma once
// The start-up record handed to the support library's LibQuintorInitEx,
// little-endian, Booleans 16-bit (0 false, -1 true). Its first field holds its
// size, which tells a library which of the two layouts it was given:
//
//   32-bit build: 60 bytes               64-bit build: 72 bytes
//   offset width  field                  offset width  field
//     0    4      cbSize = 60              0    4      cbSize = 72
//     4    4      lLogLevel                4    4      lLogLevel
//     8    4      oHost (COM reference)    8    8      oHost (COM reference)
//    12    4      lProductId              16    4      lProductId
//    16    4      lVersionMajor           20    4      lVersionMajor
//    20    4      lVersionMinor           24    4      lVersionMinor
//    24    4      lVersionBuild           28    4      lVersionBuild
//    28    2      bAboutMenu              32    2      bAboutMenu
//    30    2      zero                    34    2      zero
//    32    4      lUrlStringId            36    4      lUrlStringId
//    36    4      lMakerStringId          40    4      lMakerStringId
//    40    4      lNameStringId           44    4      lNameStringId
//    44    2      nLanguage               48    2      nLanguage
//    46    2      zero                    50    2      zero
//    48    4      lMaxLogKb               52    4      lMaxLogKb
//    52    2      bLogToFile              56    2      bLogToFile
//    54    2      zero                    58    2      zero
//                                         60    4      zero (aligns the address)
//    56    4      pszLogName (address)    64    8      pszLogName (address)
//
// The 64-bit record is the natural layout of the same fields: the host
// reference and the address pointer-sized, every other field as in the 32-bit
// table. A library refuses a size it does not know with a nonzero result.

#include <cstddef>
#include <cstdint>

namespace cq {

struct LibQuintorInitInfo {
    std::int32_t cbSize = 0;     // size of the record, see kLibQuintorInitInfoSize
    std::int32_t lLogLevel = 0;  // highest level the library keeps
    void* oHost = nullptr;       // the host's Application (a COM reference)
    std::int32_t lProductId = 0;
    std::int32_t lVersionMajor = 0;
    std::int32_t lVersionMinor = 0;
    std::int32_t lVersionBuild = 0;
    std::int16_t bAboutMenu = 0;  // add the about menu to explorer windows
    std::uint16_t pad1 = 0;
    std::int32_t lUrlStringId = 0;    // string resource with the product's web address
    std::int32_t lMakerStringId = 0;  // string resource with the maker's name
    std::int32_t lNameStringId = 0;   // string resource with the product's short name
    std::int16_t nLanguage = 0;
    std::uint16_t pad2 = 0;
    std::int32_t lMaxLogKb = 0;  // size at which the log file is started anew
    std::int16_t bLogToFile = 0;
    std::uint16_t pad3 = 0;
    const char* pszLogName = nullptr;  // a log file name (ANSI), null for the default
};

// The size that this build's record carries in cbSize: 60 in a 32-bit build,
// 72 in a 64-bit one.
inline constexpr std::int32_t kLibQuintorInitInfoSize = sizeof(LibQuintorInitInfo);

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
#elif defined(_WIN64)
static_assert(sizeof(LibQuintorInitInfo) == 72);
static_assert(offsetof(LibQuintorInitInfo, lLogLevel) == 4);
static_assert(offsetof(LibQuintorInitInfo, oHost) == 8);
static_assert(offsetof(LibQuintorInitInfo, lProductId) == 16);
static_assert(offsetof(LibQuintorInitInfo, lVersionBuild) == 28);
static_assert(offsetof(LibQuintorInitInfo, bAboutMenu) == 32);
static_assert(offsetof(LibQuintorInitInfo, lUrlStringId) == 36);
static_assert(offsetof(LibQuintorInitInfo, lNameStringId) == 44);
static_assert(offsetof(LibQuintorInitInfo, nLanguage) == 48);
static_assert(offsetof(LibQuintorInitInfo, lMaxLogKb) == 52);
static_assert(offsetof(LibQuintorInitInfo, bLogToFile) == 56);
static_assert(offsetof(LibQuintorInitInfo, pszLogName) == 64);
#endif

}  // namespace cq
