#!/usr/bin/env bash
# Checks that every C++ source of the project is formatted with the project's
# .clang-format; with --korrigieren it formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || scripts/abhaengigkeiten.sh tests
command -v git >/dev/null || scripts/abhaengigkeiten.sh tests
# A failing git inside the substitution would go unnoticed; an empty list too.
mapfile -t dateien < <(git ls-files '*.cpp' '*.h')
if [ ${#dateien[@]} -eq 0 ]; then
    echo "Formatprüfung: keine Quelltexte gefunden (ist dies ein Git-Klon?)."
    exit 1
fi
if [ "${1:-}" = --korrigieren ]; then
    clang-format -i "${dateien[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror "${dateien[@]}" 2>"${TMPDIR:-/tmp}/zw-format.log"; then
    grep -E '^[^ ].*(warning|error):' "${TMPDIR:-/tmp}/zw-format.log" | cut -d: -f1 | sort -u |
        sed 's/^/  nicht formatiert: /'
    echo "Formatprüfung gescheitert ($(clang-format --version | head -n 1)); scripts/format-pruefen.sh --korrigieren formatiert die Dateien."
    exit 1
fi
echo "Formatprüfung bestanden: ${#dateien[@]} Dateien."
