#pragma once
// Paths of the benchmark programs: the build's paths in Windows form, and the
// folder of the running program.

#include <string>

namespace cq::bench {

// A path given with forward slashes (as the build writes it) in Windows form.
std::wstring windowsPath(const char* path);

// The folder of this program's executable, without a trailing backslash.
std::wstring programFolder();

}  // namespace cq::bench
