#!/usr/bin/env bash
# Configures and builds the project in build/ (or $ZW_BUILD).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${ZW_BUILD:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" --parallel "${ZW_JOBS:-2}"
