#pragma once
// The command line of the stamp preview program:
//   chronoquill-stamp [--kind] [--at YYYY-MM-DDTHH:MM:SS]

#include <optional>
#include <string>
#include <vector>

#include "common/DateTime.h"

namespace cq {

struct StampArgs {
    bool kind = false;           // print the kind and a TAB before the stamp
    std::optional<DateTime> at;  // the moment to stamp; none: now
};

inline constexpr const char* kStampUsage =
    "usage: chronoquill-stamp [--kind] [--at YYYY-MM-DDTHH:MM:SS]";

// The arguments after the program name; nothing when they are not valid.
std::optional<StampArgs> parseStampArgs(const std::vector<std::string>& args);

// A local date-time written YYYY-MM-DDTHH:MM:SS that names a real moment
// (years 1601 to 9999); nothing otherwise.
std::optional<DateTime> parseMoment(const std::string& text);

}  // namespace cq
