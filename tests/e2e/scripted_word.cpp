// scripted-word.exe: a Word 2000-2003 stand-in that loads the real Word
// add-ins and is driven by a script (see WordHost.h):
//   scripted-word.exe --version 11 "new mail" "click-button Chronoquill4Wbtn3" print-editor
// Results go to standard output; redirect it to a file.

#include "tests/e2e/HostMain.h"
#include "tests/e2e/WordHost.h"

int main() { return cq::test::e2e::runScriptedHost<cq::test::e2e::WordHost>("word"); }
