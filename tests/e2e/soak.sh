#!/usr/bin/env bash
# A thousand stamps in each host with the real add-ins, none dropped, doubled
# or reordered, and no growth of what the host process holds.
#
# Outlook 2003: 1000 clicks into one mail window, toolbar button and menu
# entry in turn. Word 2003: 1000 clicks into one message, each a GetStamp
# request across processes to the Outlook add-in. Before each click the
# script puts a marker "#<n>:" at the end of the editor (no keystrokes), so
# the editor must end up as "#1:<stamp> #2:<stamp> ..." in order, one stamp
# and one space after each marker; the stamps carry seconds and never go back
# in time. Each process's kernel handles, GDI and USER objects, private
# memory and heap in use are sampled after a warm-up of 50 clicks and after
# the 1000.
. "$(dirname "$0")/e2e-lib.sh"
e2e_start soak

STAMPS=1000
WARM_UP=50
# Growth allowed over the 1000 stamps. One object more per 125 stamps, or
# 128 bytes per stamp on the heap, breaks them. The editor is empty at both
# samples, its buffer grown beforehand, so that its text does not count.
# Committed private memory moves in steps of a few MiB under Wine, which
# commits the whole stack of every thread (COM's call threads come and go),
# so its bound is loose and the heap's is the tight one. (Wine 8 itself keeps
# 88 bytes of heap per running-object-table lookup, and every click in Word
# makes one: about 86 KiB of Word's growth is that.)
MAX_HANDLES=8
MAX_GDI=8
MAX_USER=8
MAX_HEAP=$((128 * 1024))
MAX_PRIVATE=$((16 * 1024 * 1024))
# How long each host may take for its thousand clicks.
HOST_LIMIT=1500

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL" "$E2E_WORD_DLL"
e2e_register "$stage/Chronoquill.dll" "$stage/Chronoquill4W.dll"

# A stamp as the settings below make it: sortable, with seconds (spelt out
# without intervals, for every awk).
SOAK_STAMP_RE='[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]'
SETTINGS='set-ini "format=datetime\ndateformat=yyyy-MM-dd\ntimeformat=HH:mm:ss"'

# clicks FILE FIRST_CLICK SECOND_CLICK: the script lines of the warm-up:
# clicks without markers, alternating the two click commands; then the
# editor filled with as much text as the thousand marked stamps make, and
# emptied, so that the editor's own buffer has reached its final size
# before the first sample.
clicks() {
    local file=$1 one=$2 other=$3 n
    for n in $(seq "$WARM_UP"); do
        if [ $((n % 2)) -eq 1 ]; then echo "$one"; else echo "$other"; fi
    done >>"$file"
    echo "repeat $STAMPS append-editor \"\\n#$STAMPS:0000-00-00 00:00:00 \"" >>"$file"
    echo 'set-editor' >>"$file"
}
marked_clicks() {
    local file=$1 one=$2 other=$3 n
    for n in $(seq "$STAMPS"); do
        echo "append-editor \"\\n#$n:\""
        if [ $((n % 2)) -eq 1 ]; then echo "$one"; else echo "$other"; fi
    done >>"$file"
}

# run_script HOST NAME SCRIPT: the host in the foreground with a script file.
run_script() {
    timeout "$HOST_LIMIT" "$E2E_RUNNER" "$E2E_PREFIX" "$E2E_HOSTS/scripted-$1.exe" --version 11 \
        --script "$(winpath "$3")" >"$WORK/$2.out" 2>"$WORK/$2.err"
}

# editor_is_marked_stamps FILE: the last "editor:" line of FILE is
# "\r\n#1:<stamp> \r\n#2:<stamp> ..." up to $STAMPS, with the stamps in order.
editor_is_marked_stamps() {
    grep '^editor: ' "$1" | tail -1 | awk -v want="$STAMPS" -v re="^$SOAK_STAMP_RE \$" '
        {
            text = substr($0, 10, length($0) - 10)        # without editor: "..."
            n = split(text, parts, /\\r\\n/)
            if (parts[1] != "") { print "     text before the first marker: " parts[1]; bad = 1 }
            for (i = 2; i <= n; i++) {
                k = i - 1
                prefix = "#" k ":"
                if (substr(parts[i], 1, length(prefix)) != prefix) {
                    print "     marker " k " missing or out of place: " parts[i]; bad = 1; continue
                }
                stamp = substr(parts[i], length(prefix) + 1)
                if (stamp !~ re) { print "     after marker " k ": \"" stamp "\""; bad = 1; continue }
                if (stamp < last) { print "     stamp " k " goes back in time: " stamp; bad = 1 }
                last = stamp
            }
            if (n - 1 != want) { print "     " n - 1 " markers instead of " want; bad = 1 }
        }
        END { exit bad }'
}

