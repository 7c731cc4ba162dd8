#!/usr/bin/env bash
# The demo: the scripted Outlook 2003 opens a new mail, the real add-in adds
# its button, the demo clicks it and prints what the window holds; then the
# scripted Word 2003 asks the Outlook add-in for a stamp. A screenshot of
# each window is saved as PNG.
#   tests/e2e/demo.sh [BUILD_DIR [PNG_DIR]]     (BUILD_DIR: a win32 build, default build/win32)
# Under CTest the E2E_* variables come from the test; otherwise from BUILD_DIR.
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win32}" && pwd)
pngs=${2:-}
: "${E2E_RUNNER:=$root/cmake/wine-run.sh}" "${E2E_SESSION:=$root/scripts/wine-session.sh}"
: "${E2E_PREFIX:=$build/wineprefix-e2e}" "${E2E_HOSTS:=$build/tests/e2e}"
: "${E2E_WORK:=$build/tests/e2e/scenarios}" "${E2E_OUTLOOK_DLL:=$build/bin/Chronoquill.dll}"
: "${E2E_WORD_DLL:=$build/word/Chronoquill4W.dll}" "${E2E_LIBQUINTOR_DLL:=$build/bin/LibQuintor.dll}"
export E2E_RUNNER E2E_SESSION E2E_PREFIX E2E_HOSTS E2E_WORK E2E_OUTLOOK_DLL E2E_WORD_DLL E2E_LIBQUINTOR_DLL
. "$root/tests/e2e/e2e-lib.sh"
e2e_start demo

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL" "$E2E_WORD_DLL"
e2e_register "$stage/Chronoquill.dll" "$stage/Chronoquill4W.dll"

check "the scripted Outlook 2003 opens a new mail and clicks the stamp button" \
    start_outlook outlook --version 11 delete-ini "new mail" controls \
    "click-button Insert date and time" print-editor "hover Insert date and time" \
    "screenshot $(winpath "$WORK/outlook.bmp")"
check "the scripted Word 2003 asks the Outlook add-in for a stamp" run_host word word --version 11 \
    "new mail" "click-button Chronoquill4Wbtn3" print-editor "hover Chronoquill4Wbtn3" \
    "screenshot $(winpath "$WORK/word.bmp")"
stop_outlook outlook
e2e_unregister "$stage/Chronoquill.dll" "$stage/Chronoquill4W.dll"
to_png "$WORK/outlook.bmp"
to_png "$WORK/word.bmp"

check "Outlook's window holds the stamp" has_match "$WORK/outlook.out" "^editor: \"$STAMP_RE \"\$"
check "Word's window holds the stamp" has_match "$WORK/word.out" "^editor: \"$STAMP_RE \"\$"
echo
grep -E '^control Standard#3 ' "$WORK/outlook.out" | sed 's/^/Outlook: the add-in'"'"'s button: /'
sed -n 's/^editor: /Outlook: the new mail holds: /p' "$WORK/outlook.out"
sed -n 's/^editor: /Word:    the message holds:  /p' "$WORK/word.out"
if [ -n "$pngs" ]; then
    mkdir -p "$pngs"
    cp "$WORK/outlook.png" "$WORK/word.png" "$pngs/"
    echo "Screenshots: $pngs/outlook.png, $pngs/word.png"
else
    echo "Screenshots: $WORK/outlook.png, $WORK/word.png"
fi
