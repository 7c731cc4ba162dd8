#!/usr/bin/env bash
# The main job: builds everything and shows the stamp that the add-in would type now,
# composed by the Windows build under Wine with the built-in defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
export WINEPREFIX=$PWD/build/win32/wineprefix
. scripts/wine-session.sh
wine_session_start
cmake/wine-run.sh "$WINEPREFIX" build/win32/outlook/chronoquill-stamp.exe --kind
