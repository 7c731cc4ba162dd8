# Sourced by the installer scenarios (after tests/e2e/e2e-lib.sh): running
# Chronoquill-Setup.exe and its uninstaller in the scenario prefix, and the
# checks of what they leave. CQ_SETUP names Setup, CQ_SHIPPED_SETTINGS the
# Chronoquill.ini that it carries.
: "${CQ_SETUP:?}" "${CQ_SHIPPED_SETTINGS:?}"

UNINST_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Chronoquill'
# ProgID:application:the module its class names, below the installation folder.
ADDINS=${ADDINS:-"Chronoquill.Connect:Outlook:Chronoquill.dll Chronoquill4W.Connect:Word:Chronoquill4W.dll"}
PROGRAM_FILES="Chronoquill.dll Chronoquill4W.dll LibQuintor.dll Uninstall.exe"
USER_SETTINGS=$'; mine\r\nformat=time\r\n'

# The value of a Windows environment variable in the prefix.
win_env() {
    wine_ cmd /c "echo %$1%" >"$WORK/env.txt" 2>/dev/null
    tr -d '\r\n' <"$WORK/env.txt"
}
# A Windows path as a Unix path.
unix_path() {
    wine_ winepath -u "$1" >"$WORK/path.txt" 2>/dev/null
    tr -d '\r\n' <"$WORK/path.txt"
}

# Every file and folder below C:, except Windows' own and the temporary files.
files_of() {
    (cd "$E2E_PREFIX/drive_c" && find . -path ./windows -prune -o -path '*/Temp' -prune -o -print) |
        LC_ALL=C sort >"$1"
}

