#!/usr/bin/env bash
# The scripted Outlook 2003 ends abruptly while the scripted Word asks its
# add-in for a stamp: Word's click comes back within a bound, types nothing
# and shows nothing (the call failed); the next click, with Outlook gone,
# shows the Word add-in's message; once Outlook runs again, a click types the
# stamp. Word 2003 reaches Outlook through the envelope's item, Word 2000
# through the running-object table, so each says its own message. Then the
# same with Outlook ended from outside (TerminateProcess through taskkill)
# while Word clicks one click after another.
. "$(dirname "$0")/e2e-lib.sh"
e2e_start outlook_vanishes

# Longest a click may take, whatever Outlook does meanwhile.
CLICK_BOUND_MS=10000

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL" "$E2E_WORD_DLL"
e2e_register "$stage/Chronoquill.dll" "$stage/Chronoquill4W.dll"

# start_word NAME ARGS...: the scripted Word in the background (WORD_PID).
start_word() {
    local name=$1
    shift
    timeout 600 "$E2E_RUNNER" "$E2E_PREFIX" "$E2E_HOSTS/scripted-word.exe" "$@" \
        >"$WORK/$name.out" 2>"$WORK/$name.err" &
    WORD_PID=$!
}

# wait_for FILE SECONDS
wait_for() {
    local i
    for i in $(seq $(($2 * 10))); do
        [ -f "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# Every "timed" line of FILE within the bound; prints the longest.
clicks_within_bound() {
    local longest
    longest=$(awk '/^timed [0-9]+ ms: / { if ($2 > m) m = $2 } END { print m + 0 }' "$1")
    echo "     longest click in $(basename "$1"): $longest ms (bound $CLICK_BOUND_MS ms)"
    [ "$(grep -c '^timed ' "$1")" -gt 0 ] && [ "$longest" -le "$CLICK_BOUND_MS" ]
}

# The lines printed between the N-th "timed" line and the one before it (the
# output of the N-th timed command), into $WORK/click.txt.
click_output() {
    awk -v n="$2" '/^timed / { k++; if (k == n) exit; body = ""; next } { body = body $0 "\n" }
                   END { printf "%s", body }' "$1" >"$WORK/click.txt"
    echo "$WORK/click.txt"
}

for version in 11 9; do
    case $version in
        11) gone_message='Outlook add-in is not working properly. Please enable or reinstall Chronoquill.' ;;
        9) gone_message='This functionality works only if Microsoft Outlook is running.' ;;
    esac
    dies=outlook-dies-$version
    back=outlook-back-$version
    word=word$version
    check "Outlook 2003 runs, set to end in the next stamp request" \
        start_outlook "$dies" --version 11 delete-ini die-on-get-stamp
    dying_pid=$OUTLOOK_PID
    start_word "$word" --version "$version" "new mail" \
        "timed click-button Chronoquill4Wbtn3" print-editor \
        "timed click-menu Insert Chronoquill4Wbtn2" print-editor \
        "ready $(winpath "$WORK/$word.waiting")" "wait-file $(winpath "$WORK/$back.started") 120000" \
        "timed click-button Chronoquill4Wbtn3" print-editor
    check "Word $version clicks twice and waits for Outlook" wait_for "$WORK/$word.waiting" 180
    wait "$dying_pid"
    check "Outlook ended in the stamp request, as killed (exit code 9)" test $? -eq 9
    check "... while Word's call was in flight" has_line "$WORK/$dies.out" \
        'dying in a call from another process'
    check "Outlook 2003 runs again" start_outlook "$back" --version 11
    touch "$WORK/$back.started"
    wait "$WORD_PID"
    check "Word $version ends normally" test $? -eq 0
    stop_outlook "$back"
    out=$WORK/$word.out
    check "Word $version's clicks come back within the bound" clicks_within_bound "$out"
    first=$(click_output "$out" 1)
    check "the click in flight shows no message" lacks_match "$first" '^message-box:'
    check "... and types nothing" has_line "$out" 'editor: ""'
    second=$(click_output "$out" 2)
    check "the click with Outlook gone says so" has_line "$second" \
        "message-box: title=\"Chronoquill\" text=\"$gone_message\""
    check "... and types nothing either" count_is "$out" '^editor: ""$' 2
    check "the click after Outlook came back types the stamp" has_match "$out" "^editor: \"$STAMP_RE \"\$"
    check "Word lets go of every host object" has_line "$out" 'host references: 0 (exported objects 0)'
    check "Word failed no command" lacks_match "$out" '^error:'
    check "the new Outlook served and ended cleanly" has_line "$WORK/$back.out" \
        'host references: 0 (exported objects 0)'
done

# Ended from outside while Word clicks one click after another (three clicks
# made before, so that the kill meets a Word that has stamped already): each
# click types the stamp, or fails quietly (the one in flight), or says that
# Outlook is gone; none hangs.
check "Outlook 2003 runs" start_outlook outlook-killed --version 11 delete-ini \
    "pid $(winpath "$WORK/outlook-killed.pid")"
killed_pid=$OUTLOOK_PID
windows_pid=$(cat "$WORK/outlook-killed.pid")
start_word word-loop --version 11 "new mail" "repeat 3 timed click-button Chronoquill4Wbtn3" \
    "ready $(winpath "$WORK/word-loop.clicking")" \
    "repeat 60 timed click-button Chronoquill4Wbtn3" print-editor \
    "ready $(winpath "$WORK/word-loop.waiting")" \
    "wait-file $(winpath "$WORK/outlook-again.started") 120000" \
    "timed click-button Chronoquill4Wbtn3" print-editor
check "Word starts clicking" wait_for "$WORK/word-loop.clicking" 180
check "taskkill /f ends Outlook from outside" wine_ taskkill /f /pid "$windows_pid" \
    >"$WORK/taskkill.log" 2>&1
wait "$killed_pid"
check "Word's clicks go on and end" wait_for "$WORK/word-loop.waiting" 400
check "Outlook 2003 runs again" start_outlook outlook-again --version 11
touch "$WORK/outlook-again.started"
wait "$WORD_PID"
check "Word ends normally" test $? -eq 0
stop_outlook outlook-again
out=$WORK/word-loop.out
check "every click comes back within the bound" clicks_within_bound "$out"
typed=$(sed -n 's/^editor: "\(.*\)"$/\1/p' "$out" | head -1 | grep -Eo "$STAMP_RE " | wc -l)
echo "     clicks that typed a stamp before the kill: $typed," \
    "that said Outlook is gone: $(grep -c '^message-box:' "$out")"
check "stamps were typed before the kill" has_match "$out" "^editor: \"($STAMP_RE )+\"\$"
check "the clicks after it say that Outlook is gone" has_match "$out" \
    '^message-box: title="Chronoquill" text="Outlook add-in is not working properly. Please enable or reinstall Chronoquill."$'
check "the click after Outlook came back types one more stamp" has_match "$out" \
    "^editor: \"($STAMP_RE ){2,}\"\$"
check "Word lets go of every host object" has_line "$out" 'host references: 0 (exported objects 0)'
check "Word failed no command" lacks_match "$out" '^error:'
