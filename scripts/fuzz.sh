#!/usr/bin/env bash
# Builds the `fuzz` preset (clang, libFuzzer, AddressSanitizer, UBSan) and runs each fuzz
# target for a bounded time, printing the executions run per target.
#   scripts/fuzz.sh [SECONDS_PER_TARGET [TARGET...]]     (default 20 seconds, every target)
# Each target starts from its seeds in fuzz/corpus/<name>/ and from what earlier runs found
# (build/fuzz/corpus/<name>/, where new inputs go), with the tokens of fuzz/dict/<name>.dict. An input that breaks a target is written
# to build/fuzz/artifacts/ and the script fails; replay it with
#   build/fuzz/fuzz/<target> build/fuzz/artifacts/<file>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
if [ $# -gt 0 ]; then shift; fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target fuzz_targets >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for src in fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi
mkdir -p build/fuzz/artifacts build/fuzz/logs
failed=0
for target in "${targets[@]}"; do
    name=${target%_fuzz}
    log=build/fuzz/logs/$target.log
    mkdir -p "build/fuzz/corpus/$name"
    dict=()
    if [ -f "fuzz/dict/$name.dict" ]; then dict=(-dict="fuzz/dict/$name.dict"); fi
    # -malloc_limit_mb: no single allocation may exceed 64 MB, whatever the input.
    if build/fuzz/fuzz/"$target" "build/fuzz/corpus/$name" "fuzz/corpus/$name" \
        -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
        -malloc_limit_mb=64 -artifact_prefix="build/fuzz/artifacts/$target-" "${dict[@]}" \
        >"$log" 2>&1; then
        status=clean
    else
        status="FAILED (see $log)"
        failed=1
        grep -E -A30 "ERROR|property broken|runtime error" "$log" | head -40 >&2 || tail -n 30 "$log" >&2
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    printf 'fuzz: %-20s %10s executions in %ss, %s\n' "$target" "${executions:-?}" "$seconds" "$status"
done
exit $failed
