#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/abhaengigkeiten.sh
scripts/bauen.sh
exec build/bin/zeichenwandler "$@"
