#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when they are missing.
# Prints one line per step; the package manager's own output shows only when a step fails.
set -euo pipefail

packages=(
    cmake g++ make clang libclang-rt-dev
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools libgl-dev
    fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
    desktop-file-utils appstream
)

# Runs a command with its output held back, and shows the output only when the command fails.
quietly() {
    local log
    log=$(mktemp)
    if ! "$@" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
}

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "Packages: all ${#packages[@]} are installed."
    exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Updating the package lists..."
quietly $sudo apt-get update
echo "Installing ${missing[*]}..."
quietly $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
echo "Packages: installed."
