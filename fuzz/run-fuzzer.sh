#!/usr/bin/env bash
# Fuzzes the condition reader for the given number of seconds (default 600) with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer. It works on a copy of the stored corpus and
# finally merges into the stored corpus only the inputs that reach new edges.
# Usage: fuzz/run-fuzzer.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZT300_FUZZ=ON -DZT300_UI=OFF -DZT300_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2 --target condition_fuzzer
work=build-fuzz/corpus-work
mkdir -p "$work" build-fuzz/findings
build-fuzz/fuzz/condition_fuzzer -max_total_time="$seconds" -max_len=16384 -timeout=10 \
    -artifact_prefix=build-fuzz/findings/ "$work" fuzz/corpus/condition
# Edges only, so the stored corpus stays small.
build-fuzz/fuzz/condition_fuzzer -merge=1 -use_counters=0 fuzz/corpus/condition "$work"
