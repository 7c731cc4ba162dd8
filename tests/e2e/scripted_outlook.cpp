// scripted-outlook.exe: an Outlook 2000-2007 stand-in that loads the real
// Outlook add-ins and is driven by a script (see OutlookHost.h):
//   scripted-outlook.exe --version 11 "new mail" "click-button Insert date and time" print-editor
//   scripted-outlook.exe --version 12 --script steps.txt
// Results go to standard output; redirect it to a file.

#include <windows.h>
#include <objbase.h>

#include <memory>

#include "tests/e2e/HostOutput.h"
#include "tests/e2e/OutlookHost.h"

int main() {
    using namespace cq::test::e2e;
    if (FAILED(OleInitialize(nullptr))) {
        complain("OleInitialize failed");
        return 1;
    }
    int failures = 0;
    {
        auto host = std::make_unique<OutlookHost>(parseHostOptions());
        try {
            host->start();
            failures = host->run();
            host->stop();
        } catch (const std::exception& e) {
            complain(std::string("outlook: ") + e.what());
            failures = complaints();
        }
        // Remote references end with COM, while the objects are still there.
        OleUninitialize();
    }
    say("outlook ended");
    return failures == 0 ? 0 : 1;
}
