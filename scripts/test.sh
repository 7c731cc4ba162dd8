#!/usr/bin/env bash
# Builds every preset and runs every test: natively, then the 32-bit and the
# 64-bit Windows programs under Wine.
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

# The 64-bit build first: Setup, built by the 32-bit one, carries its Outlook
# add-in. The 64-bit tests, in a 64-bit prefix, run last: they also run the
# 32-bit build's stamp client, hosts and Setup.
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
(
    export WINEPREFIX=$PWD/build/win32/wineprefix
    . scripts/wine-session.sh
    wine_session_start
    ctest --preset win32
)
(
    export WINEPREFIX=$PWD/build/win64/wineprefix CQ_WINEARCH=win64
    . scripts/wine-session.sh
    wine_session_start
    ctest --preset win64
)
