#!/usr/bin/env bash
# Builds tapster.exe and starts it under Wine, in a Wine desktop with a notification area.
# Without a display it runs on a private Xvfb server, says so, and saves a screenshot.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target tapster

# The program keeps its own settings here, apart from the tests' prefix.
export TAPSTER_WINEPREFIX="${TAPSTER_WINEPREFIX:-$root/build/wineprefix-run}"
if [[ -z "${DISPLAY:-}" ]]; then
    echo "start: there is no display; Tapster runs on a virtual one (Xvfb)." >&2
    echo "start: a screenshot will be saved to build/windows/screenshot.png; Ctrl+C stops it." >&2
    exec scripts/with-wine.sh bash -c '
        wine build/windows/src/tapster.exe &
        sleep 6
        import -window root build/windows/screenshot.png && echo "start: saved build/windows/screenshot.png" >&2
        wait'
fi
exec scripts/with-wine.sh wine build/windows/src/tapster.exe
