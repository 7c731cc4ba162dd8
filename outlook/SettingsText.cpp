#include "outlook/SettingsText.h"

#include "common/Unicode.h"

namespace cq {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

}  // namespace

std::string DecodeSettingsText(std::string_view bytes, const AnsiDecoder& fromAnsi) {
    if (bytes.starts_with(kUtf8Bom)) {
        // Declared UTF-8 is taken as it is, as before: what is not well formed
        // reaches the pictures unchanged, as the rest of the add-in sees it.
        return std::string(bytes.substr(kUtf8Bom.size()));
    }
    if (bytes.starts_with(kUtf16LeBom))
        return Utf16BytesToUtf8(bytes.substr(2), ByteOrder::LittleEndian);
    if (bytes.starts_with(kUtf16BeBom))
        return Utf16BytesToUtf8(bytes.substr(2), ByteOrder::BigEndian);
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return fromAnsi(bytes);
}

}  // namespace cq