# files_re C:\a\b: the path as files_of lists it (./a/b), as a regular expression.
files_re() {
    printf '\\.%s' "$(printf '%s' "${1#C:}" | tr '\\' / | sed 's/[][\.*^$()+?{}|]/\\&/g')"
}

# The value of a registry value as "reg query" shows it, or "" when missing.
reg_value() {
    local key=$1 name=$2
    if [ "$name" = "@" ]; then
        reg_query "$WORK/value.txt" "$key" /ve || return 0
        sed -n 's/^ *(Default) *REG_[A-Z_]* *//p' "$WORK/value.txt" | head -1
    else
        reg_query "$WORK/value.txt" "$key" /v "$name" || return 0
        sed -n "s/^ *$name *REG_[A-Z_]* *//p" "$WORK/value.txt" | head -1
    fi
}

# The per-user classes mirrored to HKLM anew (Setup writes HKCU only): the
# mirrors of an earlier install forgotten first.
mirror_classes() {
    e2e_forget_mirrors
    e2e_mirror_classes
}

# setup NAME OPTIONS: runs Chronoquill-Setup.exe with the OPTIONS as they
# would be typed (/D= takes the rest of the line, blanks and all); its exit code.
setup() {
    local name=$1
    timeout 300 "$E2E_RUNNER" "$E2E_PREFIX" cmd /c "$(winpath "$CQ_SETUP") $2" \
        >"$WORK/$name.out" 2>"$WORK/$name.err"
}

# Whether an uninstaller copy of this prefix is still running. The
# uninstaller runs from a copy in the temporary folder and returns at once.
uninstaller_running() {
    local pid
    for pid in $(pgrep -f 'nsu[^\\]*\.tmp\\Un' 2>/dev/null); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -Fxq "WINEPREFIX=$E2E_PREFIX" && return 0
    done
    return 1
}

# uninstall NAME: runs the quiet uninstall command of the list of installed
# programs and waits until the uninstaller has ended.
uninstall() {
    local name=$1 command exe
    command=$(reg_value "$UNINST_KEY" QuietUninstallString)
    exe=$(printf '%s' "$command" | sed -n 's/^"\([^"]*\)" \/S$/\1/p')
    [ -n "$exe" ] || { echo "no quiet uninstall command: [$command]" >&2; return 1; }
    timeout 120 "$E2E_RUNNER" "$E2E_PREFIX" "$exe" /S >"$WORK/$name.out" 2>"$WORK/$name.err" || return 1
    local i
    for i in $(seq 1200); do
        uninstaller_running || return 0
        sleep 0.1
    done
    echo "the uninstaller did not end" >&2
    return 1
}

# A fingerprint of an installation: its files' contents and its keys.
fingerprint() {
    local dir=$1 out=$2
    (cd "$dir" && find . -type f | LC_ALL=C sort | xargs md5sum --) >"$out" 2>&1
    reg_query "$out.keys" "$UNINST_KEY" || true
    cat "$out.keys" >>"$out"
    reg_query "$out.keys" 'HKCU\Software\Classes' /s || true
    grep -i -A3 'chronoquill\|InprocServer32' "$out.keys" >>"$out" || true
    rm -f "$out.keys"
}

# check_stops_in_use DIR: with a host holding the add-ins of DIR, Setup and the
# uninstaller stop at once and change no file and no key.
check_stops_in_use() {
    local dir=$1
    fingerprint "$dir" "$WORK/in-use-before.txt"
    setup in-use-install /S
    check "Setup stops with exit code 2 while Outlook holds the add-in" test $? -eq 2
    check "the uninstaller runs while Outlook holds the add-in" uninstall in-use-uninstall
    fingerprint "$dir" "$WORK/in-use-after.txt"
    check "... and neither changed a file or a key" cmp -s "$WORK/in-use-before.txt" "$WORK/in-use-after.txt"
}

# check_installed DIR_WIN DIR: the files and the keys of an installation in
# DIR; with E2E_OUTLOOK64_DLL set (64-bit Windows) the 64-bit pair in DIR/x64,
# else no such folder.
check_installed() {
    local win=$1 dir=$2 f entry progid app dll clsid
    for f in $PROGRAM_FILES Chronoquill.ini; do
        check "$f is installed" test -f "$dir/$f"
    done
    check "Chronoquill.dll is the one built" cmp -s "$dir/Chronoquill.dll" "$E2E_OUTLOOK_DLL"
    check "Chronoquill4W.dll is the one built" cmp -s "$dir/Chronoquill4W.dll" "$E2E_WORD_DLL"
    check "LibQuintor.dll is the one built" cmp -s "$dir/LibQuintor.dll" "$E2E_LIBQUINTOR_DLL"
    if [ -n "${E2E_OUTLOOK64_DLL:-}" ]; then
        check "x64/Chronoquill.dll is the 64-bit one built" cmp -s "$dir/x64/Chronoquill.dll" "$E2E_OUTLOOK64_DLL"
        check "x64/LibQuintor.dll is the 64-bit one built" \
            cmp -s "$dir/x64/LibQuintor.dll" "$E2E_LIBQUINTOR64_DLL"
        check "x64/Chronoquill.ini is installed" test -f "$dir/x64/Chronoquill.ini"
    else
        check "no 64-bit add-in on 32-bit Windows" test ! -e "$dir/x64"
    fi
    check "the list of installed programs names Chronoquill" \
        test "$(reg_value "$UNINST_KEY" DisplayName)" = Chronoquill
    check "... with its folder" test "$(reg_value "$UNINST_KEY" InstallLocation)" = "$win"
    check "... and the silent uninstall command" \
        test "$(reg_value "$UNINST_KEY" QuietUninstallString)" = "\"$win\\Uninstall.exe\" /S"
    for entry in $ADDINS; do
        IFS=: read -r progid app dll <<<"$entry"
        clsid=$(clsid_of HKCU "$progid")
        check "$progid is registered for the user" test -n "$clsid"
        check "... served by the installed $dll" \
            test "$(reg_value "HKCU\\Software\\Classes\\CLSID\\$clsid\\InprocServer32" @)" = "$win\\$dll"
        check "... and $app loads it at start-up" test \
            "$(reg_value "HKCU\\Software\\Microsoft\\Office\\$app\\Addins\\$progid" LoadBehavior)" = 0x3
    done
}

# check_one_registration: each add-in has one class, one ProgID and one
# Office key, and there is one entry in the list of installed programs.
check_one_registration() {
    local entry progid app dll
    reg_query "$WORK/classes.txt" 'HKCU\Software\Classes' /s
    for entry in $ADDINS; do
        IFS=: read -r progid app dll <<<"$entry"
        check "one ProgID key $progid" count_is "$WORK/classes.txt" "^HKEY_CURRENT_USER\\\\Software\\\\Classes\\\\$progid\$" 1
        check "one class serves $progid" count_is "$WORK/classes.txt" "^ +\\(Default\\) +REG_SZ +$progid\$" 1
        # The class's server and its type library, once each.
        check "one class and one type library name $dll" \
            count_is "$WORK/classes.txt" "\\\\${dll##*\\}\$" 2
        reg_query "$WORK/addins.txt" "HKCU\\Software\\Microsoft\\Office\\$app\\Addins" /s
        check "one $app add-in key" count_is "$WORK/addins.txt" '^HKEY_CURRENT_USER.*\\Addins\\' 1
    done
    reg_query "$WORK/programs.txt" 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s
    check "one entry in the list of installed programs" \
        count_is "$WORK/programs.txt" '^ +DisplayName +REG_SZ +Chronoquill$' 1
}

# check_left_only NAME ALLOWED_FILES: after an uninstall, compared with the
# state before the first install: the registry holds nothing new but the
# "Tooltip" value with its keys, and C: nothing new but the files ALLOWED_FILES
# (an extended regular expression over the paths as files_of lists them; ""
# for none); nothing that was there is gone.
check_left_only() {
    local name=$1 allowed=$2
    e2e_forget_mirrors
    user_registry "$WORK/$name-registry.txt"
    files_of "$WORK/$name-files.txt"
    LC_ALL=C comm -13 "$WORK/before-registry.txt" "$WORK/$name-registry.txt" |
        grep -v -x -E 'Software\\\\Quintor(\\\\Inkwell(\|Tooltip)?)?' >"$WORK/$name-new-keys.txt"
    LC_ALL=C comm -23 "$WORK/before-registry.txt" "$WORK/$name-registry.txt" >"$WORK/$name-lost-keys.txt"
    # Windows' folder for per-user programs may stay: it is not ours.
    allowed="\\./users/[^/]+/AppData/Local/Programs${allowed:+|$allowed}"
    LC_ALL=C comm -13 "$WORK/before-files.txt" "$WORK/$name-files.txt" |
        grep -v -x -E "$allowed" >"$WORK/$name-new-files.txt"
    LC_ALL=C comm -23 "$WORK/before-files.txt" "$WORK/$name-files.txt" >"$WORK/$name-lost-files.txt"
    check "$name: no key of ours is left" test ! -s "$WORK/$name-new-keys.txt"
    check "$name: no key names an add-in" lacks_match "$WORK/$name-registry.txt" '[Cc]hronoquill'
    check "$name: the user's Tooltip value stays" \
        has_line "$WORK/$name-registry.txt" 'Software\\Quintor\\Inkwell|Tooltip'
    check "$name: no file of ours is left" test ! -s "$WORK/$name-new-files.txt"
    check "$name: nothing that was there before is gone" \
        test ! -s "$WORK/$name-lost-keys.txt" -a ! -s "$WORK/$name-lost-files.txt"
    local f
    for f in new-keys lost-keys new-files lost-files; do
        if [ -s "$WORK/$name-$f.txt" ]; then
            echo "---- $name: $f"
            cat "$WORK/$name-$f.txt"
        fi
    done
}


# installer_start NAME: starts the scenario with nothing of an earlier run
# left and the state before the first install recorded. Sets install_win and
# install_dir (the default folder, as Windows and as Unix path), other_win and
# other_dir (a folder with blanks to move to), logs_dir.
installer_start() {
    e2e_start "$1"
    local_appdata=$(win_env LOCALAPPDATA)
    appdata=$(win_env APPDATA)
    install_win="$local_appdata\\Programs\\Chronoquill"
    install_dir=$(unix_path "$install_win")
    logs_dir=$(unix_path "$appdata\\Quintor\\Inkwell")
    other_win='C:\Stamps and more\Chronoquill'
    other_dir=$(unix_path "$other_win")
    # What an earlier run may have left.
    rm -rf "$install_dir" "$(dirname "$other_dir")" "$(dirname "$logs_dir")"
    wine_ reg delete "$UNINST_KEY" /f >/dev/null 2>&1
    wine_ reg delete 'HKCU\Software\Quintor' /f >/dev/null 2>&1
    user_registry "$WORK/before-registry.txt"
    files_of "$WORK/before-files.txt"
}
