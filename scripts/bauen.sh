#!/usr/bin/env bash
# Configures and builds the project in build/ (or $ZW_BUILD): every target,
# or only those named in $ZW_ZIELE. Arguments go to cmake's configure step
# (after the defaults, so they win).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${ZW_BUILD:-build}"
# Tests and benchmarks are on unless the arguments say otherwise, so a
# build folder that scripts/starten.sh configured without them gets them back.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZW_TESTS=ON -DZW_BENCH=ON \
    "$@" >/dev/null
ziele=()
for ziel in ${ZW_ZIELE:-}; do
    ziele+=(--target "$ziel")
done
cmake --build "$build" --parallel "${ZW_JOBS:-2}" "${ziele[@]}"
