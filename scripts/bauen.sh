#!/usr/bin/env bash
# Configures and builds the project in build/ (or $ZW_BUILD): every target,
# or only those named in $ZW_ZIELE. Arguments go to cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${ZW_BUILD:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
ziele=()
for ziel in ${ZW_ZIELE:-}; do
    ziele+=(--target "$ziel")
done
cmake --build "$build" --parallel "${ZW_JOBS:-2}" "${ziele[@]}"
