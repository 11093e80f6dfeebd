#!/usr/bin/env bash
# Builds everything and runs every test: the main build (GCC) with its tests (the installed
# layout and desktop files included), the fuzz targets (clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) replaying their corpora, and the threaded tests under
# ThreadSanitizer. Each stage's time is printed at the end.
set -euo pipefail
cd "$(dirname "$0")"

times=()
stage() {
    local name=$1 start=$SECONDS
    shift
    "$@"
    times+=("$(printf '%-28s %5d s' "$name" $((SECONDS - start)))")
}

stage "dependencies" ./tools/install-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export QT_QPA_PLATFORM=offscreen

build_main() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
    cmake --build build -j2
}
stage "build" build_main
stage "tests" ctest --test-dir build --output-on-failure -j2

fuzz_replay() {
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZT300_FUZZ=ON -DZT300_UI=OFF -DZT300_BENCH=OFF -DBUILD_TESTING=ON "${launcher[@]}"
    cmake --build build-fuzz -j2 --target zt300_fuzz_targets
    ctest --test-dir build-fuzz --output-on-failure -L fuzz
}
stage "fuzz build and replay" fuzz_replay
stage "ThreadSanitizer" ./tools/tsan.sh

printf '%s\n' "${times[@]}"
