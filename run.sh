#!/usr/bin/env bash
# Builds the program in Release into build/ and starts it on the in-process demo recorders.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
cmake --build build -j2 --target zt300ctl

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a build/apps/zt300ctl/zt300ctl --demo "$@"
fi
exec build/apps/zt300ctl/zt300ctl --demo "$@"
