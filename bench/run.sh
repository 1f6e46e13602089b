#!/bin/sh
# Runs the benchmarks by hand: the hot paths offscreen, then on an Xvfb server with openbox (the
# screen copy included), then start-up and memory at 1280x800 and 3840x2160.
#   bench/run.sh [BUILD_DIR]      (default: build)
set -eu
build=${1:-build}
bench="$build/bench"

# Starts Xvfb with openbox on a free display of the given screen size; sets DISPLAY and PIDS.
start_display() {
    exec 3>"${TMPDIR:-/tmp}/fw-bench-display.$$"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
        [ -s "${TMPDIR:-/tmp}/fw-bench-display.$$" ] && break
        sleep 0.1
    done
    DISPLAY=":$(cat "${TMPDIR:-/tmp}/fw-bench-display.$$")"
    export DISPLAY
    openbox >/dev/null 2>&1 &
    PIDS="$xvfb $!"
    sleep 1
}

stop_display() {
    kill $PIDS 2>/dev/null || true
    wait $PIDS 2>/dev/null || true
    rm -f "${TMPDIR:-/tmp}/fw-bench-display.$$"
}
trap stop_display EXIT

QT_QPA_PLATFORM=offscreen "$bench/bench_tutorial" 2>/dev/null
QT_QPA_PLATFORM=offscreen "$bench/bench_largelayout" 2>/dev/null || true

# Wide enough for the largest main window beside the floor windows.
start_display 6400x2400
QT_QPA_PLATFORM=xcb "$bench/bench_tutorial" 2>/dev/null
stop_display

for size in 1280x800 3840x2160; do
    start_display "$size"
    QT_QPA_PLATFORM=xcb "$bench/bench_startup" "$build/fingerwise" "$bench/bench_trivial_window" 9 \
        2>/dev/null || true
    stop_display
done
