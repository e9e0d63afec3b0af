#!/usr/bin/env bash
# Builds everything and runs every test, with one heading and one result line a phase; each
# phase's whole output goes to build/logs/. A failure prints the failing test's own output (or
# the fuzzer's report, or the compiler's errors) and ends the run with a non-zero status.
#   scripts/test.sh               everything: the portable core's unit tests natively (ASan,
#                                 UBSan), a short run of each fuzz target, and the Windows
#                                 program's tests under Wine, then some of them at 144 DPI
#   scripts/test.sh --native      only the native build and its unit tests
#   scripts/test.sh --wine REGEX  only the Windows build and the Wine tests matching REGEX
#                                 (at 96 DPI, or at TAPSTER_DPI), and the package tests that
#                                 match it
# The phases overlap: the Windows build comes first, and its tests under Wine, which mostly
# wait, run beside the native build, the unit tests, the fuzz targets and a second build of
# the packages, which yield to them.
set -euo pipefail
set -m # each phase in a process group of its own, to be stopped as a whole
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

usage="usage: scripts/test.sh [--native | --wine REGEX]"
mode=all
case "${1:-}" in
"") ;;
--native) mode=native ;;
--wine)
    mode=wine
    wine_regex="${2:?$usage}"
    ;;
*)
    echo "$usage" >&2
    exit 2
    ;;
esac

logs=build/logs
mkdir -p "$logs"
rm -f "$logs"/*.status
started=$SECONDS
fuzz_seconds="${TAPSTER_FUZZ_SECONDS:-10}"
base_prefix="$root/build/wineprefix-test"
# The tray, the capture (of a drawn button too), the target's dialog and the whole journey once
# more at 144 DPI; the layout test is left out, its figures are pixels at 96 DPI.
dpi_regex="Minimize|Recreated|RealClicks|CaptureDrag|Journey|PressesAnEnabled|ARealDragRecordsADrawnButton|TargetDialog"
# Tests that hold Tapster to a time (an answer within 100 ms, a press within a bound), and
# those of buttons that programs draw themselves, whose calls into another process meet a
# deadline, run once the native tests and the fuzz targets have ended, so that nothing else
# wants the processor; the rest run beside them.
timed_regex="AnswersAtOnce|PressAtOnce|WithinOne|TwiceASecond|DrawnButtons|RecordFromWindows"
dpi_timed_regex="PressesAnEnabled|ARealDragRecordsADrawnButton" # those of the 144 DPI pass
background=10 # the niceness of the builds and fuzzing beside the Wine tests

# ---- Phases. Each runs in the background, its output in build/logs/<name>.log, and leaves
# "<exit status> <seconds>" in build/logs/<name>.status when it ends. A phase runs where
# `set -e` does not hold (its status is caught), so each step that may fail says `|| return`.

declare -A pid
start() { # start NAME COMMAND...
    local name="$1"
    shift
    (
        begun=$SECONDS
        status=0
        "$@" </dev/null >"$logs/$name.log" 2>&1 || status=$?
        echo "$status $((SECONDS - begun))" >"$logs/$name.status.new"
        mv "$logs/$name.status.new" "$logs/$name.status"
    ) &
    pid[$name]=$!
}

# status_of NAME: sets status to the phase's exit status, empty while it runs (without a
# process of its own: the waits ask every second).
status_of() {
    status=""
    if [[ -f "$logs/$1.status" ]]; then read -r status _ <"$logs/$1.status" || true; fi
}

# after NAME...: waits until those phases have ended, and fails (125) unless all of them
# passed. The calling phase's own time starts then.
after() {
    local name status
    for name in "$@"; do
        status_of "$name"
        while [[ -z "$status" ]]; do
            sleep 1
            status_of "$name"
        done
        [[ $status == 0 ]] || return 125
    done
    begun=$SECONDS
}

install_run() { scripts/install-deps.sh run; }

build_windows() {
    cmake --preset windows && cmake --build --preset windows -j 2
}

build_native() {
    if [[ $mode == all ]]; then
        after build-windows || true # one build at a time on two cores
    fi
    cmake --preset native && nice -n $background cmake --build --preset native -j 2
}

native_tests() {
    after build-native || return
    ctest --preset native -j 2 || return
    # CTest runs them a few to a process; the count is gtest's.
    echo "unit tests: $(build/native/tests/tapster_unit_tests --gtest_list_tests | grep -c '^  ')"
}

# Its build shares the processor with the native build, both yielding to the Wine tests.
fuzz() {
    after build-windows install-run || return
    nice -n $background scripts/fuzz.sh --check "$fuzz_seconds"
}

prefix_for() { # prefix_for DPI
    if [[ "$1" == 96 ]]; then echo "$base_prefix"; else echo "$base_prefix-${1}dpi"; fi
}

# wine_prefixes DPI...: one prefix is made, and copied for other display scales.
wine_prefixes() {
    after install-run || return
    if [[ ! -f "$base_prefix/.tapster-ready" ]]; then
        TAPSTER_DPI="" TAPSTER_WINEPREFIX="$base_prefix" scripts/with-wine.sh --own-display true ||
            return
    fi
    local dpi
    for dpi in "$@"; do
        if [[ $dpi != 96 && ! -f "$(prefix_for "$dpi")/.tapster-ready" ]]; then
            TAPSTER_DPI=$dpi TAPSTER_WINEPREFIX="$(prefix_for "$dpi")" \
                TAPSTER_WINEPREFIX_FROM="$base_prefix" scripts/with-wine.sh --own-display true ||
                return
        fi
    done
}

# The packages that the installer tests install, made once a run before any Wine tests: two
# phases that each made them would write the same staging folder at once. Their winget
# manifest is checked with them.
packaging_tests="^(make_(packages|older_msi)|winget_manifest)\$"
packages() {
    after build-windows install-run || return
    ctest --preset windows -R "$packaging_tests"
}

# The packages built once more from a copy of the sources, compared, and signed there (CTest's
# label "rebuild"). Its build yields to the Wine tests like the native build.
rebuild() {
    after packages || return
    nice -n $background ctest --preset windows -R "$tests_regex" -L '^rebuild$' \
        --fixture-exclude-setup packages
}
# The setups that the phases above have run already.
made_before='^(packages|rebuilt|signed_packages)$'

# wine_tests DPI REGEX EXCLUDED [PHASE...]: after those phases. The tests of the signed
# packages (CTest's label "signed") run only when signed_only is set, once they are made.
wine_tests() {
    local dpi="$1" regex="$2" excluded="$3" labels=(-LE '^(rebuild|signed)$')
    shift 3
    if [[ -n ${signed_only:-} ]]; then labels=(-L '^signed$'); fi
    after build-windows wine-prefixes packages "$@" || return
    TAPSTER_DPI=$dpi TAPSTER_WINEPREFIX="$(prefix_for "$dpi")" \
        scripts/with-wine.sh --own-display ctest --preset windows -R "$regex" \
        -E "$packaging_tests${excluded:+|$excluded}" "${labels[@]}" \
        --fixture-exclude-setup "$made_before"
}

# On the first scale's prefix, once the other tests there have ended.
wine_signed() {
    signed_only=1 wine_tests "${scales[0]}" "$tests_regex" "" "wine-${scales[0]}" rebuild
}

wine_timed() {
    after native-tests fuzz || return
    wine_tests 96 "$timed_regex" "" wine-96 wine-signed || return
    wine_tests 144 "$dpi_timed_regex" "" wine-144
}

stop_all() {
    local name
    for name in "${!pid[@]}"; do
        kill -TERM -- "-${pid[$name]}" 2>/dev/null || true
    done
    wait 2>/dev/null || true
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# ---- Reports

say_time() { # say_time SECONDS: "48 s" or "6 min 12 s"
    if (($1 < 60)); then echo "$1 s"; else echo "$(($1 / 60)) min $(($1 % 60)) s"; fi
}

took() { say_time "$(cut -d' ' -f2 "$logs/$1.status")"; }

ctest_result() { # ctest_result LOG: "306 passed (48 s)"
    local total seconds
    # A phase may run CTest more than once.
    total="$(sed -n 's/.* tests passed, 0 tests failed out of \([0-9]*\)$/\1/p' "$1" |
        awk '{ sum += $1 } END { print sum + 0 }')"
    seconds="$(sed -n 's/^Total Test time (real) = *\([0-9]*\).*/\1/p' "$1" |
        awk '{ sum += $1 } END { print sum + 0 }')"
    echo "${total:-0} passed ($(say_time "${seconds:-0}"))"
}

