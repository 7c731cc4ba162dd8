#!/usr/bin/env bash
# User formats that hold characters outside the ANSI code page (1252 in the
# test prefix): a long date with Hangul literals and a time with the Korean
# AM/PM designators, as a user with a Korean format on an English Windows
# has them. The stamp preview, a click in Outlook 2003 and Word's request to
# the Outlook add-in each type the characters themselves, not question marks.
# A settings file saved as UTF-8 without a byte-order mark keeps its letters.
. "$(dirname "$0")/e2e-lib.sh"
: "${E2E_PREVIEW:?}"
e2e_start unicode_formats

intl='HKEY_CURRENT_USER\Control Panel\International'
# set_formats LONG_DATE TIME AM PM: the user's formats, through a UTF-16 .reg
# file (command-line arguments would pass through the Unix code page).
set_formats() {
    local reg=$WORK/formats.reg
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n"sLongDate"="%s"\r\n"sTimeFormat"="%s"\r\n"s1159"="%s"\r\n"s2359"="%s"\r\n' \
        "$intl" "$1" "$2" "$3" "$4" | iconv -f UTF-8 -t UTF-16 >"$reg"
    wine_ regedit /S "$(winpath "$reg")" >>"$WORK/setup.log" 2>&1
}
# The prefix's pinned formats come back whatever happens.
trap 'rc=$?; set_formats "dddd, d. MMMM yyyy" "HH:mm:ss" AM PM; (exit $rc); e2e_end' EXIT
check "the user's formats hold Hangul" set_formats "yyyy'년' M'월' d'일' dddd" "tt h:mm:ss" 오전 오후

# The stamp preview at a fixed moment, from a folder with its settings file.
preview() {
    local name=$1 settings=$2 dir=$WORK/$1
    mkdir -p "$dir"
    cp "$E2E_PREVIEW" "$dir/"
    printf '%b' "$settings" >"$dir/Chronoquill.ini"
    wine_ "$dir/$(basename "$E2E_PREVIEW")" --at 2026-12-06T09:05:07 >"$dir/out.txt" 2>"$dir/err.txt"
    tr -d '\r' <"$dir/out.txt"
}
check "the preview renders the long date and the time with their Hangul" \
    test "$(preview long 'dateformat=systemlong\r\n')" = "2026년 12월 6일 Sunday 오전 9:05"
check "a UTF-8 file without a byte-order mark keeps its letters" \
    test "$(preview utf8 "format=date\r\ndateformat=dd 'ł 년' MM\r\n")" = "06 ł 년 12"

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL" "$E2E_WORD_DLL"
e2e_register "$stage/Chronoquill.dll" "$stage/Chronoquill4W.dll"

# Long date, one space, the time without seconds, one space.
typed='^editor: "2[0-9]{3}년 1?[0-9]월 [1-3]?[0-9]일 [A-Z][a-z]+day (오전|오후) 1?[0-9]:[0-5][0-9] "$'
check "Outlook 2003 runs its script" run_host outlook outlook11 --version 11 \
    "set-ini dateformat=systemlong" "new mail" "click-button Insert date and time" print-editor
check "a click in Outlook types the Hangul stamp and one space" has_match "$WORK/outlook11.out" "$typed"

check "the scripted Outlook 2003 is running" start_outlook outlook-served --version 11 \
    "set-ini dateformat=systemlong"
check "Word 2003 runs its script" run_host word word11 --version 11 \
    "new mail" "click-button Chronoquill4Wbtn3" print-editor
stop_outlook outlook-served
check "Word types the Hangul stamp from Outlook and one space" has_match "$WORK/word11.out" "$typed"
for out in outlook11 outlook-served word11; do
    check "$out: no message box, no error" lacks_match "$WORK/$out.out" '^(message-box|error):'
done
