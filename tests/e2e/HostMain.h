#pragma once
// The main program of a scripted host: OLE started, the host made from the
// command line, its script run, and "<name> ended" at the very end. The exit
// code is 0 when no command failed.

#include <windows.h>
#include <objbase.h>

#include <exception>
#include <memory>
#include <string>

#include "tests/e2e/HostOutput.h"
#include "tests/e2e/ScriptedHost.h"

namespace cq::test::e2e {

template <class Host>
int runScriptedHost(const std::string& name) {
    if (FAILED(OleInitialize(nullptr))) {
        complain("OleInitialize failed");
        return 1;
    }
    int failures = 0;
    {
        auto host = std::make_unique<Host>(parseHostOptions());
        try {
            host->start();
            failures = host->run();
            host->stop();
        } catch (const std::exception& e) {
            complain(name + ": " + e.what());
            failures = complaints();
        }
        // Remote references end with COM, while the objects are still there.
        OleUninitialize();
    }
    say(name + " ended");
    return failures == 0 ? 0 : 1;
}

}  // namespace cq::test::e2e
