#pragma once
// Text at the Windows edge: UTF-8 inside, UTF-16 at COM and the wide APIs,
// the ANSI code page at the ...A functions.

#include <wtypes.h>

#include <string>
#include <string_view>

namespace cq::win32 {

std::wstring toWide(std::string_view utf8);
std::string fromWide(std::wstring_view wide);
std::string toAnsi(std::string_view utf8);
std::string fromAnsi(std::string_view ansi);

// A new BSTR of `utf8`, owned by the caller; throws std::bad_alloc.
BSTR toBstr(std::string_view utf8);
// The text of `b`, all of its length; a null BSTR is empty text.
std::string fromBstr(BSTR b);

}  // namespace cq::win32
