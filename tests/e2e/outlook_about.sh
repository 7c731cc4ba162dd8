#!/usr/bin/env bash
# The support library's About entry in the scripted Outlook's explorer window,
# with the real Chronoquill.dll and LibQuintor.dll: the entry ends the Help
# menu; its click shows the About window over the explorer (saved as
# about.png), which Escape closes; when Outlook quits, the explorer closes
# first and the library lets go of everything. Outlook 2010 and later show
# no command bars in the explorer: no entry there.
. "$(dirname "$0")/e2e-lib.sh"
e2e_start outlook_about

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL"
e2e_register "$stage/Chronoquill.dll"
# The library's log, from this scenario only.
find "$E2E_PREFIX/drive_c/users" -path '*/Quintor/Inkwell/LibQuintor.log' -delete 2>/dev/null

check "Outlook 2003 runs its script" run_host outlook about11 --version 11 \
    --box-shots "$(winpath "$WORK/about")" --box-escape \
    explorer-controls "click-explorer-menu Help About Chronoquill..." explorer-controls
out=$WORK/about11.out
to_png "$WORK/about1.bmp"
mv -f "$WORK/about1.png" "$WORK/about.png" 2>/dev/null

entry='control Menu Bar/Help#2 type=1 id=1 tag="Quintor.LibQuintor.About" caption="About Chronoquill..." tooltip="" visible=1 style=2 begin-group=1 face=none temporary=1'
check "the entry ends the explorer's Help menu" has_line "$(controls_of "$out" explorer 1)" "$entry"
check "and it is the only control the library adds" \
    count_is "$(controls_of "$out" explorer 1)" 'temporary=1$' 1
check "a click shows the About window with the add-in's texts" has_line "$out" \
    'message-box: title="About Chronoquill" text="Chronoquill\nVersion 1.0.1\nQuintor\nInkwell\nhttps://www.quintor.example/inkwell"'
check "over the explorer window" has_line "$out" 'message-box owner: "Inbox - Microsoft Outlook"'
check "Escape closes it" has_line "$out" 'clicked "Help/About Chronoquill..."'
check "the entry stays for the next click" has_line "$(controls_of "$out" explorer 2)" "$entry"
check "the explorer closes before the add-ins go" has_line "$out" 'explorer: closed'
check "every host object is let go" has_line "$out" 'host references: 0 (exported objects 0)'
check "the host ends without error" lacks_match "$out" '^error:'
log=$(find "$E2E_PREFIX/drive_c/users" -path '*Quintor/Inkwell/LibQuintor.log' | head -1)
check "the library logs no error" lacks_match "${log:-/dev/null}" $'^[^\t]*\t3\t'

check "Outlook 2010 runs its script" run_host outlook about14 --version 14 explorer-controls
check "Outlook 2010's explorer gets no entry" \
    count_is "$(controls_of "$WORK/about14.out" explorer)" 'temporary=1$' 0
check "Outlook 2010 lets go of every host object" has_line "$WORK/about14.out" \
    'host references: 0 (exported objects 0)'
