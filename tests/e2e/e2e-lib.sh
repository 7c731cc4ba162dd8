# Sourced by the end-to-end scenarios: one X display and one persistent
# wineserver for the whole scenario, the add-in DLLs staged and registered
# with regsvr32 in the scenario prefix, the scripted hosts run with their
# output in files (never a pipe), and the checks.
#
# Environment (set by CTest): E2E_RUNNER (cmake/wine-run.sh), E2E_SESSION
# (scripts/wine-session.sh), E2E_PREFIX (the Wine prefix), E2E_HOSTS (folder of
# scripted-outlook.exe and scripted-word.exe), E2E_WORK (scratch folder),
# E2E_OUTLOOK_DLL, E2E_WORD_DLL, E2E_LIBQUINTOR_DLL; CQ_WINEARCH=win64 for a
# 64-bit prefix.
set -u
: "${E2E_RUNNER:?}" "${E2E_SESSION:?}" "${E2E_PREFIX:?}" "${E2E_HOSTS:?}" "${E2E_WORK:?}"

E2E_FAILED=0
E2E_CHECKS=0
# The class the scripted Outlook registers in the running-object table under.
E2E_OUTLOOK_CLSID='{6F1C2A3B-7D4E-4F50-9A61-B2C3D4E5F601}'
E2E_PROGIDS="Chronoquill.Connect Chronoquill4W.Connect"
# The type libraries that the add-ins register beside their classes.
E2E_TYPELIBS="{9A5DB1D0-4380-4C18-83E4-D15DBE46A51A} {2BDC37CB-E69B-4B6B-828C-6076AE8E532B}"
# The registry view that the mirrored classes go to: in a 64-bit prefix the
# 64-bit one, where the 64-bit hosts look (Wine's reg.exe copies to the 32-bit
# view unless told).
E2E_VIEW=()
[ "${CQ_WINEARCH:-win32}" = win64 ] && E2E_VIEW=(/reg:64)
# The stamp with the prefix's pinned formats: short date dd.MM.yyyy, time
# without seconds from HH:mm:ss.
DATE_RE='[0-3][0-9]\.[01][0-9]\.[0-9]{4}'
TIME_RE='[0-2][0-9]:[0-5][0-9]'
STAMP_RE="$DATE_RE $TIME_RE"

# Runs a Windows program in the scenario prefix; the caller redirects output.
wine_() { "$E2E_RUNNER" "$E2E_PREFIX" "$@"; }
# A Unix path as Wine's Z: drive sees it.
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

e2e_start() {
    SCENARIO=$1
    WORK=$E2E_WORK/$SCENARIO
    rm -rf "$WORK"
    mkdir -p "$WORK"
    export WINEPREFIX=$E2E_PREFIX
    # shellcheck source=/dev/null
    . "$E2E_SESSION"
    wine_session_start
    trap e2e_end EXIT
    wine_ reg add 'HKLM\Software\Classes\Outlook.Application\CLSID' /ve /d "$E2E_OUTLOOK_CLSID" /f \
        >"$WORK/setup.log" 2>&1 || true
    e2e_forget
}

