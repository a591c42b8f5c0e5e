#!/usr/bin/env bash
# Installs a build into a private prefix with `cmake --install` and checks the
# tree there: installation-pruefen.sh BAUORDNER FENSTERBERICHT DATENORDNER
set -euo pipefail
bau=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$bau" --prefix "$prefix" >/dev/null
"$(dirname "$0")/baum-pruefen.sh" "$prefix" "$2" "$3"
