#!/usr/bin/env bash
# Installs the Debian packages in packages.txt that this machine does not have yet, quietly:
# one line says which, and apt's own output goes to build/logs/apt-<part>.log.
#   scripts/install-deps.sh [build|run]            the packages of that part (default: all)
#   scripts/install-deps.sh --missing [build|run]  only lists those not installed yet
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"

list_only=0
if [[ "${1:-}" == "--missing" ]]; then
    list_only=1
    shift
fi
part="${1:-all}"

missing=()
section=""
while read -r line; do
    case "$line" in
    "# build:"*) section=build ;;
    "# run:"*) section=run ;;
    "" | \#*) ;;
    *)
        if [[ "$part" == all || "$part" == "$section" ]] &&
            ! dpkg-query -W -f='${Status}' "$line" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$line")
        fi
        ;;
    esac
done <"$here/packages.txt"

if [[ $list_only -eq 1 ]]; then
    if [[ ${#missing[@]} -gt 0 ]]; then
        printf '%s\n' "${missing[@]}"
    fi
    exit 0
fi
if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

log="build/logs/apt-$part.log"
mkdir -p "$root/build/logs"
echo "install-deps: installing ${missing[*]} (apt's output: $log)" >&2
sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
apt_get() {
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get -q -y -o Dpkg::Use-Pty=0 "$@"
}
install() {
    # Package lists older than a day may name versions the mirror no longer has.
    if [[ -z "$(find /var/lib/apt/lists -maxdepth 1 -name '*_Packages*' -mtime -1 2>/dev/null)" ]]; then
        apt_get update
    fi
    apt_get install --no-install-recommends "${missing[@]}" ||
        { apt_get update && apt_get install --no-install-recommends "${missing[@]}"; }
}
if ! install >"$root/$log" 2>&1; then
    echo "install-deps: apt-get failed; the end of $log:" >&2
    tail -n 20 "$root/$log" >&2
    exit 1
fi
