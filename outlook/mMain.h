#pragma once
// Module mMain of the Outlook add-in: the host reference, the host's major
// version, the texts that name a stamp kind, and the "Tooltip" registry value
// through which the Word add-in learns the current stamp order.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/AddInContract.h"
#include "common/host/Dispatch.h"

namespace cq {

// The host (Outlook's Application) from connection to disconnection; empty
// while the add-in is inert.
extern Dispatch g_oOutlook;
// The host's major version once it has been read; 0 until then.
extern std::int32_t g_lOutlookVersion;

// 9 for Outlook 2000, 10 for 2002, 11 for 2003, 12 for 2007, 14 for 2010,
// 15 for 2013, 16 for 2016 to Microsoft 365; 0 when the version cannot be read
// (then the host is asked again next time). Never throws.
std::int32_t GetOutlookVersion() noexcept;

// "Insert date", "Insert time", "Insert time and date", and for 0 or any
// other kind "Insert date and time".
std::string GetStampTooltip(std::int32_t lKind);
// "Date", "Time", "Time Date", otherwise "Date Time".
std::string GetStampLabel(std::int32_t lKind);

// Writes the "Tooltip" value (creating the key when missing). Failures are
// ignored.
void SaveTooltip(const std::string& sText) noexcept;

}  // namespace cq
