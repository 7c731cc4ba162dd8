#!/usr/bin/env bash
# Builds the benchmarks (presets win32 and win64) and runs them under Wine,
# then prints a table of medians and ratios: the 32-bit rows, then the 64-bit
# Outlook add-in's connection and click in a 64-bit prefix. Every benchmark
# measures its two sides side by side in alternating rounds of one run, so the
# ratios hold on a busy machine. Last, the first connection of each build
# against its empty add-in's first, with the margin to Outlook's 1000 ms.
#   scripts/bench.sh [rounds]        (BUILD_DIR and BUILD64_DIR pick the build trees,
#                                     default build/win32 and build/win64)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${BUILD_DIR:-build/win32}
build64=${BUILD64_DIR:-build/win64}
rounds=${1:-}
benches=(stamp_bench connect_bench click_bench stamp_call_bench)
benches64=(connect_bench click_bench)

cmake --preset win32 -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${benches[@]}" stamp_call_server
# A prefix of their own: they register the add-ins while they run.
display=${DISPLAY-}
export WINEPREFIX=$PWD/$build/wineprefix-bench
. scripts/wine-session.sh
wine_session_start

out=$(mktemp -d)
failed=0
# run_bench RUNNER BUILD BENCH NAME: output in $out/NAME.txt.
run_bench() {
    local runner=$1 tree=$2 b=$3 name=$4
    echo "== $name"
    args=()
    [ "$b" = stamp_bench ] || [ -z "$rounds" ] || args=("$rounds")
    rc=0
    "$runner" "$WINEPREFIX" "$tree/bench/$b.exe" "${args[@]}" >"$out/$name.raw" 2>&1 || rc=$?
    tr -d '\r' <"$out/$name.raw" >"$out/$name.txt"
    if [ $rc -ne 0 ]; then
        echo "RESULT|$name|failed" >>"$out/$name.txt"
        failed=1
    fi
    grep -v -E '^(RESULT|FIRST)\|' "$out/$name.txt" || true
}
for b in "${benches[@]}"; do
    run_bench cmake/wine-run.sh "$build" "$b" "$b"
done

# The 64-bit add-in in a 64-bit prefix of its own.
wine_session_end
trap - EXIT
unset CQ_XVFB_PID
if [ -n "$display" ]; then export DISPLAY=$display; else unset DISPLAY; fi
cmake --preset win64 -B "$build64" >/dev/null
cmake --build "$build64" -j"$(nproc)" --target "${benches64[@]}"
export WINEPREFIX=$PWD/$build64/wineprefix-bench CQ_WINEARCH=win64
wine_session_start
results=("${benches[@]}")
for b in "${benches64[@]}"; do
    run_bench cmake/wine64-run.sh "$build64" "$b" "${b}_64"
    sed -i -E 's/^RESULT\|([^|]*)\|/RESULT|\1, 64-bit|/' "$out/${b}_64.txt"
    results+=("${b}_64")
done

# The stamp benchmark prints its fastest rounds and the median of the per-round ratios.
s=$out/stamp_bench.txt
if ! grep -q '^RESULT|' "$s"; then
    floor=$(sed -n 's/^floor .*: \([0-9.]*\) ns per stamp/\1/p' "$s")
    stamp=$(sed -n 's/^GetDatestamp, unchanged settings: *\([0-9.]*\) ns per stamp/\1/p' "$s")
    ratio=$(sed -n 's/^ratio (median of .*): \([0-9.]*\).*/\1/p' "$s")
    target=$(sed -n 's/.*(target <= \([0-9.]*\)).*/\1/p' "$s")
    awk -v f="$floor" -v g="$stamp" -v r="$ratio" -v t="$target" 'BEGIN {
        printf "RESULT|stamp, unchanged settings*|GetDatestamp|%.1f|its platform calls|%.1f|%s|%s\n",
               g / 1000, f / 1000, r, t }' >>"$s"
fi

echo
printf '%-28s %12s %12s %7s %8s\n' benchmark "A (us)" "B (us)" ratio target
for b in "${results[@]}"; do
    grep -h '^RESULT|' "$out/$b.txt" | awk -F'|' '
        $3 == "failed" { printf "%-28s %12s\n", $2, "failed"; next }
        { printf "%-28s %12.1f %12.1f %7.2f %8s  %s\n", $2, $4, $6, $7, "<= " $8,
                 ($7 <= $8 ? "met" : "missed") }'
done
echo "A: the product's side; B: the floor it is measured against (medians of the rounds)."
echo "* stamp: fastest rounds in A and B, median of the per-round ratios."

echo
echo "First connection in a process (DLLs loaded), against Outlook's 1000 ms start-up budget:"
printf '%-8s %16s %16s %7s %14s\n' build "Chronoquill (us)" "empty (us)" ratio "margin (ms)"
for name in connect_bench:32-bit connect_bench_64:64-bit; do
    grep -h '^FIRST|' "$out/${name%%:*}.txt" | awk -F'|' -v build="${name##*:}" '
        { printf "%-8s %16.1f %16.1f %7.2f %14.1f\n", build, $2, $3, $2 / $3, 1000 - $2 / 1000 }'
done
rm -rf "$out"
exit $failed
