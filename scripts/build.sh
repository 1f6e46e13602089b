#!/usr/bin/env bash
# Configures and builds into build/ (the program lands at build/fingerwise). Arguments go to
# `cmake --build`, so `scripts/build.sh --target fingerwise` builds only the program.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build build --parallel "$(nproc)" "$@"
