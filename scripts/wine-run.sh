#!/usr/bin/env bash
# Runs one Windows program under Wine. CTest uses it for every Windows-side test; the
# environment (WINEPREFIX, DISPLAY) comes from with-wine.sh, which prepares both.
set -euo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
