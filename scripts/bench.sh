#!/usr/bin/env bash
# Builds and runs the benchmarks: the push cycle, the settings store and the main window's
# logic with a growing list natively (optimised, no sanitizers), the push cycle under Wine,
# the capture's response time under Wine, one press of a drawn button through accessibility
# under Wine, the real program with a full list under Wine, and "Press at once" under Wine
# (press latency, the window watch's idle cost), and the history of presses under Wine (a
# press's cost with it on and off, the History window with a full file). Figures are medians
# of one run.
#   scripts/bench.sh [--push | --press-at-once | --history]
#     --push: the push cycle only; --press-at-once: press latency and the watch's cost only;
#     --history: the history only
set -euo pipefail
push_only=0
press_at_once_only=0
history_only=0
if [[ "${1:-}" == "--push" ]]; then
    push_only=1
elif [[ "${1:-}" == "--press-at-once" ]]; then
    press_at_once_only=1
elif [[ "${1:-}" == "--history" ]]; then
    history_only=1
fi
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
if [[ $press_at_once_only -eq 0 && $history_only -eq 0 ]]; then
    cmake --preset bench >/dev/null
    cmake --build --preset bench --target tapster_native_bench tapster_settings_store_bench \
        tapster_main_form_bench
    build/bench/bench/tapster_native_bench
    build/bench/bench/tapster_settings_store_bench
    build/bench/bench/tapster_main_form_bench
fi

cmake --no-warn-unused-cli -S . -B build/windows-bench -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64-posix.cmake -DCMAKE_BUILD_TYPE=Release \
    -DTAPSTER_BENCHMARKS=ON -DTAPSTER_TESTS=OFF >/dev/null
export TAPSTER_WINEPREFIX="${TAPSTER_WINEPREFIX:-$root/build/wineprefix-test}"
if [[ $push_only -eq 1 ]]; then
    cmake --build build/windows-bench --target tapster_wine_bench
    scripts/with-wine.sh --own-display wine build/windows-bench/bench/tapster_wine_bench.exe
    exit 0
fi
if [[ $press_at_once_only -eq 1 ]]; then
    cmake --build build/windows-bench --target tapster_press_at_once_bench
    scripts/with-wine.sh --own-display wine build/windows-bench/bench/tapster_press_at_once_bench.exe
    exit 0
fi
if [[ $history_only -eq 1 ]]; then
    cmake --build build/windows-bench --target tapster_history_bench
    scripts/with-wine.sh --own-display wine build/windows-bench/bench/tapster_history_bench.exe
    exit 0
fi
cmake --build build/windows-bench --target tapster_wine_bench tapster_capture_bench \
    tapster_accessible_bench tapster_list_scale_bench tapster_press_at_once_bench \
    tapster_history_bench
scripts/with-wine.sh --own-display bash -c '
    wine build/windows-bench/bench/tapster_wine_bench.exe
    wine build/windows-bench/bench/tapster_capture_bench.exe
    wine build/windows-bench/bench/tapster_accessible_bench.exe
    wine build/windows-bench/bench/tapster_list_scale_bench.exe
    wine build/windows-bench/bench/tapster_press_at_once_bench.exe
    wine build/windows-bench/bench/tapster_history_bench.exe'
