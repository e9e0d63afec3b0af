#!/usr/bin/env bash
# Runs a command with a Wine prefix made for Tapster and an X display for it:
#   scripts/with-wine.sh [--own-display] COMMAND...
# The prefix (build/wineprefix unless TAPSTER_WINEPREFIX says otherwise) is created once,
# with Wine's own fonts and one virtual desktop that all programs share, so tests can find
# Tapster's window and click its tray icon; TAPSTER_DPI, when set at its creation, gives it
# another display scale. TAPSTER_WINEPREFIX_FROM names a ready prefix, not in use, to copy
# instead, which is quicker than creating one. With --own-display, or when there is no
# display, a private Xvfb server is started and stopped again afterwards.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
own_display=0
if [[ "${1:-}" == "--own-display" ]]; then
    own_display=1
    shift
fi

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEPREFIX="${TAPSTER_WINEPREFIX:-$root/build/wineprefix}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    if [[ -n "$xvfb_pid" ]]; then
        kill "$xvfb_pid" >/dev/null 2>&1 || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [[ $own_display -eq 1 || -z "${DISPLAY:-}" ]]; then
    # Xvfb picks a free display number itself and writes it once it takes connections: two
    # runs started at the same moment never share a display, and so never each other's clicks.
    number_file="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        [[ -s "$number_file" ]] && break
        sleep 0.1
    done
    number="$(tr -dc 0-9 <"$number_file")"
    rm -f "$number_file"
    if [[ -z "$number" ]]; then
        echo "with-wine: Xvfb did not start" >&2
        exit 1
    fi
    echo "with-wine: no display of its own given; started Xvfb on :$number" >&2
    export DISPLAY=":$number"
fi

if [[ ! -f "$WINEPREFIX/.tapster-ready" ]]; then
    template="${TAPSTER_WINEPREFIX_FROM:-}"
    if [[ -n "$template" && -f "$template/.tapster-ready" ]]; then
        echo "with-wine: copying the Wine prefix $template to $WINEPREFIX" >&2
        rm -rf "$WINEPREFIX"
        cp -a "$template" "$WINEPREFIX"
        rm "$WINEPREFIX/.tapster-ready"
    else
        echo "with-wine: creating the Wine prefix $WINEPREFIX (once, about 10 s)" >&2
        mkdir -p "$WINEPREFIX"
        # Its messages go to the caller's log: a prefix that cannot be made must say why.
        wineboot -i >&2
        # Debian's Wine does not look in its own font folder; the program's dialog font
        # ("MS Sans Serif") and Tahoma come from there.
        if compgen -G "/usr/share/wine/fonts/*" >/dev/null; then
            cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        fi
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >&2
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >&2
    fi
    if [[ -n "${TAPSTER_DPI:-}" ]]; then
        # A display scale other than 100%, for the tests that must hold at any scale.
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TAPSTER_DPI" /f >/dev/null 2>&1
        wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
            /v LogPixels /t REG_DWORD /d "$TAPSTER_DPI" /f >/dev/null 2>&1
    fi
    wineserver -w
    touch "$WINEPREFIX/.tapster-ready"
fi

# One wineserver for the whole run: each Windows program then starts in a fraction of a
# second instead of bringing up Wine anew.
wineserver -p
# Wine's own background programs (services, the desktop) start with the first program and
# inherit its output; started here, they hold no test's output open after the test ends.
wine cmd /c exit >/dev/null 2>&1 </dev/null
"$@"
