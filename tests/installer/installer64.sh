#!/usr/bin/env bash
# Chronoquill-Setup.exe under Wine in a 64-bit prefix (64-bit Windows):
#   1. a silent install puts the 32-bit add-ins into the folder and the 64-bit
#      Outlook add-in with its support library and a settings file of its own
#      into x64, and registers each build with the regsvr32 of its bitness;
#   2. the scripted 64-bit Outlook 2016 loads the 64-bit add-in and its ribbon
#      button types a stamp; while it holds the add-in, Setup and the
#      uninstaller stop without changing anything; the scripted 32-bit
#      Outlook 2003 loads the 32-bit add-in of the same installation;
#   3. installing again keeps the user's changed 64-bit settings file, which
#      the 64-bit add-in follows; installing into another folder moves both
#      builds with the user's settings;
#   4. a silent uninstall leaves no file and no key of ours except the changed
#      settings file and the user's "Tooltip" value;
#   5. unchanged settings files go with the rest, and the keys go even when
#      the user deleted the 64-bit DLL by hand.
# Environment: that of installer.sh, in a 64-bit prefix (CQ_WINEARCH=win64,
# E2E_HOSTS the 64-bit hosts), and E2E_HOSTS32 (the 32-bit build's hosts),
# E2E_OUTLOOK64_DLL and E2E_LIBQUINTOR64_DLL (the 64-bit pair).
#
# Wine 8 keeps one HKCU class key for both registry views, so the class names
# the build registered last, the 64-bit one; on Windows each view has its own.
# The classes mirrored to HKLM stand in for that rule: there each view names
# the build of its bitness (see mirror_views).
. "$(dirname "$0")/../e2e/e2e-lib.sh"
: "${E2E_HOSTS32:?}" "${E2E_OUTLOOK64_DLL:?}" "${E2E_LIBQUINTOR64_DLL:?}"
ADDINS="Chronoquill.Connect:Outlook:x64\\Chronoquill.dll Chronoquill4W.Connect:Word:Chronoquill4W.dll"
. "$(dirname "$0")/installer-lib.sh"

OUTLOOK_CLSID='{DDAE8299-4AC0-464C-86CC-713F59DA574E}'
WORD_CLSID='{48C227F2-A7FD-4B1C-A52B-79B8422992FD}'
TYPELIBS='HKCU\Software\Classes\TypeLib'

# The HKLM class mirrors of both views removed.
forget_views() {
    local view clsid progid
    for view in 32 64; do
        for clsid in "$OUTLOOK_CLSID" "$WORD_CLSID"; do
            wine_ reg delete "HKLM\\Software\\Classes\\CLSID\\$clsid" /f /reg:$view >/dev/null 2>&1
        done
        for progid in $E2E_PROGIDS; do
            wine_ reg delete "HKLM\\Software\\Classes\\$progid" /f /reg:$view >/dev/null 2>&1
        done
    done
    return 0
}

# mirror_views DIR_WIN: the per-user classes copied to HKLM, the Outlook
# add-in's into both views with the 32-bit build of DIR_WIN in the 32-bit view
# and the 64-bit build in the 64-bit one, the Word add-in's into the 32-bit view.
mirror_views() {
    local dir=$1 view
    forget_views
    for view in 32 64; do
        wine_ reg copy "HKCU\\Software\\Classes\\CLSID\\$OUTLOOK_CLSID" \
            "HKLM\\Software\\Classes\\CLSID\\$OUTLOOK_CLSID" /s /f /reg:$view >>"$WORK/setup.log" 2>&1
        wine_ reg copy 'HKCU\Software\Classes\Chronoquill.Connect' \
            'HKLM\Software\Classes\Chronoquill.Connect' /s /f /reg:$view >>"$WORK/setup.log" 2>&1
    done
    wine_ reg add "HKLM\\Software\\Classes\\CLSID\\$OUTLOOK_CLSID\\InprocServer32" /ve \
        /d "$dir\\Chronoquill.dll" /f /reg:32 >>"$WORK/setup.log" 2>&1
    wine_ reg add "HKLM\\Software\\Classes\\CLSID\\$OUTLOOK_CLSID\\InprocServer32" /ve \
        /d "$dir\\x64\\Chronoquill.dll" /f /reg:64 >>"$WORK/setup.log" 2>&1
    wine_ reg copy "HKCU\\Software\\Classes\\CLSID\\$WORD_CLSID" \
        "HKLM\\Software\\Classes\\CLSID\\$WORD_CLSID" /s /f /reg:32 >>"$WORK/setup.log" 2>&1
    wine_ reg copy 'HKCU\Software\Classes\Chronoquill4W.Connect' \
        'HKLM\Software\Classes\Chronoquill4W.Connect' /s /f /reg:32 >>"$WORK/setup.log" 2>&1
}

# outlook64 NAME ARGS...: the scripted 64-bit Outlook 2016 with a new mail and
# a click on the ribbon button, then ARGS.
outlook64() {
    local name=$1
    shift
    run_host outlook "$name" --version 16 "new mail" ribbon-click print-editor "$@"
}