# resources_grew_at_most FILE LABEL: the first and the last "resources:" lines
# of FILE, with the growth of each figure within its bound.
resources_grew_at_most() {
    grep '^resources: ' "$1" | sed -n '1p;$p' | awk -v label="$2" -v mh="$MAX_HANDLES" \
        -v mg="$MAX_GDI" -v mu="$MAX_USER" -v mp="$MAX_PRIVATE" -v mheap="$MAX_HEAP" '
        {
            for (i = 2; i <= NF; i++) if (split($i, kv, "=") == 2) v[NR, kv[1]] = kv[2]
        }
        END {
            if (NR != 2) { print "     " label ": two samples expected"; exit 1 }
            split("handles gdi user private heap threads", names, " ")
            bound["handles"] = mh; bound["gdi"] = mg; bound["user"] = mu
            bound["private"] = mp; bound["heap"] = mheap
            line = "     " label ":"
            for (j = 1; j <= 6; j++) {
                k = names[j]
                grow = v[2, k] - v[1, k]
                line = line " " k " " v[1, k] " -> " v[2, k] " (" (grow >= 0 ? "+" : "") grow ")"
                if ((k in bound) && grow > bound[k]) { bad = 1; line = line " OVER " bound[k] }
            }
            print line
            exit bad
        }'
}

# --- Outlook 2003: a thousand clicks into one mail window ---
script=$WORK/outlook.script
{
    echo "$SETTINGS"
    echo 'new mail'
} >"$script"
clicks "$script" 'click-button Insert date and time' 'click-menu Insert Insert date and time'
echo 'resources' >>"$script"
marked_clicks "$script" 'click-button Insert date and time' 'click-menu Insert Insert date and time'
printf '%s\n' print-editor set-editor resources delete-ini >>"$script"
check "Outlook 2003 clicks $((WARM_UP + STAMPS)) times" run_script outlook outlook "$script"
out=$WORK/outlook.out
check "the editor holds the $STAMPS stamps, each once, in order" editor_is_marked_stamps "$out"
check "Outlook's resources stay within the bounds" resources_grew_at_most "$out" "Outlook"
check "no message box came up" lacks_match "$out" '^message-box:'
check "every host object is let go" has_line "$out" 'host references: 0 (exported objects 0)'
check "the host failed no command" lacks_match "$out" '^error:'

# --- Word 2003: a thousand GetStamp requests to the Outlook add-in ---
# Outlook serves and samples itself after Word's warm-up and after its clicks.
rm -f "$WORK"/word-*.flag
timeout "$HOST_LIMIT" "$E2E_RUNNER" "$E2E_PREFIX" "$E2E_HOSTS/scripted-outlook.exe" --version 11 \
    "ready $(winpath "$WORK/outlook-serving.flag")" \
    "wait-file $(winpath "$WORK/word-warm.flag") 600000" resources \
    "ready $(winpath "$WORK/outlook-sampled.flag")" \
    "wait-file $(winpath "$WORK/word-done.flag") $((HOST_LIMIT * 1000))" resources \
    "wait-file $(winpath "$WORK/outlook-stop.flag") 600000" \
    >"$WORK/outlook-serving.out" 2>"$WORK/outlook-serving.err" &
serving=$!
script=$WORK/word.script
{
    echo "wait-file $(winpath "$WORK/outlook-serving.flag") 120000"
    echo "$SETTINGS"
    echo 'new mail'
} >"$script"
clicks "$script" 'click-button Chronoquill4Wbtn3' 'click-menu Insert Chronoquill4Wbtn2'
{
    echo "ready $(winpath "$WORK/word-warm.flag")"
    echo "wait-file $(winpath "$WORK/outlook-sampled.flag") 600000"
    echo 'resources'
} >>"$script"
marked_clicks "$script" 'click-button Chronoquill4Wbtn3' 'click-menu Insert Chronoquill4Wbtn2'
printf '%s\n' print-editor set-editor resources "ready $(winpath "$WORK/word-done.flag")" \
    delete-ini >>"$script"
check "Word 2003 clicks $((WARM_UP + STAMPS)) times" run_script word word "$script"
touch "$WORK/outlook-stop.flag"
wait "$serving"
check "the serving Outlook ends normally" test $? -eq 0
out=$WORK/word.out
check "Word's editor holds the $STAMPS stamps from Outlook, each once, in order" \
    editor_is_marked_stamps "$out"
check "Word's resources stay within the bounds" resources_grew_at_most "$out" "Word"
check "the resources of the Outlook serving the stamps stay within the bounds" \
    resources_grew_at_most "$WORK/outlook-serving.out" "Outlook serving Word"
check "no message box came up in Word" lacks_match "$out" '^message-box:'
check "Word lets go of every host object" has_line "$out" 'host references: 0 (exported objects 0)'
check "... and so does Outlook" has_line "$WORK/outlook-serving.out" \
    'host references: 0 (exported objects 0)'
check "neither host failed a command" lacks_match "$out" '^error:'
check "... nor Outlook" lacks_match "$WORK/outlook-serving.out" '^error:'
