#!/usr/bin/env bash
# Chronoquill-Setup.exe under Wine, in a prefix of its own:
#   1. a silent install puts the files and keys in place, and the scripted
#      Outlook 2003 loads the installed add-in from its Office add-in key and
#      types a stamp, which the scripted Word 2003 asks it for too;
#   2. while Outlook holds the add-in, Setup and the uninstaller stop without
#      changing anything;
#   3. installing again over the installation (the user changed the settings
#      file) keeps that file and leaves one registration; installing into
#      another folder moves the installation with the user's settings;
#   4. a silent uninstall leaves no file and no key of ours except the changed
#      settings file and the user's "Tooltip" value;
#   5. an unchanged settings file goes with the rest, and the keys go even
#      when the user deleted the DLLs by hand.
# Environment: that of tests/e2e/e2e-lib.sh, and CQ_SETUP (Chronoquill-Setup.exe)
# and CQ_SHIPPED_SETTINGS (the Chronoquill.ini that Setup carries).
. "$(dirname "$0")/../e2e/e2e-lib.sh"
. "$(dirname "$0")/installer-lib.sh"

installer_start installer

# 1. A silent install, then Outlook and Word with the installed add-ins.
check "Setup /S installs" setup install /S
check_installed "$install_win" "$install_dir"
check "the settings file is the shipped one" cmp -s "$install_dir/Chronoquill.ini" "$CQ_SHIPPED_SETTINGS"
check_one_registration
mirror_classes

check "the scripted Outlook 2003 is running" start_outlook outlook11 --version 11 \
    "new mail" "click-button Insert date and time" print-editor
check "Word 2003 runs its script" run_host word word11 --version 11 "new mail" \
    "click-button Chronoquill4Wbtn3" print-editor

# 2. With Outlook holding the add-in, Setup and the uninstaller stop at once.
check_stops_in_use "$install_dir"
stop_outlook outlook11

check "Outlook connected the installed add-in" \
    has_match "$WORK/outlook11.out" '^add-in Chronoquill.Connect: connected in [0-9]+ us$'
check "its button typed the stamp and one space" has_match "$WORK/outlook11.out" "^editor: \"$STAMP_RE \"\$"
check "Word connected the installed add-in" \
    has_match "$WORK/word11.out" '^add-in Chronoquill4W.Connect: connected in [0-9]+ us$'
check "Word typed the stamp from Outlook" has_match "$WORK/word11.out" "^editor: \"$STAMP_RE \"\$"
check "Outlook 2007 runs its script" run_host outlook outlook12 --version 12 "new mail" ribbon-click print-editor
check "the installed add-in's ribbon button typed the stamp" \
    has_match "$WORK/outlook12.out" "^editor: \"$STAMP_RE \"\$"
check "the support library logs in the user's folder" test -s "$logs_dir/LibQuintor.log"
check "the Word add-in logs in the user's folder" test -s "$logs_dir/WordAddin.log"

# 3. The user changes the settings; installing again keeps them.
printf '%s' "$USER_SETTINGS" >"$install_dir/Chronoquill.ini"
cp "$install_dir/Chronoquill.ini" "$WORK/user.ini"
check "Setup /S installs over the installation" setup upgrade /S
check_installed "$install_win" "$install_dir"
check "the user's settings file stays" cmp -s "$install_dir/Chronoquill.ini" "$WORK/user.ini"
check_one_registration
mirror_classes
check "the scripted Outlook 2003 runs its script" run_host outlook outlook11-upgraded --version 11 \
    "new mail" "click-button Insert time" print-editor get-stamp
check "the upgraded add-in types the time the user chose" \
    has_match "$WORK/outlook11-upgraded.out" "^editor: \"$TIME_RE \"\$"
check "Tooltip holds the user's stamp order" \
    test "$(reg_value 'HKCU\Software\Quintor\Inkwell' Tooltip)" = "Insert time"

check "Setup /S /D installs into another folder" setup move "/S /D=$other_win"
check_installed "$other_win" "$other_dir"
check "the user's settings file moves along" cmp -s "$other_dir/Chronoquill.ini" "$WORK/user.ini"
check "nothing is left in the first folder" test ! -e "$install_dir"
check_one_registration

# 4. A silent uninstall keeps the changed settings file and the Tooltip value.
check "the quiet uninstall command runs" uninstall uninstall
check "the changed settings file stays" cmp -s "$other_dir/Chronoquill.ini" "$WORK/user.ini"
check "Tooltip holds the user's last stamp order" \
    test "$(reg_value 'HKCU\Software\Quintor\Inkwell' Tooltip)" = "Insert time"
stays=$(files_re "$other_win")
check_left_only uninstalled "$(dirname "$stays")|$stays|$stays/Chronoquill\\.ini"

# 5. An unchanged settings file goes; the keys go without the DLLs too.
rm -rf "$(dirname "$other_dir")"
check "Setup /S installs again" setup reinstall /S
check "the shipped settings file is installed" cmp -s "$install_dir/Chronoquill.ini" "$CQ_SHIPPED_SETTINGS"
rm -f "$install_dir/Chronoquill.dll" "$install_dir/Chronoquill4W.dll"
check "the quiet uninstall command runs without the add-in DLLs" uninstall uninstall-again
check "the folder is gone" test ! -e "$install_dir"
check_left_only uninstalled-again ""