# outlook32 NAME ARGS...: the scripted 32-bit Outlook of the 32-bit build.
outlook32() {
    local E2E_HOSTS=$E2E_HOSTS32
    run_host outlook "$@"
}

installer_start installer64
forget_views

# 1. A silent install of both builds.
check "Setup /S installs on 64-bit Windows" setup install /S
check_installed "$install_win" "$install_dir"
for ini in Chronoquill.ini x64/Chronoquill.ini; do
    check "$ini is the shipped settings file" cmp -s "$install_dir/$ini" "$CQ_SHIPPED_SETTINGS"
done
check_one_registration
# Each build names its module in a platform subkey of its own.
check "the 64-bit regsvr32 registered the 64-bit Outlook add-in" test \
    "$(reg_value "$TYPELIBS\\{9A5DB1D0-4380-4C18-83E4-D15DBE46A51A}\\1.0\\0\\win64" @)" = \
    "$install_win\\x64\\Chronoquill.dll"
check "the 32-bit regsvr32 registered the Word add-in" test \
    "$(reg_value "$TYPELIBS\\{2BDC37CB-E69B-4B6B-828C-6076AE8E532B}\\1.0\\0\\win32" @)" = \
    "$install_win\\Chronoquill4W.dll"

# 2. Outlook of each bitness with its build; the 64-bit one holds its DLL.
mirror_views "$install_win"
check "the scripted 64-bit Outlook 2016 is running" start_outlook outlook16 --version 16 \
    "new mail" ribbon-click print-editor
check_stops_in_use "$install_dir"
stop_outlook outlook16
check "64-bit Outlook connected the installed add-in" \
    has_match "$WORK/outlook16.out" '^add-in Chronoquill.Connect: connected in [0-9]+ us$'
check "its ribbon button typed the stamp and one space" \
    has_match "$WORK/outlook16.out" "^editor: \"$STAMP_RE \"\$"
check "the scripted 32-bit Outlook 2003 runs its script" outlook32 outlook11 --version 11 \
    "new mail" "click-button Insert date and time" print-editor
check "the 32-bit add-in of the installation typed the stamp" \
    has_match "$WORK/outlook11.out" "^editor: \"$STAMP_RE \"\$"

# 3. The user changes the 64-bit settings; installing again keeps them.
printf '%s' "$USER_SETTINGS" >"$install_dir/x64/Chronoquill.ini"
cp "$install_dir/x64/Chronoquill.ini" "$WORK/user.ini"
check "Setup /S installs over the installation" setup upgrade /S
check_installed "$install_win" "$install_dir"
check "the user's 64-bit settings file stays" cmp -s "$install_dir/x64/Chronoquill.ini" "$WORK/user.ini"
check "the 32-bit settings file is still the shipped one" \
    cmp -s "$install_dir/Chronoquill.ini" "$CQ_SHIPPED_SETTINGS"
check_one_registration
mirror_views "$install_win"
check "64-bit Outlook runs its script" outlook64 outlook16-upgraded get-stamp
check "the upgraded 64-bit add-in types the time the user chose" \
    has_match "$WORK/outlook16-upgraded.out" "^editor: \"$TIME_RE \"\$"
check "Tooltip holds the user's stamp order" \
    test "$(reg_value 'HKCU\Software\Quintor\Inkwell' Tooltip)" = "Insert time"

check "Setup /S /D installs into another folder" setup move "/S /D=$other_win"
check_installed "$other_win" "$other_dir"
check "the user's 64-bit settings file moves along" cmp -s "$other_dir/x64/Chronoquill.ini" "$WORK/user.ini"
check "nothing is left in the first folder" test ! -e "$install_dir"
check_one_registration
mirror_views "$other_win"
check "64-bit Outlook runs its script from the new folder" outlook64 outlook16-moved
check "the moved 64-bit add-in types the time the user chose" \
    has_match "$WORK/outlook16-moved.out" "^editor: \"$TIME_RE \"\$"

# 4. A silent uninstall keeps the changed settings file and the Tooltip value.
forget_views
check "the quiet uninstall command runs" uninstall uninstall
check "the changed 64-bit settings file stays" cmp -s "$other_dir/x64/Chronoquill.ini" "$WORK/user.ini"
check "the unchanged 32-bit settings file is gone" test ! -e "$other_dir/Chronoquill.ini"
stays=$(files_re "$other_win")
check_left_only uninstalled "$(dirname "$stays")|$stays|$stays/x64|$stays/x64/Chronoquill\\.ini"

# 5. Unchanged settings files go; the keys go without the 64-bit DLL too.
rm -rf "$(dirname "$other_dir")"
check "Setup /S installs again" setup reinstall /S
check_installed "$install_win" "$install_dir"
rm -f "$install_dir/x64/Chronoquill.dll"
check "the quiet uninstall command runs without the 64-bit add-in DLL" uninstall uninstall-again
check "the folder is gone" test ! -e "$install_dir"
check_left_only uninstalled-again ""
