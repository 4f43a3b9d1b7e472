#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ and runs
# the whole test suite under them. Any report fails the run: UBSan stops at its first finding
# (-fno-sanitize-recover=undefined), ASan at its first error, and LeakSanitizer fails a test
# with a leak, apart from the system-library leaks listed in scripts/lsan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVAN_SANITIZE=ON "$@" >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
cd build-asan
ctest --output-on-failure -j"$(nproc)"
