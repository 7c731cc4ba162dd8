#pragma once
// The error path of a trapped procedure: called inside a catch block, writes
// one error entry through errLog for the failure being handled, with its
// number and description, under `source`. Never throws.

namespace cq {

void errLogPending(const char* source) noexcept;

}  // namespace cq
