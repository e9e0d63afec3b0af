#!/usr/bin/env bash
# Makes the README's pictures (docs/images/*.png) from the real program under Wine on Xvfb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target tapster tapster_msgbox tapster_drawn_dialog \
    tapster_readme_shots
export TAPSTER_WINEPREFIX="${TAPSTER_WINEPREFIX:-$root/build/wineprefix-shots}"
tools="$root/build/windows/tools"
shots() { # shots [SUFFIX]
    scripts/with-wine.sh --own-display wine "$tools/tapster_readme_shots.exe" \
        "$root/build/windows/src/tapster.exe" "$tools/tapster_msgbox.exe" \
        "$tools/tapster_drawn_dialog.exe" "$root/docs/images" "$@"
}
shots
# The dialogs once more at 150% display scale, in a prefix made at that scale.
TAPSTER_WINEPREFIX="$TAPSTER_WINEPREFIX-144" TAPSTER_DPI=144 shots -144
echo "Pictures written to docs/images/"
