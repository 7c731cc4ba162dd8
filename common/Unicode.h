#pragma once
// UTF-8 and UTF-16 without the platform: validation, lengths and conversion.
// Texts are UTF-8 inside the add-ins; these serve the places where another
// encoding comes in (a settings file saved as UTF-16) or where a length is
// counted in UTF-16 units (the buffers of the wide-character functions).

#include <cstddef>
#include <string>
#include <string_view>

namespace cq {

// Whether `bytes` is well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view bytes);

// The number of UTF-16 units that the UTF-8 text needs (a character above
// U+FFFF counts two). A malformed sequence counts as one unit per byte, as the
// replacement characters a conversion would put in its place.
std::size_t Utf16Length(std::string_view utf8);

enum class ByteOrder { LittleEndian, BigEndian };

// UTF-16 given as bytes in `order`, as UTF-8. An unpaired surrogate and an odd
// last byte each become U+FFFD.
std::string Utf16BytesToUtf8(std::string_view bytes, ByteOrder order);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace cq
