// The stamp settings file read from arbitrary bytes, through the real line
// splitting and settings rules over the in-memory file. The first byte chooses
// how many bytes the splitter is handed at a time; the rest is the file, in any
// encoding.
//
// Properties: nothing crashes; the settings are always one of the four
// layouts with formats in {-1, 0, 1}; a picture in force is a trimmed,
// non-empty single line; the result does not depend on how the file was cut
// into pieces; an unchanged file is not read again.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "outlook/StampSettings.h"
#include "tests/doubles/StampWorld.h"

namespace cq {
namespace {

bool sameSettings(const StampSettings& a, const StampSettings& b) {
    return a.m_nDatePos == b.m_nDatePos && a.m_nTimePos == b.m_nTimePos &&
           a.m_nDateFormat == b.m_nDateFormat && a.m_nTimeFormat == b.m_nTimeFormat &&
           a.m_sDateFormat == b.m_sDateFormat && a.m_sTimeFormat == b.m_sTimeFormat;
}

bool validLayout(const StampSettings& s) {
    // date then time, date only, time only, time then date
    return (s.m_nDatePos == 1 && s.m_nTimePos == 2) || (s.m_nDatePos == 1 && s.m_nTimePos == 0) ||
           (s.m_nDatePos == 0 && s.m_nTimePos == 1) || (s.m_nDatePos == 2 && s.m_nTimePos == 1);
}

bool validFormat(std::int32_t kind, const std::string& picture) {
    if (kind < -1 || kind > 1) return false;
    if (kind != -1) return true;
    constexpr std::string_view kBlanks = " \t";
    return !picture.empty() && kBlanks.find(picture.front()) == std::string_view::npos &&
           kBlanks.find(picture.back()) == std::string_view::npos &&
           picture.find_first_of("\r\n") == std::string::npos;
}

StampSettings readSettings(std::string_view content, std::size_t pieceSize) {
    test::StampWorld world;
    world.file.write(std::string(content), 1);
    world.file.pieceSize = pieceSize;
    UpdateStampSettings();
    const StampSettings read = g_StampSettings;
    CQ_FUZZ_CHECK(world.file.reads == 1);
    CQ_FUZZ_CHECK(read.m_bLastWriteKnown);
    UpdateStampSettings();  // unchanged time: the cached settings, no read
    CQ_FUZZ_CHECK(world.file.reads == 1);
    CQ_FUZZ_CHECK(sameSettings(g_StampSettings, read));
    return read;
}

}  // namespace
}  // namespace cq

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cq;
    if (size == 0) return 0;
    const std::size_t pieceSize = data[0] % 17;  // 0: the whole file at once
    const std::string_view content(reinterpret_cast<const char*>(data + 1), size - 1);

    const StampSettings whole = readSettings(content, 0);
    CQ_FUZZ_CHECK(validLayout(whole));
    CQ_FUZZ_CHECK(validFormat(whole.m_nDateFormat, whole.m_sDateFormat));
    CQ_FUZZ_CHECK(validFormat(whole.m_nTimeFormat, whole.m_sTimeFormat));
    if (pieceSize != 0) CQ_FUZZ_CHECK(sameSettings(readSettings(content, pieceSize), whole));
    return 0;
}
