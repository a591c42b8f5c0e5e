#!/usr/bin/env bash
# Installs what the program needs, builds the program alone (no tests, no
# benchmarks, so neither GoogleTest, Google Benchmark nor Qt Test is needed),
# and starts it. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/abhaengigkeiten.sh programm
ZW_ZIELE="zeichenwandler zeichenwandler-cli" scripts/bauen.sh -DZW_TESTS=OFF -DZW_BENCH=OFF
exec build/bin/zeichenwandler "$@"
