#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tutorial.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Fingerwise needs a graphical desktop: no display was found, so start it from a desktop session." >&2
    exit 1
fi
exec build/fingerwise
