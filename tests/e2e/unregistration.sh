#!/usr/bin/env bash
# Registration and unregistration of both add-ins with regsvr32, with a run
# of Outlook and Word in between that leaves the user's "Tooltip" value:
# afterwards HKEY_CURRENT_USER holds no key or value of the add-ins but that
# one (Office's own Addins keys may stay, as they would with Office).
. "$(dirname "$0")/e2e-lib.sh"
e2e_start unregistration

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL" "$E2E_WORD_DLL"
user_registry "$WORK/before.txt"

e2e_register "$stage/Chronoquill.dll" "$stage/Chronoquill4W.dll"
reg_query "$WORK/registered.txt" 'HKCU\Software\Classes' /s
clsids=$(grep -o '{[0-9A-Fa-f-]*}' "$WORK/registered.txt" | sort -u | grep -v -i "$E2E_OUTLOOK_CLSID" || true)
check "both add-ins registered their class" test "$(echo "$clsids" | grep -c .)" -ge 2
reg_query "$WORK/typelibs.txt" 'HKCU\Software\Classes\TypeLib' /s
for dll in Chronoquill Chronoquill4W; do
    check "$dll.dll registered its type library" \
        has_match "$WORK/typelibs.txt" "REG_SZ +.*\\\\$dll\\.dll\$"
done
for app in Outlook Word; do
    reg_query "$WORK/addins-$app.txt" "HKCU\\Software\\Microsoft\\Office\\$app\\Addins" /s
    check "the $app add-in key loads at start-up" has_match "$WORK/addins-$app.txt" 'LoadBehavior +REG_DWORD +0x3$'
done

check "the scripted Outlook 2003 is running" start_outlook outlook11 --version 11 \
    "set-ini format=time" "new mail" "click-button Insert time"
check "Word 2003 runs its script" run_host word word11 --version 11 "new mail" \
    "click-button Chronoquill4Wbtn3" print-editor delete-ini
stop_outlook outlook11
check "Word typed the time" has_match "$WORK/word11.out" "^editor: \"$TIME_RE \"\$"

e2e_unregister "$stage/Chronoquill.dll" "$stage/Chronoquill4W.dll"
e2e_forget_mirrors
user_registry "$WORK/after.txt"

LC_ALL=C comm -13 "$WORK/before.txt" "$WORK/after.txt" >"$WORK/added.txt"
LC_ALL=C comm -23 "$WORK/before.txt" "$WORK/after.txt" >"$WORK/removed.txt"
# What may stay: the Tooltip value with its keys, Office's Addins keys, and
# the folder of the user's type libraries.
grep -v -x -E 'Software\\\\Quintor(\\\\Inkwell(\|Tooltip)?)?|Software\\\\Microsoft\\\\Office(\\\\(Outlook|Word)(\\\\Addins)?)?|Software\\\\Classes\\\\TypeLib' \
    "$WORK/added.txt" >"$WORK/unexpected.txt" || true
check "the Tooltip value stays" has_line "$WORK/after.txt" 'Software\\Quintor\\Inkwell|Tooltip'
check "nothing else of the add-ins stays" test ! -s "$WORK/unexpected.txt"
check "no key names an add-in" lacks_match "$WORK/after.txt" '[Cc]hronoquill'
for clsid in $clsids; do
    check "no key names the class $clsid" lacks_match "$WORK/after.txt" "$clsid"
done
check "nothing that was there before is gone" test ! -s "$WORK/removed.txt"
for f in unexpected removed; do
    if [ -s "$WORK/$f.txt" ]; then
        echo "---- $f entries:"
        cat "$WORK/$f.txt"
    fi
done
