#!/usr/bin/env bash
# Installs what the build needs (Debian packages), builds everything in ./build and runs
# every test. The exit code is ctest's.
# --sanitize: the same in ./build-asan with AddressSanitizer and UndefinedBehaviorSanitizer;
# a memory error, a leak or undefined behaviour then fails the test that runs into it.
set -euo pipefail
cd "$(dirname "$0")"

dir=build
config=()
if [[ "${1:-}" == --sanitize ]]; then
    dir=build-asan
    config=(-DVANTREL_SANITIZE=ON)
    export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}"
    export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:suppressions=$PWD/tests/sanitizer/ubsan.supp}"
fi

bash .ci/install-packages
cmake -S . -B "$dir" -G Ninja "${config[@]}"
cmake --build "$dir" -j "$(nproc)"
cd "$dir"
QT_QPA_PLATFORM=offscreen exec ctest --output-on-failure
