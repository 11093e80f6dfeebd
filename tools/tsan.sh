#!/usr/bin/env bash
# Builds the core and its tests with ThreadSanitizer into build-tsan/ and runs the tests of the
# threads: the data thread, the max/min table, the record overview's builder, the document's runs
# and external inputs, the links, the calibration's measuring thread, and the voice notes with
# their simulated microphone.
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZT300_UI=OFF -DZT300_BENCH=OFF \
    -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread "${launcher[@]}"
tests=(datapath_tests records_tests record_reader_tests acquisition_tests device_tests device_sim_tests
    device_net_tests setup_calibration_tests voice_tests voice_notes_tests)
cmake --build build-tsan -j2 --target "${tests[@]}"
export TSAN_OPTIONS="halt_on_error=1"
build-tsan/tests/datapath/datapath_tests
build-tsan/tests/records/records_tests
build-tsan/tests/records/record_reader_tests
build-tsan/tests/acquisition/acquisition_tests
build-tsan/tests/device/device_tests
build-tsan/tests/device/sim/device_sim_tests
build-tsan/tests/device/net/device_net_tests
build-tsan/tests/setup/setup_calibration_tests
build-tsan/tests/monitor/voice_tests
build-tsan/tests/acquisition/voice_notes_tests
