#!/usr/bin/env bash
# Runs a Windows program under Wine in a 64-bit prefix (64-bit programs from
# system32, 32-bit ones from syswow64); otherwise as wine-run.sh.
#   wine64-run.sh PREFIX PROGRAM [ARGS...]
CQ_WINEARCH=win64 exec "$(dirname "$0")/wine-run.sh" "$@"
