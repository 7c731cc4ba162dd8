#!/usr/bin/env bash
# Builds both presets and runs every test: natively, then the Windows programs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)"
ctest --preset native

# The native tests again under AddressSanitizer and UBSan, then each fuzz target for 10 seconds.
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
ctest --preset asan
scripts/fuzz.sh 10

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
export WINEPREFIX=$PWD/build/win32/wineprefix
. scripts/wine-session.sh
wine_session_start
ctest --preset win32
