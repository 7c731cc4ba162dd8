#pragma once
// Text at the Windows edge: UTF-8 inside, UTF-16 at COM and the wide APIs,
// the ANSI code page at the ...A functions.

#include <string>
#include <string_view>

namespace cq::win32 {

std::wstring toWide(std::string_view utf8);
std::string fromWide(std::wstring_view wide);
std::string toAnsi(std::string_view utf8);
std::string fromAnsi(std::string_view ansi);

}  // namespace cq::win32