# ran_tests NAME: whether the phase's CTest found any test to run.
ran_tests() { grep -q ' tests passed, .* out of [1-9]' "$logs/$1.log"; }

# ctest_failures LOG: the failing tests' names, then the output of the first three of them.
ctest_failures() {
    echo "failed:" $(sed -n '/^The following tests FAILED:/,$ s/^[[:space:]]*[0-9]* - \(.*\) (.*)$/\1/p' "$1")
    awk '
        /Test +#[0-9]+: .*\*\*\*/ && !/\*\*\*Skipped/ { shown++; on = shown <= 3; lines = 0 }
        /^ *Start +[0-9]+: |^ *[0-9]+\/[0-9]+ Test +#[0-9]+: .* (Passed|\*\*\*Skipped)|^[0-9]+% tests passed/ {
            on = 0
        }
        on && lines++ < 80 { print }
    ' "$1"
}

# build_errors LOG: the compiler's complaints, or the end of CMake's.
build_errors() {
    if grep -q '^FAILED: ' "$1"; then
        sed -n '/^FAILED: /,$p' "$1" | grep -v '^ninja: build stopped' | head -n 40
    else
        tail -n 25 "$1"
    fi
}

# explain NAME: says why the phase failed, the details last, and ends the run.
explain() {
    local log="$logs/$1.log"
    echo "$1: FAILED"
    case "$1" in
    build-*) build_errors "$log" ;;
    native-tests | packages | rebuild | wine-*) ctest_failures "$log" ;;
    fuzz) grep -v '^fuzz: .*no crash$' "$log" | tail -n 36 ;;
    *) tail -n 25 "$log" ;;
    esac
    echo "test: FAILED after $(say_time $((SECONDS - started))); the whole output of $1: $log"
    exit 1
}