e2e_end() {
    local rc=$?
    e2e_forget
    wine_session_end
    echo "$SCENARIO: $((E2E_CHECKS - E2E_FAILED)) of $E2E_CHECKS checks passed"
    if [ "$E2E_FAILED" -ne 0 ] || [ "$rc" -ne 0 ]; then
        for f in "$WORK"/*.out; do
            [ -f "$f" ] || continue
            echo "---- $f"
            cat "$f"
        done
        exit 1
    fi
}

# The CLSID registered for a ProgID under HKCU (or HKLM) Software\Classes, or "".
clsid_of() {
    local root=$1 progid=$2 out=$WORK/query.txt
    wine_ reg query "$root\\Software\\Classes\\$progid\\CLSID" /ve "${E2E_VIEW[@]}" >"$out" 2>&1 || true
    grep -o '{[0-9A-Fa-f-]*}' "$out" | head -1
}

# Removes every trace of the add-ins from the prefix: registrations (also the
# copies under HKLM that Wine needs) and the "Tooltip" value.
e2e_forget() {
    e2e_forget_mirrors
    local progid clsid app
    for progid in $E2E_PROGIDS; do
        clsid=$(clsid_of HKCU "$progid")
        [ -n "$clsid" ] && wine_ reg delete "HKCU\\Software\\Classes\\CLSID\\$clsid" /f >/dev/null 2>&1
        wine_ reg delete "HKCU\\Software\\Classes\\$progid" /f >/dev/null 2>&1
        for app in Outlook Word; do
            wine_ reg delete "HKCU\\Software\\Microsoft\\Office\\$app\\Addins\\$progid" /f >/dev/null 2>&1
        done
    done
    local libid
    for libid in $E2E_TYPELIBS; do
        wine_ reg delete "HKCU\\Software\\Classes\\TypeLib\\$libid" /f >/dev/null 2>&1
    done
    wine_ reg delete 'HKCU\Software\Quintor\Inkwell' /v Tooltip /f >/dev/null 2>&1
    return 0
}

# Removes the copies of the classes under HKLM (the test's own doing).
e2e_forget_mirrors() {
    local progid clsid
    for progid in $E2E_PROGIDS; do
        clsid=$(clsid_of HKLM "$progid")
        [ -n "$clsid" ] && wine_ reg delete "HKLM\\Software\\Classes\\CLSID\\$clsid" /f "${E2E_VIEW[@]}" >/dev/null 2>&1
        wine_ reg delete "HKLM\\Software\\Classes\\$progid" /f "${E2E_VIEW[@]}" >/dev/null 2>&1
    done
    return 0
}

# Copies DLLs into a folder of the scenario.
e2e_stage() {
    local dir=$1
    shift
    mkdir -p "$dir"
    cp "$@" "$dir/"
}

# regsvr32 for each DLL, then the per-user classes mirrored.
e2e_register() {
    local dll
    for dll in "$@"; do
        check "regsvr32 $(basename "$dll")" wine_ regsvr32 /s "$(winpath "$dll")"
    done
    e2e_mirror_classes
}

# The per-user classes of the add-ins copied to HKLM, since Wine 8 does not
# merge HKCU classes into HKEY_CLASSES_ROOT (the tests' own doing; the
# add-ins register per user only).
e2e_mirror_classes() {
    local progid clsid
    for progid in $E2E_PROGIDS; do
        clsid=$(clsid_of HKCU "$progid")
        [ -n "$clsid" ] || continue
        wine_ reg copy "HKCU\\Software\\Classes\\CLSID\\$clsid" "HKLM\\Software\\Classes\\CLSID\\$clsid" /s /f "${E2E_VIEW[@]}" >>"$WORK/setup.log" 2>&1
        wine_ reg copy "HKCU\\Software\\Classes\\$progid" "HKLM\\Software\\Classes\\$progid" /s /f "${E2E_VIEW[@]}" >>"$WORK/setup.log" 2>&1
    done
}

e2e_unregister() {
    local dll
    for dll in "$@"; do
        check "regsvr32 /u $(basename "$dll")" wine_ regsvr32 /u /s "$(winpath "$dll")"
    done
}

# run_host outlook|word NAME ARGS...: runs the scripted host in the
# foreground, output in $WORK/NAME.out.
run_host() {
    local host=$1 name=$2
    shift 2
    timeout 240 "$E2E_RUNNER" "$E2E_PREFIX" "$E2E_HOSTS/scripted-$host.exe" "$@" \
        >"$WORK/$name.out" 2>"$WORK/$name.err"
}

# start_outlook NAME ARGS...: the scripted Outlook in the background, serving
# until stop_outlook; returns once it is in the running-object table.
start_outlook() {
    local name=$1
    shift
    rm -f "$WORK/$name.ready" "$WORK/$name.stop"
    timeout 240 "$E2E_RUNNER" "$E2E_PREFIX" "$E2E_HOSTS/scripted-outlook.exe" "$@" \
        "ready $(winpath "$WORK/$name.ready")" "wait-file $(winpath "$WORK/$name.stop") 200000" \
        >"$WORK/$name.out" 2>"$WORK/$name.err" &
    OUTLOOK_PID=$!
    local i
    for i in $(seq 600); do
        [ -f "$WORK/$name.ready" ] && return 0
        kill -0 "$OUTLOOK_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "the scripted Outlook did not get ready" >&2
    return 1
}

stop_outlook() {
    local name=$1
    touch "$WORK/$name.stop"
    wait "$OUTLOOK_PID"
}

# A screenshot saved by a host as BMP, as PNG beside it.
to_png() {
    local bmp=$1
    check "screenshot $(basename "${bmp%.bmp}.png")" convert "$bmp" "${bmp%.bmp}.png"
}

# check DESCRIPTION COMMAND...: one check; a failure is counted and shown.
check() {
    local what=$1
    shift
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if "$@"; then
        echo "ok   - $what"
    else
        E2E_FAILED=$((E2E_FAILED + 1))
        echo "FAIL - $what"
    fi
}

# Line tests on a host's output.
has_line() { grep -Fxq -- "$2" "$1"; }
has_match() { grep -Eq -- "$2" "$1"; }
lacks_match() { ! grep -Eq -- "$2" "$1"; }
# count_is FILE REGEX N
count_is() { [ "$(grep -Ec -- "$2" "$1")" -eq "$3" ]; }

# controls_of FILE N [OCCURRENCE]: the control lines printed by the
# OCCURRENCE-th (default last) "controls" listing of window N (or of "Word",
# or of the "explorer"), into $WORK/controls.txt; prints that file's name.
controls_of() {
    local file=$1 which=$2 nth=${3:-0} header
    case $which in
        Word | explorer) header="controls of $which" ;;
        *) header="controls of window $which" ;;
    esac
    awk -v header="$header" -v nth="$nth" '
        $0 == header { n++; take = (nth == 0 || n == nth); if (take) { delete lines; k = 0 } ; next }
        take && /^control / { lines[++k] = $0; next }
        { take = 0 }
        END { for (i = 1; i <= k; i++) print lines[i] }' "$file" >"$WORK/controls.txt"
    echo "$WORK/controls.txt"
}

# reg_query FILE KEY [ARGS...]: "reg query" output in FILE, without CRs.
reg_query() {
    local file=$1
    shift
    wine_ reg query "$@" >"$file.raw" 2>&1
    local rc=$?
    tr -d '\r' <"$file.raw" >"$file"
    rm -f "$file.raw"
    return $rc
}

# user_registry FILE: every key and value name under HKEY_CURRENT_USER, as
# "key" and "key|value" lines (sorted), read from the prefix's user.reg. The
# wineserver is ended first, so that the file is current, and started again.
user_registry() {
    local file=$1
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    awk '/^\[/ { key = substr($0, 2, index($0, "]") - 2); print key; next }
         /^@=/ { print key "|@"; next }
         /^"/  { name = substr($0, 2); sub(/"=.*$/, "", name); print key "|" name }' \
        "$E2E_PREFIX/user.reg" | LC_ALL=C sort -u >"$file"
    wineserver -p >/dev/null 2>&1
}
