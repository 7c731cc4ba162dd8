// Dates in the registry: arbitrary bytes as the stored text of a date value,
// read by the date parser and by CWinReg over the in-memory registry.
//
// Properties: nothing crashes; CWinReg::ReadDate gives the parsed date, or
// the default when the text is no date; a parsed date is a real calendar
// date and time within the allowed years, and it formats and parses back to
// itself, also when written with WriteDate and read with ReadDate.

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/CWinReg.h"
#include "common/Port.h"
#include "common/RegistryDate.h"
#include "fuzz/FuzzCheck.h"
#include "tests/doubles/MemoryRegistry.h"

namespace {

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool realDate(const cq::DateTime& v) {
    constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (v.year < cq::kRegistryDateMinYear || v.year > cq::kRegistryDateMaxYear) return false;
    if (v.month < 1 || v.month > 12) return false;
    const int days = v.month == 2 && leap(v.year) ? 29 : kDaysIn[v.month - 1];
    return v.day >= 1 && v.day <= days && v.hour >= 0 && v.hour <= 23 && v.minute >= 0 &&
           v.minute <= 59 && v.second >= 0 && v.second <= 59;
}

// No parse gives year 0.
constexpr cq::DateTime kDefault{0, 1, 2, 3, 4, 5};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cq;
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::optional<DateTime> parsed = parseRegistryDate(text);
    if (parsed) {
        CQ_FUZZ_CHECK(realDate(*parsed));
        const std::string again = formatRegistryDate(*parsed);
        CQ_FUZZ_CHECK(again.size() == 19);
        CQ_FUZZ_CHECK(parseRegistryDate(again) == parsed);
    }

    MemoryRegistry registry;
    ScopedPort<Registry> port{registry};
    CWinReg key;
    CQ_FUZZ_CHECK(key.InitForWrite(CWinReg::HKeyCurrentUser(), "Software\\Quintor\\Fuzz", true));
    CQ_FUZZ_CHECK(key.WriteString("Date", text));
    CQ_FUZZ_CHECK(key.ReadDate("Date", kDefault) == parsed.value_or(kDefault));
    if (parsed) {
        CQ_FUZZ_CHECK(key.WriteDate("Stamp", *parsed));
        CQ_FUZZ_CHECK(key.ReadString("Stamp") == formatRegistryDate(*parsed));
        CQ_FUZZ_CHECK(key.ReadDate("Stamp", kDefault) == *parsed);
    }
    CQ_FUZZ_CHECK(key.CloseKey());
    CQ_FUZZ_CHECK(registry.openHandles() == 0);
    return 0;
}
