# Sourced by sanitize.sh and fuzz.sh: the sanitized build in build-san/ (clang, with the fuzz
# targets) and the sanitizers' run-time options.
SANITIZED_BUILD=build-san
SANITIZERS=address,undefined

# sanitized_build [TARGET...]: configures $SANITIZED_BUILD under $SANITIZERS when needed and builds
# the targets (or all).
sanitized_build() {
    if [ ! -f "$SANITIZED_BUILD/CMakeCache.txt" ]; then
        CC=clang CXX=clang++ cmake -S . -B "$SANITIZED_BUILD" -DFW_FUZZ=ON \
            -DFW_SANITIZERS="$SANITIZERS" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    fi
    if [ $# -gt 0 ]; then
        cmake --build "$SANITIZED_BUILD" --parallel "$(nproc)" --target "$@"
    else
        cmake --build "$SANITIZED_BUILD" --parallel "$(nproc)"
    fi
}

export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
