#pragma once
// The text of the stamp settings file, whatever encoding it was saved in:
// UTF-8 with a byte-order mark, UTF-16 (little or big endian) with a
// byte-order mark, UTF-8 without one when every byte of the file is
// well-formed UTF-8 (as today's Notepad saves), and otherwise the ANSI code
// page. Every file decodes to something; none is refused.

#include <functional>
#include <string>
#include <string_view>

namespace cq {

// Converts text in the ANSI code page to UTF-8.
using AnsiDecoder = std::function<std::string(std::string_view)>;

// The whole file's bytes as UTF-8, without its byte-order mark.
std::string DecodeSettingsText(std::string_view bytes, const AnsiDecoder& fromAnsi);

}  // namespace cq
