#!/usr/bin/env bash
# Builds everything and runs every test: the main build (GCC) and the fuzz targets (clang with
# AddressSanitizer and UndefinedBehaviorSanitizer) replaying their corpora.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZT300_FUZZ=ON -DZT300_UI=OFF -DZT300_BENCH=OFF -DBUILD_TESTING=ON "${launcher[@]}"
cmake --build build-fuzz -j2 --target zt300_fuzz_targets
ctest --test-dir build-fuzz --output-on-failure -L fuzz
