// scripted-word.exe: a Word 2000-2003 stand-in that loads the real Word
// add-ins and is driven by a script (see WordHost.h):
//   scripted-word.exe --version 11 "new mail" "click-button Chronoquill4Wbtn3" print-editor
// Results go to standard output; redirect it to a file.

#include <windows.h>
#include <objbase.h>

#include <memory>

#include "tests/e2e/HostOutput.h"
#include "tests/e2e/WordHost.h"

int main() {
    using namespace cq::test::e2e;
    if (FAILED(OleInitialize(nullptr))) {
        complain("OleInitialize failed");
        return 1;
    }
    int failures = 0;
    {
        auto host = std::make_unique<WordHost>(parseHostOptions());
        try {
            host->start();
            failures = host->run();
            host->stop();
        } catch (const std::exception& e) {
            complain(std::string("word: ") + e.what());
            failures = complaints();
        }
        OleUninitialize();
    }
    say("word ended");
    return failures == 0 ? 0 : 1;
}
