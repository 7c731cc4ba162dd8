#pragma once
// The Outlook add-in's log procedures: every diagnostic entry goes to the
// support library through g_oLib.

#include <cstdint>
#include <optional>
#include <string>

#include "common/HostError.h"

namespace cq {

// A debug entry (kind 1): LogMsg(message, 0, source, 1, level).
void dbgLog(const std::string& source, const std::string& message, std::int32_t level);

// An error entry (kind 3, level 1) for `failure`, the failure being handled.
// `number` -1 takes the failure's number; no `description` takes the failure's
// description; `extra`, when given, is appended after "; ". A failure with a
// source line n makes the source "source(n)".
void errLog(const std::string& source, const HostError& failure, std::int32_t number = -1,
            std::optional<std::string> description = std::nullopt,
            std::optional<std::string> extra = std::nullopt);

// An error entry with no failure being handled.
void errLog(const std::string& source, std::int32_t number, const std::string& description,
            std::optional<std::string> extra = std::nullopt);

}  // namespace cq
