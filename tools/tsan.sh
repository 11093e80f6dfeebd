#!/usr/bin/env bash
# Builds the core and its tests with ThreadSanitizer into build-tsan/ and runs the tests of the
# threads: the events, the display feed, the data thread, the max/min table, the record
# overview's builder, the document's runs and external inputs, the links, the calibration's
# measuring thread, the card transfer's library calls beside the UI thread, and the voice notes
# with their simulated microphone.
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZT300_UI=OFF -DZT300_BENCH=OFF \
    -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread "${launcher[@]}"
# Each test program by its folder under tests/.
tests=(
    framework/framework_tests
    monitor/monitor_tests
    datapath/datapath_tests
    records/records_tests
    records/record_reader_tests
    acquisition/acquisition_tests
    acquisition/voice_notes_tests
    device/device_tests
    device/sim/device_sim_tests
    device/net/device_net_tests
    setup/setup_calibration_tests
    setup/setup_files_tests
    monitor/voice_tests
)
cmake --build build-tsan -j2 --target "${tests[@]##*/}"
export TSAN_OPTIONS="halt_on_error=1"
for test in "${tests[@]}"; do
    build-tsan/tests/"$test"
done
