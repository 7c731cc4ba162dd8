#!/usr/bin/env bash
# Builds the benchmarks (preset win32) and runs them under Wine, then prints a
# table of medians and ratios. Every benchmark measures its two sides side by
# side in alternating rounds of one run, so the ratios hold on a busy machine.
#   scripts/bench.sh [rounds]        (BUILD_DIR picks the build tree, default build/win32)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${BUILD_DIR:-build/win32}
rounds=${1:-}
benches=(stamp_bench connect_bench click_bench stamp_call_bench)

cmake --preset win32 -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${benches[@]}" stamp_call_server
# A prefix of their own: they register the add-ins while they run.
export WINEPREFIX=$PWD/$build/wineprefix-bench
. scripts/wine-session.sh
wine_session_start

out=$(mktemp -d)
failed=0
for b in "${benches[@]}"; do
    echo "== $b"
    args=()
    [ "$b" = stamp_bench ] || [ -z "$rounds" ] || args=("$rounds")
    rc=0
    cmake/wine-run.sh "$WINEPREFIX" "$build/bench/$b.exe" "${args[@]}" >"$out/$b.raw" 2>&1 || rc=$?
    tr -d '\r' <"$out/$b.raw" >"$out/$b.txt"
    if [ $rc -ne 0 ]; then
        echo "RESULT|$b|failed" >>"$out/$b.txt"
        failed=1
    fi
    grep -v '^RESULT|' "$out/$b.txt" || true
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
for b in "${benches[@]}"; do
    grep -h '^RESULT|' "$out/$b.txt" | awk -F'|' '
        $3 == "failed" { printf "%-28s %12s\n", $2, "failed"; next }
        { printf "%-28s %12.1f %12.1f %7.2f %8s  %s\n", $2, $4, $6, $7, "<= " $8,
                 ($7 <= $8 ? "met" : "missed") }'
done
echo "A: the product's side; B: the floor it is measured against (medians of the rounds)."
echo "* stamp: fastest rounds in A and B, median of the per-round ratios."
rm -rf "$out"
exit $failed
