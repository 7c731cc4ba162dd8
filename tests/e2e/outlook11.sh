#!/usr/bin/env bash
# Outlook 2003 with the real Chronoquill.dll: a new mail window gets the stamp
# button, the marker and the Insert-menu entry; clicking either types the
# stamp and one space into the window's editor; closing the window deletes
# the three controls; a sent mail, a note and a Word-edited mail get nothing.
# Outlook 2000 shows face 125 instead of the bitmaps.
. "$(dirname "$0")/e2e-lib.sh"
e2e_start outlook11

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL"
e2e_register "$stage/Chronoquill.dll"

shot=$(winpath "$WORK/outlook11-mail.bmp")
check "Outlook 2003 runs its script" run_host outlook outlook11 --version 11 \
    delete-ini "new mail" controls \
    "click-button Insert date and time" print-editor \
    "click-menu Insert Insert date and time" print-editor \
    "hover Insert date and time" "screenshot $shot" \
    close-window "controls 1" "deleted-controls 1" \
    "new sent-mail" "controls 2" "new note" "controls 3" "new word-mail" "controls 4" \
    "new appointment" "controls 5"
out=$WORK/outlook11.out
to_png "$WORK/outlook11-mail.bmp"

check "the add-in is connected" has_match "$out" '^add-in Chronoquill.Connect: connected in [0-9]+ us$'
check "the add-in's start-up completes" has_match "$out" '^add-in Chronoquill.Connect: startup complete'
mail=$(controls_of "$out" 1 1)
check "the stamp button ends the Standard toolbar, in a group of its own" has_line "$mail" \
    'control Standard#3 type=1 id=1 tag="" caption="" tooltip="Insert date and time" visible=1 style=1 begin-group=1 face=picture:16x16,mask:16x16 temporary=1'
check "the invisible marker follows it" has_line "$mail" \
    'control Standard#4 type=1 id=1 tag="Quintor.Inkwell.Button" caption="" tooltip="" visible=0 style=0 begin-group=0 face=none temporary=1'
check "the Insert menu ends with the stamp entry" has_line "$mail" \
    'control Menu Bar/Insert#2 type=1 id=1 tag="" caption="Insert date and time" tooltip="Insert date and time" visible=1 style=3 begin-group=1 face=picture:16x16,mask:16x16 temporary=1'
check "nothing else of the add-in's" count_is "$mail" 'temporary=1$' 3
check "the button types the stamp and one space" has_match "$out" "^editor: \"$STAMP_RE \"\$"
check "the menu entry types another one" has_match "$out" "^editor: \"$STAMP_RE $STAMP_RE \"\$"
check "no message box came up" lacks_match "$out" '^message-box:'
check "closing the window deletes the three controls" has_line "$out" 'deleted-controls: 3'
closed=$(controls_of "$out" 1 2)
check "the closed window's bars are Outlook's own again" count_is "$closed" 'temporary=1$' 0
check "... with all their built-in controls" count_is "$closed" '^control ' 6
for n in 2 3 4; do
    kind=$(sed -n "s/^window $n: \(.*\) opened\$/\1/p" "$out")
    check "a $kind window gets no controls" count_is "$(controls_of "$out" $n)" 'temporary=1$' 0
done
check "an appointment gets the button, the marker and the entry" \
    count_is "$(controls_of "$out" 5)" 'temporary=1$' 3
check "every host object is let go" has_line "$out" 'host references: 0 (exported objects 0)'
check "the host ends without error" lacks_match "$out" '^error:'

# Outlook 2000 takes no bitmaps: the controls show face 125.
check "Outlook 2000 runs its script" run_host outlook outlook9 --version 9 "new mail" controls \
    "click-button Insert date and time" print-editor "screenshot $(winpath "$WORK/outlook9-mail.bmp")"
to_png "$WORK/outlook9-mail.bmp"
check "Outlook 2000's button has face 125" has_match "$WORK/outlook9.out" \
    '^control Standard#3 .*tooltip="Insert date and time".* face=faceid:125 temporary=1$'
check "Outlook 2000's menu entry has face 125" has_match "$WORK/outlook9.out" \
    '^control Menu Bar/Insert#2 .*caption="Insert date and time".* face=faceid:125 temporary=1$'
check "Outlook 2000's button types the stamp" has_match "$WORK/outlook9.out" "^editor: \"$STAMP_RE \"\$"
