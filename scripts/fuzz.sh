#!/usr/bin/env bash
# Builds the fuzz targets with clang-14 (libFuzzer, ASan, UBSan) and runs each for a bounded
# time, default 30 s: scripts/fuzz.sh [seconds per target]. Each target is fuzz/<name>_fuzz.cpp
# with its seeds in fuzz/corpus/<name>/; what a run finds is kept in build/fuzz/corpus/<name>/,
# and a crash leaves its input in build/fuzz/ and fails the script.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${1:-30}"

cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz

for seeds in fuzz/corpus/*/; do
    target="$(basename "$seeds")"
    mkdir -p "build/fuzz/corpus/$target"
    echo "== $target: ${seconds} s =="
    (cd build/fuzz && "./$target" -max_total_time="$seconds" -print_final_stats=1 \
        -timeout=10 -rss_limit_mb=2048 "corpus/$target" "$root/$seeds")
done
