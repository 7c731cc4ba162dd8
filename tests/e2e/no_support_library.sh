#!/usr/bin/env bash
# Chronoquill.dll without LibQuintor.dll beside it: Outlook loads the add-in,
# which stays inert (no controls, no ribbon, not published); Word's click
# then finds no Outlook add-in object and says so.
. "$(dirname "$0")/e2e-lib.sh"
e2e_start no_support_library

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_WORD_DLL"
e2e_register "$stage/Chronoquill.dll" "$stage/Chronoquill4W.dll"

check "the scripted Outlook 2003 is running" start_outlook outlook11 --version 11 \
    "new mail" controls com-add-ins "screenshot $(winpath "$WORK/outlook11-inert.bmp")"
check "Word 2003 runs its script" run_host word word11 --version 11 \
    --box-shots "$(winpath "$WORK/word11-box")" "new mail" \
    "click-button Chronoquill4Wbtn3" print-editor
stop_outlook outlook11
to_png "$WORK/outlook11-inert.bmp"
to_png "$WORK/word11-box1.bmp"
outlook=$WORK/outlook11.out
word=$WORK/word11.out

check "Outlook loads the add-in" has_match "$outlook" '^add-in Chronoquill.Connect: connected in '
check "the add-in adds no controls" count_is "$(controls_of "$outlook" 1)" 'temporary=1$' 0
check "and does not publish itself" has_line "$outlook" 'com-add-in Chronoquill.Connect: object not set'
check "Word says the Outlook add-in is not working" has_line "$word" \
    'message-box: title="Chronoquill" text="Outlook add-in is not working properly. Please enable or reinstall Chronoquill."'
check "and types nothing" has_line "$word" 'editor: ""'
check "Outlook lets go of every host object" has_line "$outlook" 'host references: 0 (exported objects 0)'
check "Word lets go of every host object" has_line "$word" 'host references: 0 (exported objects 0)'

# Outlook 2007: the inert add-in gives no stamp either.
check "Outlook 2007 runs its script" run_host outlook outlook12 --version 12 "new mail" ribbon \
    com-add-ins
check "Outlook 2007 does not publish the inert add-in" has_line "$WORK/outlook12.out" \
    'com-add-in Chronoquill.Connect: object not set'
