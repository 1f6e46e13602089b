#!/usr/bin/env bash
# Runs each fuzz target (or the named ones), starting from the shipped layout files and fuzz/corpus,
# with the INI dictionary, on inputs of up to 2 KiB (they reach every parser's branches, and a
# whole shipped layout would cost ten times as much per input).
#   scripts/fuzz.sh SECONDS [TARGET...]   for a time, on the build under the address and undefined-
#                                         behaviour sanitizers (build-san/, made when missing)
#   scripts/fuzz.sh --runs N [TARGET...]  for N inputs each, on a build under the undefined-behaviour
#                                         sanitizer alone (build-fuzz/), several times faster
# What a target finds grows its corpus in <build>/fuzz-corpus/<target>; a finding stops the run,
# leaves its input in <build>/fuzz-findings/ and fails.
set -euo pipefail
cd "$(dirname "$0")/.."
usage="usage: scripts/fuzz.sh SECONDS|--runs N [TARGET...]"
source scripts/sanitizers.sh
if [ "${1:-}" = --runs ]; then
    limit=(-runs="${2:?$usage}")
    shift 2
    SANITIZED_BUILD=build-fuzz
    SANITIZERS=undefined
else
    limit=(-max_total_time="${1:?$usage}")
    shift
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_layoutfile fuzz_layoutload fuzz_settingswrite)
sanitized_build "${targets[@]}"

# The targets write a file per input: on a memory file system that costs no disk flushes.
if [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"
seeds="$SANITIZED_BUILD/fuzz-seeds"
mkdir -p "$seeds" "$SANITIZED_BUILD/fuzz-findings"
cp data/*.kb fuzz/corpus/* "$seeds/"
for target in "${targets[@]}"; do
    corpus="$SANITIZED_BUILD/fuzz-corpus/$target"
    mkdir -p "$corpus"
    echo "== $target: ${limit[*]}"
    "$SANITIZED_BUILD/fuzz/$target" "${limit[@]}" -max_len=2048 -dict=fuzz/ini.dict \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$SANITIZED_BUILD/fuzz-findings/$target-" "$corpus" "$seeds"
done
