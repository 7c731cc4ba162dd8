#pragma once
// What a scripted host prints: one line per result on standard output,
// flushed at once (the tests read the file it is redirected to), and a count
// of the failed commands, which becomes the exit code.

#include <string>

namespace cq::test::e2e {

void say(const std::string& line);
// "error: <line>", counted.
void complain(const std::string& line);
int complaints();

}  // namespace cq::test::e2e
