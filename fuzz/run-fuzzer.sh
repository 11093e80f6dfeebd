#!/usr/bin/env bash
# Fuzzes one target (default: condition) for the given number of seconds (default 600) with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer. It works on a copy of the stored corpus and
# finally merges into the stored corpus only the inputs that reach new edges.
# Usage: fuzz/run-fuzzer.sh [name] [seconds]      (the names: zt300_add_fuzzer in fuzz/CMakeLists.txt)
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:-condition}
seconds=${2:-600}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZT300_FUZZ=ON -DZT300_UI=OFF -DZT300_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2 --target "${name}_fuzzer"
work=build-fuzz/corpus-work/$name
mkdir -p "$work" build-fuzz/findings fuzz/corpus/"$name"
build-fuzz/fuzz/"${name}_fuzzer" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
    -artifact_prefix=build-fuzz/findings/"$name"- "$work" fuzz/corpus/"$name"
# Edges only, so the stored corpus stays small.
build-fuzz/fuzz/"${name}_fuzzer" -merge=1 -use_counters=0 fuzz/corpus/"$name" "$work"
