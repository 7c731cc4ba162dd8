#!/usr/bin/env bash
# A click while the user still holds Shift, Ctrl or Alt (an Alt-click, a menu
# entry chosen from the keyboard, a tool that sends the click): the stamp
# arrives as text, exactly, and the key is still down afterwards. For the
# toolbar button of Outlook 2003, the ribbon button of Outlook 2007 and the
# stamp button of Word 2003. Then a click in Outlook 2003 during whose wait
# for the keystrokes its window closes and another one opens, so that the
# add-in drops the clicked window's wrapper while the click is still handled.
. "$(dirname "$0")/e2e-lib.sh"
e2e_start click_keys

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL" "$E2E_WORD_DLL"
e2e_register "$stage/Chronoquill.dll" "$stage/Chronoquill4W.dll"

# A stamp of literals only, with characters that mean something to the
# keyboard when Shift, Ctrl or Alt is down.
stamp='Ab (1) +x'
settings="set-ini format=date \"dateformat='$stamp'\""
keys="shift ctrl alt"

# held_clicks CLICK: for each key, a clean editor, the key down, the click,
# what the editor holds and which keys are down, the key up again.
held_clicks() {
    local key
    for key in $keys; do
        printf '%s\n' "echo == $key" set-editor "key-down $key" "$1" print-editor keys-held \
            "key-up $key" keys-held
    done
}

# check_held NAME OUT: the exact stamp and the key still down, for each key.
check_held() {
    local name=$1 out=$2 key
    for key in $keys; do
        grep -A4 -x "== $key" "$out" >"$WORK/after-$key.txt"
        check "$name, $key held: the stamp as text, exactly" \
            has_line "$WORK/after-$key.txt" "editor: \"$stamp \""
        check "$name, $key held: still down afterwards" \
            has_line "$WORK/after-$key.txt" "keys held: $key"
    done
    check "$name: every key let go at the end" test "$(grep -c -x 'keys held: none' "$out")" -eq 3
    check "$name: no message box came up" lacks_match "$out" '^message-box:'
    check "$name: the host ends without error" lacks_match "$out" '^error:'
}

{ echo "$settings"; echo "new mail"; held_clicks "click-button Insert date"
} >"$WORK/outlook11.txt"
check "Outlook 2003 runs its script" run_host outlook outlook11 --version 11 \
    --script "$(winpath "$WORK/outlook11.txt")"
check_held "Outlook 2003's toolbar button" "$WORK/outlook11.out"

{ echo "$settings"; echo "new mail"; held_clicks ribbon-click; } >"$WORK/outlook12.txt"
check "Outlook 2007 runs its script" run_host outlook outlook12 --version 12 \
    --script "$(winpath "$WORK/outlook12.txt")"
check_held "Outlook 2007's ribbon button" "$WORK/outlook12.out"

check "the scripted Outlook 2003 is running" start_outlook outlook-served --version 11 "$settings"
{ echo "new mail"; held_clicks "click-button Chronoquill4Wbtn3"; } >"$WORK/word11.txt"
check "Word 2003 runs its script" run_host word word11 --version 11 \
    --script "$(winpath "$WORK/word11.txt")"
stop_outlook outlook-served
check_held "Word 2003's stamp button" "$WORK/word11.out"

# The window closes and another opens while the click waits for its keys.
check "Outlook 2003 runs the closing script" run_host outlook closing --version 11 \
    "$settings" "new mail" "when-pumped close-window" "when-pumped new mail" \
    "click-button Insert date" "echo after the click" "click-button Insert date" print-editor
out=$WORK/closing.out
check "the clicked window closed during the click" has_line "$out" 'window 1: closed'
check "the click came back" has_line "$out" 'after the click'
check "a click in the new window types the stamp" has_line "$out" "editor: \"$stamp \""
check "the closing host ends without error" lacks_match "$out" '^error:'
check "every host object is let go" has_line "$out" 'host references: 0 (exported objects 0)'
