#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/abhaengigkeiten.sh
scripts/bauen.sh
bin=build/bin
if [ -x "$bin/zeichenwandler" ]; then
    exec "$bin/zeichenwandler" "$@"
fi
# Until the window exists, the command-line tool shows the core at work on
# the shipped sample.
out=$(mktemp -d)/Beispiel-konvertiert.txt
"$bin/zeichenwandler-cli" konvertieren --tabelle "$bin/Eng-Ger.tab" "$bin/Beispiel.txt" "$out"
"$bin/zeichenwandler-cli" text "$out"
