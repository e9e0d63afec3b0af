#!/usr/bin/env bash
# Builds everything and runs every test: the portable core's unit tests natively (with
# AddressSanitizer and UBSan), then the Windows program's tests under Wine on a private Xvfb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh

echo "== Portable core (native) =="
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native --output-on-failure -j 2

if command -v clang++-14 >/dev/null; then
    echo "== Fuzz targets (clang-14, libFuzzer) =="
    scripts/fuzz.sh "${TAPSTER_FUZZ_SECONDS:-30}"
fi

echo "== Windows program (MinGW-w64, under Wine) =="
cmake --preset windows >/dev/null
cmake --build --preset windows
export TAPSTER_WINEPREFIX="${TAPSTER_WINEPREFIX:-$root/build/wineprefix-test}"
scripts/with-wine.sh --own-display ctest --preset windows --output-on-failure
echo "Screenshot of the main window: build/windows/main-window.png"

echo "== Windows program at 150% display scale (under Wine) =="
# The tray, the capture and the whole journey once more at 144 DPI; the layout test is left
# out, its figures are pixels at 96 DPI.
TAPSTER_WINEPREFIX="$root/build/wineprefix-test-144dpi" TAPSTER_DPI=144 \
    scripts/with-wine.sh --own-display ctest --preset windows --output-on-failure \
    -R "Minimize|Recreated|RealClicks|CaptureDrag|Journey|PressesAnEnabled"
