#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix.
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix is created on first use, with the user's formats pinned so that
# tests see the same short date (dd.MM.yyyy) and time picture (HH:mm:ss) on
# every machine. Without an X display the program runs under xvfb-run.
# Output appears when the program has ended.
set -euo pipefail
prefix=$1
shift
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers, and no menu entries or file associations made
# for what a test installs.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
# A 32-bit prefix unless wine64-run.sh asks for a 64-bit one.
export WINEARCH=${CQ_WINEARCH:-win32}

# Children must not inherit the lock: Wine's services outlive the set-up.
mkdir -p "$(dirname "$prefix")"
if [ ! -f "$prefix/.chronoquill-ready" ]; then
    (
        flock 9
        if [ ! -f "$prefix/.chronoquill-ready" ]; then
            # -u: a whole prefix, services included (-i alone leaves out the RPC
            # service behind the running-object table).
            wineboot -u >/dev/null 2>&1 9>&- || true
            intl='HKCU\Control Panel\International'
            wine reg add "$intl" /v sShortDate /d dd.MM.yyyy /f >/dev/null 2>&1 9>&-
            wine reg add "$intl" /v sTimeFormat /d HH:mm:ss /f >/dev/null 2>&1 9>&-
            wine reg add "$intl" /v sLongDate /d "dddd, d. MMMM yyyy" /f >/dev/null 2>&1 9>&-
            # Windows always has the user's class key; a new Wine prefix does not.
            wine reg add 'HKCU\Software\Classes' /f >/dev/null 2>&1 9>&-
            touch "$prefix/.chronoquill-ready"
        fi
    ) 9>"$prefix.lock"
fi

# Wine's services (rpcss, explorer, ...) outlive the program and inherit its
# output: were that a pipe (CTest reads one), the reader would wait for them.
# So the program writes to files, shown once it has ended.
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
run=(wine "$@")
[ -n "${DISPLAY:-}" ] || run=(xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@")
set +e
"${run[@]}" >"$out" 2>"$err" </dev/null
rc=$?
set -e
cat "$out"
cat "$err" >&2
exit $rc
