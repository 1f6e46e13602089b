#!/usr/bin/env bash
# Runs each fuzz target (or the named ones) for the given number of seconds on the sanitized build
# (build-san/, made when missing), starting from the shipped layout files and fuzz/corpus, with the
# INI dictionary. What each target finds grows its corpus in build-san/fuzz-corpus/<target>; a
# finding stops the run, leaves its input in build-san/fuzz-findings/ and fails.
#   scripts/fuzz.sh SECONDS [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_layoutfile fuzz_layoutload fuzz_settingswrite)
source scripts/sanitizers.sh
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
    echo "== $target for ${seconds}s"
    "$SANITIZED_BUILD/fuzz/$target" -max_total_time="$seconds" -dict=fuzz/ini.dict \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$SANITIZED_BUILD/fuzz-findings/$target-" "$corpus" "$seeds"
done
