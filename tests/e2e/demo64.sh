#!/usr/bin/env bash
# The 64-bit demo: a scripted 64-bit Outlook 2016 loads the real 64-bit
# Chronoquill.dll, opens a new mail, the demo clicks the ribbon button of the
# "Stamps" group and prints what the window holds. A screenshot of the compose
# window is saved as PNG.
#   tests/e2e/demo64.sh [BUILD_DIR [PNG_DIR]]     (BUILD_DIR: a win64 build, default build/win64)
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
pngs=${2:-}
: "${E2E_RUNNER:=$root/cmake/wine64-run.sh}" "${E2E_SESSION:=$root/scripts/wine-session.sh}"
: "${E2E_PREFIX:=$build/wineprefix-e2e}" "${E2E_HOSTS:=$build/tests/e2e}"
: "${E2E_WORK:=$build/tests/e2e/scenarios}" "${E2E_OUTLOOK_DLL:=$build/bin/Chronoquill.dll}"
: "${E2E_LIBQUINTOR_DLL:=$build/bin/LibQuintor.dll}"
export E2E_RUNNER E2E_SESSION E2E_PREFIX E2E_HOSTS E2E_WORK E2E_OUTLOOK_DLL E2E_LIBQUINTOR_DLL
export CQ_WINEARCH=win64
. "$root/tests/e2e/e2e-lib.sh"
e2e_start demo64

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL"
e2e_register "$stage/Chronoquill.dll"

check "the scripted 64-bit Outlook 2016 opens a new mail and clicks the stamp button" \
    run_host outlook outlook16 --version 16 delete-ini "new mail" ribbon-click print-editor \
    "hover Quintor.btnStamp" "screenshot $(winpath "$WORK/outlook16-64.bmp")"
e2e_unregister "$stage/Chronoquill.dll"
to_png "$WORK/outlook16-64.bmp"

check "Outlook's window holds the stamp" has_match "$WORK/outlook16.out" "^editor: \"$STAMP_RE \"\$"
echo
sed -n 's/^editor: /Outlook 2016 (64-bit): the new mail holds: /p' "$WORK/outlook16.out"
if [ -n "$pngs" ]; then
    mkdir -p "$pngs"
    cp "$WORK/outlook16-64.png" "$pngs/"
    echo "Screenshot: $pngs/outlook16-64.png"
else
    echo "Screenshot: $WORK/outlook16-64.png"
fi
