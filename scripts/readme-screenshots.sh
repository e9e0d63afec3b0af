#!/usr/bin/env bash
# Makes the README's pictures (docs/images/*.png) from the real program under Wine on Xvfb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target tapster tapster_msgbox tapster_drawn_dialog \
    tapster_readme_shots
prefix="${TAPSTER_WINEPREFIX:-$root/build/wineprefix-shots}"
tools="$root/build/windows/tools"
shots() { # shots DPI: every picture at 96 DPI, "Record from open windows" alone at another
    local dpi="$1" own_prefix="$prefix"
    if [[ $dpi != 96 ]]; then own_prefix="$prefix-${dpi}dpi"; fi
    TAPSTER_DPI="$dpi" TAPSTER_WINEPREFIX="$own_prefix" scripts/with-wine.sh --own-display \
        wine "$tools/tapster_readme_shots.exe" "$root/build/windows/src/tapster.exe" \
        "$tools/tapster_msgbox.exe" "$tools/tapster_drawn_dialog.exe" "$root/docs/images" "$dpi"
}
shots 96
shots 144
echo "Pictures written to docs/images/"
