#!/usr/bin/env bash
# Builds everything with clang under the address, undefined-behaviour and leak sanitizers into
# build-san/ (the fuzz targets too) and runs the whole test suite there, headless. Any report of a
# sanitizer fails the test that made it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizers.sh
sanitized_build
cd "$SANITIZED_BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 600
