#pragma once
// The main program of a benchmark of the real DLLs: COM started on this
// thread (single-threaded apartment), `run` called, and what it throws
// printed as "<name>: <what>" on standard error (exit code 1).

namespace cq::bench {

int runInApartment(const char* name, int (*run)(int, char**), int argc, char** argv);

}  // namespace cq::bench
