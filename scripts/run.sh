#!/usr/bin/env bash
# Installs what is missing, builds the tutorial, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Fingerwise needs a graphical desktop: no display was found, so start it from a desktop session." >&2
    exit 1
fi
scripts/setup.sh
scripts/build.sh --target fingerwise
exec build/fingerwise
