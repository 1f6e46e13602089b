#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless; then runs the whole suite again
# under the sanitizers and each fuzz target for a few seconds, so that a regression shows.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300)
scripts/sanitize.sh
scripts/fuzz.sh 5
