#!/usr/bin/env bash
# Word 2003 in its own process with the real Chronoquill4W.dll, beside the
# scripted Outlook 2003 with the real Chronoquill.dll: a click on either stamp
# control asks the Outlook add-in across processes, types the stamp into
# Word's window and puts the returned tooltip on the controls. Word 2000
# finds Outlook through the running-object table; with no Outlook running it
# says so in a message box.
. "$(dirname "$0")/e2e-lib.sh"
e2e_start word

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL" "$E2E_WORD_DLL"
e2e_register "$stage/Chronoquill.dll" "$stage/Chronoquill4W.dll"

check "the scripted Outlook 2003 is running" start_outlook outlook11 --version 11 delete-ini
check "Word 2003 runs its script" run_host word word11 --version 11 \
    "new mail" controls \
    "click-button Chronoquill4Wbtn3" print-editor \
    "set-ini format=time" \
    "click-menu Insert Chronoquill4Wbtn2" print-editor controls \
    "hover Chronoquill4Wbtn3" "screenshot $(winpath "$WORK/word11-mail.bmp")" delete-ini
stop_outlook outlook11
to_png "$WORK/word11-mail.bmp"
out=$WORK/word11.out
reg_query "$WORK/tooltip.txt" 'HKCU\Software\Quintor\Inkwell' /v Tooltip

before=$(controls_of "$out" Word 1)
check "Word's toolbar ends with the stamp button" has_line "$before" \
    'control Standard#7 type=1 id=1 tag="Chronoquill4Wbtn3" caption="" tooltip="Insert date and time" visible=1 style=1 begin-group=0 face=picture:16x16,mask:16x16 temporary=1'
check "Word's Insert menu ends with the stamp entry" has_line "$before" \
    'control Menu Bar/Insert#5 type=1 id=1 tag="Chronoquill4Wbtn2" caption="Insert date and time" tooltip="" visible=1 style=3 begin-group=1 face=picture:16x16,mask:16x16 temporary=1'
check "the button types the stamp from Outlook and one space" has_match "$out" "^editor: \"$STAMP_RE \"\$"
check "after the settings changed to time only, the menu entry types the time" \
    has_match "$out" "^editor: \"$STAMP_RE $TIME_RE \"\$"
after=$(controls_of "$out" Word 2)
check "the returned tooltip is on the button" has_match "$after" \
    '^control Standard#7 .*tag="Chronoquill4Wbtn3" caption="" tooltip="Insert time" visible=1 '
check "and is the menu entry's caption" has_match "$after" \
    '^control Menu Bar/Insert#5 .*tag="Chronoquill4Wbtn2" caption="Insert time" tooltip="" visible=1 '
check "the Outlook add-in keeps the new tooltip in the registry" has_match "$WORK/tooltip.txt" \
    'Tooltip +REG_SZ +Insert time$'
check "no message box came up" lacks_match "$out" '^message-box:'
check "Word lets go of every host object" has_line "$out" 'host references: 0 (exported objects 0)'
check "Outlook lets go of every host object" has_line "$WORK/outlook11.out" 'host references: 0 (exported objects 0)'
check "neither host failed a command" lacks_match "$out" '^error:'
check "... nor Outlook" lacks_match "$WORK/outlook11.out" '^error:'

# Word 2000 finds Outlook in the running-object table.
check "the scripted Outlook 2003 is running again" start_outlook outlook11b --version 11
check "Word 2000 runs its script" run_host word word9 --version 9 "new mail" controls \
    "click-button Chronoquill4Wbtn3" print-editor "screenshot $(winpath "$WORK/word9-mail.bmp")"
stop_outlook outlook11b
to_png "$WORK/word9-mail.bmp"
check "Word 2000's controls show face 125" count_is "$(controls_of "$WORK/word9.out" Word)" \
    'face=faceid:125 temporary=1$' 2
check "Word 2000 types the stamp from the running Outlook" has_match "$WORK/word9.out" \
    "^editor: \"$STAMP_RE \"\$"

# No Outlook at all.
check "Word 2000 runs without Outlook" run_host word word9-alone --version 9 --box-shots \
    "$(winpath "$WORK/word9-alone-box")" "new mail" "click-button Chronoquill4Wbtn3" print-editor
to_png "$WORK/word9-alone-box1.bmp"
check "Word 2000 says that Outlook is not running" has_line "$WORK/word9-alone.out" \
    'message-box: title="Chronoquill" text="This functionality works only if Microsoft Outlook is running."'
check "and types nothing" has_line "$WORK/word9-alone.out" 'editor: ""'
