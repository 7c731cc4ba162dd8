#!/usr/bin/env bash
# The main job: builds everything, then under Wine
#  1. prints the stamp that the add-in would type now (built-in defaults, no settings file);
#  2. runs the real add-ins in the scripted Outlook 2003 and Word 2003: Outlook opens a new
#     mail, the add-in adds its button, the demo clicks it and prints what the window holds;
#     then Word asks the Outlook add-in for a stamp;
#  3. runs the real 64-bit add-in in a scripted 64-bit Outlook 2016: a new mail, a click on
#     the ribbon button of the "Stamps" group. Screenshots go to build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The 64-bit add-in first: Setup, built with the 32-bit build, carries it.
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target Chronoquill scripted-outlook
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
display=${DISPLAY-}
export WINEPREFIX=$PWD/build/win32/wineprefix
. scripts/wine-session.sh
wine_session_start
echo "Stamp for now (kind, TAB, stamp):"
cmake/wine-run.sh "$WINEPREFIX" build/win32/outlook/chronoquill-stamp.exe --kind
echo
wine_session_end
trap - EXIT
unset WINEPREFIX CQ_XVFB_PID
if [ -n "$display" ]; then export DISPLAY=$display; else unset DISPLAY; fi
tests/e2e/demo.sh build/win32 build/demo
tests/e2e/demo64.sh build/win64 build/demo
