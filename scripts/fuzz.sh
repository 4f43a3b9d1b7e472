#!/usr/bin/env bash
# Runs one libFuzzer target: scripts/fuzz.sh TARGET SECONDS  (TARGET: project, file, expr or wmf).
# Builds the targets with clang in build-fuzz/ (AddressSanitizer and UndefinedBehaviorSanitizer,
# the object pools kept and poisoned; scripts/setup.sh installs clang when missing), seeds the
# corpus in build-fuzz/corpus/TARGET with examples/, data/ and fuzz/seeds/, and keeps what it finds
# there; a crashing input is written to build-fuzz/crash-* and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?usage: scripts/fuzz.sh project|file|expr|wmf SECONDS}"
seconds="${2:-60}"
case "$target" in project | file | expr | wmf) ;; *) echo "unknown target: $target" >&2; exit 2 ;; esac

compiler=""
for c in clang++-14 clang++; do
    if command -v "$c" >/dev/null; then compiler="$c"; break; fi
done
if [ -z "$compiler" ]; then
    bash scripts/setup.sh
    compiler=clang++-14
fi

extra=()
if command -v ccache >/dev/null; then extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$compiler" \
    -DKORVAN_FUZZ=ON -DKORVAN_ASAN_POOLS=ON -DKORVAN_BUILD_UI=OFF -DKORVAN_BUILD_TESTS=OFF "${extra[@]}" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "fuzz_$target"

corpus="build-fuzz/corpus/$target"
mkdir -p "$corpus"
case "$target" in
    expr) seeds=(fuzz/seeds/expr) ;;
    *) seeds=(examples data fuzz/seeds/project) ;;
esac
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ASAN_OPTIONS="detect_leaks=1"
cd build-fuzz
"./fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -print_final_stats=1 "corpus/$target" "${seeds[@]/#/../}"
