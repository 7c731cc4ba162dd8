#include "tests/e2e/HostOutput.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace cq::test::e2e {
namespace {

int g_complaints = 0;

// Lines end in LF alone, whatever the C runtime would make of them.
void binaryOutput() {
    static const bool done = [] {
        _setmode(_fileno(stdout), _O_BINARY);
        return true;
    }();
    (void)done;
}

}  // namespace

void say(const std::string& line) {
    binaryOutput();
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void complain(const std::string& line) {
    ++g_complaints;
    say("error: " + line);
}

int complaints() { return g_complaints; }

}  // namespace cq::test::e2e
