#!/usr/bin/env bash
# Builds the fuzz targets with clang-14 (libFuzzer, ASan, UBSan) and runs each for a bounded
# time, two at a time:
#   scripts/fuzz.sh [SECONDS]          the long search, SECONDS per target (default 300); what
#                                      it finds that reaches new code joins fuzz/corpus/
#   scripts/fuzz.sh --check [SECONDS]  a short run (default 10 s) from fuzz/corpus/, which it
#                                      leaves as it is, of an unoptimised build that is quicker
#                                      to make (build/fuzz-check); scripts/test.sh runs this
# Each target is fuzz/<name>_fuzz.cpp with its corpus in fuzz/corpus/<name>/ (commit what the
# long search adds, so that short runs start from it). Inputs found in a run go to
# build/fuzz/corpus/<name>/, libFuzzer's output to build/logs/fuzz-<name>.log. A crash prints
# its report and the reproducer's path, and fails the script.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

merge=1
build=build/fuzz
build_type=RelWithDebInfo
optimize=-O1
seconds=300
slowest=10 # seconds one input may take
if [[ "${1:-}" == "--check" ]]; then
    merge=0
    build=build/fuzz-check
    build_type=Debug
    optimize=-O0
    seconds=10
    slowest=30 # the short run shares the processor with the other tests
    shift
fi
seconds="${1:-$seconds}"
logs=build/logs
mkdir -p "$logs" build/fuzz/crashes
started=$SECONDS

if ! { cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_BUILD_TYPE=$build_type -DTAPSTER_FUZZ_OPTIMIZE=$optimize &&
    cmake --build "$build" -j 2; } >"$logs/fuzz-build.log" 2>&1; then
    echo "fuzz: the build failed; from $logs/fuzz-build.log:"
    grep -E -A12 'error|Error' "$logs/fuzz-build.log" | head -n 40
    exit 1
fi

# run TARGET: fuzzes one target; its log ends in libFuzzer's final statistics.
run() {
    local target="$1"
    mkdir -p "build/fuzz/corpus/$target"
    "$build/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout="$slowest" \
        -rss_limit_mb=2048 -artifact_prefix="build/fuzz/crashes/$target-" \
        "build/fuzz/corpus/$target" "fuzz/corpus/$target" >"$logs/fuzz-$target.log" 2>&1
}

targets=()
for seeds in fuzz/corpus/*/; do
    targets+=("$(basename "$seeds")")
done
declare -A job
for target in "${targets[@]}"; do
    while (($(jobs -rp | wc -l) >= 2)); do
        wait -n || true
    done
    run "$target" &
    job[$target]=$!
done

runs=0
crashes=0
for target in "${targets[@]}"; do
    if wait "${job[$target]}"; then
        executed="$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/fuzz-$target.log")"
        runs=$((runs + ${executed:-0}))
        echo "fuzz: $target: ${executed:-0} runs in $seconds s, no crash"
        continue
    fi
    crashes=$((crashes + 1))
    log="$logs/fuzz-$target.log"
    echo "fuzz: $target FAILED; its report (all of it in $log):"
    sed -n '/ERROR\|runtime error\|deadly signal\|ALARM\|out-of-memory/,$p' "$log" | head -n 30
    artifact="$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)"
    if [[ -n "$artifact" ]]; then
        echo "fuzz: reproduce with: $build/$target $artifact"
    fi
done

if ((merge && crashes == 0)); then
    # Keep only the inputs that reach code the committed corpus does not: new branches, not
    # new counts of the same ones, so that the corpus stays small.
    for target in "${targets[@]}"; do
        before=$(find "fuzz/corpus/$target" -type f | wc -l)
        "$build/$target" -merge=1 -use_counters=0 "fuzz/corpus/$target" \
            "build/fuzz/corpus/$target" >>"$logs/fuzz-$target.log" 2>&1
        after=$(find "fuzz/corpus/$target" -type f | wc -l)
        echo "fuzz: $target: $((after - before)) new inputs in fuzz/corpus/$target"
    done
fi

runs="$(awk -v n="$runs" 'BEGIN {
    if (n >= 1e6) printf "%.1f M", n / 1e6; else if (n >= 1e4) printf "%.0f k", n / 1e3; else print n }')"
echo "fuzz: ${#targets[@]} targets, $runs runs, $crashes crash$( ((crashes == 1)) || echo es)" \
    "($((SECONDS - started)) s); logs: $logs/fuzz-*.log"
((crashes == 0))
