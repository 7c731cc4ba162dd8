// scripted-outlook.exe: an Outlook 2000-2016 stand-in that loads the real
// Outlook add-ins and is driven by a script (see OutlookHost.h):
//   scripted-outlook.exe --version 11 "new mail" "click-button Insert date and time" print-editor
//   scripted-outlook.exe --version 12 --script steps.txt
// Results go to standard output; redirect it to a file.

#include "tests/e2e/HostMain.h"
#include "tests/e2e/OutlookHost.h"

int main() { return cq::test::e2e::runScriptedHost<cq::test::e2e::OutlookHost>("outlook"); }