# wait_for NAME: waits until the phase has passed. The first phase seen failing, this one or
# any other (not those that only stopped, with 125, because a phase they needed failed),
# ends the run with its reason.
wait_for() {
    local other status
    while status_of "$1" && [[ $status != 0 ]]; do
        for other in "${!pid[@]}"; do
            status_of "$other"
            if [[ -z "$status" ]] && ! kill -0 "${pid[$other]}" 2>/dev/null; then
                sleep 1
                status_of "$other"
                status="${status:-1}" # killed before it could leave its status
            fi
            if [[ -n "$status" && $status != 0 && $status != 125 ]]; then
                explain "$other"
            fi
        done
        sleep 1
    done
}

# ---- The run

echo "== install: the Debian packages in scripts/packages.txt =="
needed=all
if [[ $mode == native ]]; then
    needed=build
fi
missing="$(scripts/install-deps.sh --missing $needed)"
if [[ -n "$missing" && $(id -u) -ne 0 ]]; then
    sudo -v # asked here, not by an install in the background
fi
scripts/install-deps.sh build
if [[ $mode != native ]]; then
    start install-run install_run
fi
if [[ -z "$missing" ]]; then
    echo "install: all there"
elif [[ -z "$(scripts/install-deps.sh --missing run)" || $mode == native ]]; then
    echo "install: done ($(say_time $((SECONDS - started))))"
else
    echo "install: the build tools are in ($(say_time $((SECONDS - started)))); the rest installs beside the builds ($logs/install-run.log)"
fi

scales=(96 144)
if [[ $mode != native ]]; then
    start build-windows build_windows
fi
if [[ $mode != native ]]; then
    start packages packages
fi
if [[ $mode == wine ]]; then
    scales=("${TAPSTER_DPI:-96}")
    start wine-prefixes wine_prefixes "${scales[0]}"
    start "wine-${scales[0]}" wine_tests "${scales[0]}" "$wine_regex" ""
else
    start build-native build_native
    start native-tests native_tests
fi
if [[ $mode == all ]]; then
    start fuzz fuzz
    start wine-prefixes wine_prefixes "${scales[@]}"
    start wine-96 wine_tests 96 "." "$timed_regex"
    start wine-144 wine_tests 144 "$dpi_regex" "$timed_regex" wine-96
    start wine-timed wine_timed
fi
if [[ $mode != native ]]; then
    tests_regex="${wine_regex:-.}"
    start rebuild rebuild
    start wine-signed wine_signed
fi

if [[ $mode != wine ]]; then
    echo "== native: the portable core (g++, ASan, UBSan) and its unit tests =="
    wait_for native-tests
    echo "native: $(sed -n 's/^unit tests: //p' "$logs/native-tests.log") passed" \
        "($(took native-tests)), build $(took build-native);" \
        "logs: $logs/build-native.log, $logs/native-tests.log"
fi
if [[ $mode == all ]]; then
    echo "== fuzz: each fuzz target for $fuzz_seconds s from fuzz/corpus (a longer search: scripts/fuzz.sh) =="
    wait_for fuzz
    tail -n 1 "$logs/fuzz.log"
fi
if [[ $mode != native ]]; then
    for dpi in "${scales[@]}"; do
        if [[ $mode == wine ]]; then
            echo "== wine: the tests matching \"$wine_regex\" under Wine at $dpi DPI =="
        elif [[ $dpi == 96 ]]; then
            echo "== wine: tapster.exe (MinGW-w64) and its tests under Wine =="
        else
            echo "== wine $dpi dpi: the tray, the capture and the journey at 150% display scale =="
        fi
        wait_for "wine-$dpi"
        echo "wine $dpi dpi: $(ctest_result "$logs/wine-$dpi.log"), build $(took build-windows);" \
            "log: $logs/wine-$dpi.log"
    done
    if [[ $mode == all ]]; then
        echo "== packages again: built in another folder (the same bytes), then signed =="
    fi
    wait_for rebuild
    if [[ $mode == all ]] || ran_tests rebuild; then
        echo "packages again: $(ctest_result "$logs/rebuild.log"); log: $logs/rebuild.log"
    fi
    if [[ $mode == all ]]; then
        echo "== wine signed: the signed installer, and the signed program's journey =="
    fi
    wait_for wine-signed
    if [[ $mode == all ]] || ran_tests wine-signed; then
        echo "wine signed: $(ctest_result "$logs/wine-signed.log"); log: $logs/wine-signed.log"
    fi
    if [[ $mode == all ]]; then
        echo "== wine timed: the tests that hold Tapster to a time, with the processor to themselves =="
        wait_for wine-timed
        echo "wine timed: $(ctest_result "$logs/wine-timed.log"); log: $logs/wine-timed.log"
    fi
    if [[ -f build/windows/main-window.png ]]; then
        echo "Screenshot of the main window: build/windows/main-window.png"
    fi
fi
echo "test: all passed in $(say_time $((SECONDS - started))); logs in $logs/"
