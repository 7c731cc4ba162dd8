#pragma once
// The caption and tooltip of the Word add-in's stamp controls: the "Tooltip"
// value that the Outlook add-in keeps under HKEY_CURRENT_USER
// "Software\Quintor\Inkwell".

#include <string>

namespace cq::word {

// The "Tooltip" value, or "Insert date and time" when it is missing, empty or
// cannot be read. Never throws.
std::string GetTooltip() noexcept;

}  // namespace cq::word
