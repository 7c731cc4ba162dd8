// Stamp composition with arbitrary settings, locale pictures, rejected
// pictures and date-times, over the doubles of the stamp world.
//
// Properties: nothing crashes or escapes; the kind is 0..3, or untouched
// with one "mDatestamp::GetDatestamp" entry when the stamp failed; at most one
// error entry per rejected picture in one stamp; and the stamp is its parts
// joined: the date-only and time-only stamps of the same settings, with one
// space between them and none added at either end.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/Unicode.h"
#include "fuzz/FuzzCheck.h"
#include "outlook/SettingsText.h"
#include "outlook/StampSettings.h"
#include "outlook/mDatestamp.h"
#include "tests/doubles/StampWorld.h"

namespace cq {
namespace {

constexpr std::int32_t kUntouched = 42;

struct Stamp {
    std::string text;
    std::int32_t kind = kUntouched;
    int dateEntries = 0;
    int timeEntries = 0;
    int stampEntries = 0;
};

// One stamp at `at` with the settings file `content`, written at `time`.
Stamp stampOf(test::StampWorld& world, const std::string& content, std::uint32_t time,
              const DateTime& at) {
    world.file.write(content, time);
    world.lib.entries.clear();
    Stamp s;
    s.text = GetDatestamp(at, s.kind);
    for (const auto& e : world.lib.errors()) {
        if (e.source == "mDatestamp::GetDateFormat")
            ++s.dateEntries;
        else if (e.source == "mDatestamp::GetTimeFormat")
            ++s.timeEntries;
        else if (e.source == "mDatestamp::GetDatestamp")
            ++s.stampEntries;
        else
            CQ_FUZZ_CHECK(!"an error entry from elsewhere");
    }
    CQ_FUZZ_CHECK(s.dateEntries <= 1 && s.timeEntries <= 1 && s.stampEntries <= 1);
    if (s.kind == kUntouched) {
        CQ_FUZZ_CHECK(s.stampEntries == 1);
    } else {
        CQ_FUZZ_CHECK(s.kind >= kStampDateTime && s.kind <= kStampTimeDate);
        CQ_FUZZ_CHECK(s.stampEntries == 0);
    }
    return s;
}

bool blankEdge(const std::string& s) { return !s.empty() && (s.front() == ' ' || s.back() == ' '); }

// The file with one more line: its text as the reader decodes it (the
// in-memory file's ANSI code page is Latin-1), saved again as UTF-8 with a
// byte-order mark, so that the line is read whatever the file's encoding.
std::string withLine(const std::string& content, const char* line) {
    const auto latin1 = [](std::string_view bytes) {
        std::string out;
        for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
        return out;
    };
    return "\xEF\xBB\xBF" + DecodeSettingsText(content, latin1) + line;
}

}  // namespace
}  // namespace cq

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cq;
    FuzzedDataProvider in(data, size);
    test::StampWorld world;
    world.locale.shortDatePicture = in.ConsumeRandomLengthString(64);
    world.locale.longDatePicture = in.ConsumeRandomLengthString(64);
    world.locale.timePicture = in.ConsumeRandomLengthString(64);
    world.locale.timePictureReadable = in.ConsumeBool();
    const std::uint8_t rejects = in.ConsumeIntegral<std::uint8_t>();
    DateTime at;
    at.year = in.ConsumeIntegralInRange(1590, 30840);
    at.month = in.ConsumeIntegralInRange(0, 13);
    at.day = in.ConsumeIntegralInRange(0, 32);
    at.hour = in.ConsumeIntegralInRange(-1, 24);
    at.minute = in.ConsumeIntegralInRange(-1, 60);
    at.second = in.ConsumeIntegralInRange(-1, 60);
    const std::string content = in.ConsumeRemainingBytesAsString();

    // Learn the pictures the file names, to let the locale reject some of them.
    world.file.write(content, 1);
    UpdateStampSettings();
    if (rejects & 1) world.locale.rejected.insert(g_StampSettings.m_sDateFormat);
    if (rejects & 2) world.locale.rejected.insert(g_StampSettings.m_sTimeFormat);
    if (rejects & 4) world.locale.rejected.insert(world.locale.timePicture);

    const Stamp stamp = stampOf(world, content, 2, at);
    const Stamp date = stampOf(world, withLine(content, "\r\nformat=date\r\n"), 3, at);
    const Stamp time = stampOf(world, withLine(content, "\r\nformat=time\r\n"), 4, at);
    if (stamp.kind == kUntouched) return 0;

    // A stamp that could be made has parts that can be made on their own.
    if (stamp.kind != kStampTime) CQ_FUZZ_CHECK(date.kind == kStampDate);
    if (stamp.kind != kStampDate) CQ_FUZZ_CHECK(time.kind == kStampTime);
    switch (stamp.kind) {
        case kStampDateTime:
            CQ_FUZZ_CHECK(stamp.text == date.text + " " + time.text);
            break;
        case kStampTimeDate:
            CQ_FUZZ_CHECK(stamp.text == time.text + " " + date.text);
            break;
        case kStampDate:
            CQ_FUZZ_CHECK(stamp.text == date.text);
            break;
        case kStampTime:
            CQ_FUZZ_CHECK(stamp.text == time.text);
            break;
    }
    if (!date.text.empty() && !time.text.empty() && !blankEdge(date.text) &&
        !blankEdge(time.text)) {
        CQ_FUZZ_CHECK(!blankEdge(stamp.text));
    }
    return 0;
}
