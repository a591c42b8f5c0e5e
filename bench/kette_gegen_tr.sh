#!/usr/bin/env bash
# Load, conversion and save of a Windows-1252 file through zeichenwandler-cli,
# against tr mapping the same characters of the same file, in one run.
# Prints the median of several rounds for both, their ratio and the tool's
# peak memory. Usage: bench/kette_gegen_tr.sh [BUILD] [MB] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
mb="${2:-100}"
runden="${3:-7}"
cli="$build/bin/zeichenwandler-cli"
tab=data/Eng-Ger.tab
ordner=$(mktemp -d)
trap 'rm -rf "$ordner"' EXIT

python3 - "$ordner/ein.txt" "$mb" <<'PY'
import sys
zeilen = ("Am Abend gingen die beiden Freunde noch einmal hinunter an den Fluss, wo das\r\n"
          "Wasser ruhig unter der alten Brücke hindurchzog. Sie sprachen über die Reise,\r\n"
          "die sie im nächsten Sommer machen wollten, und über die Bücher, die sie noch\r\n"
          "lesen mussten. Später saßen sie auf der Mauer und sahen den Schiffen nach.\r\n").encode("cp1252")
n = int(sys.argv[2]) * 1000 * 1000
open(sys.argv[1], "wb").write((zeilen * (n // len(zeilen) + 1))[:n])
PY

zeit() { # prints the elapsed seconds of a command, each starting without an old output
    local anfang ende
    rm -f "$ordner/tr.txt" "$ordner/aus.txt"
    sync
    anfang=$(date +%s.%N)
    "$@" >/dev/null
    ende=$(date +%s.%N)
    echo "$ende - $anfang" | bc -l
}
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

tr_mit_sync() {
    tr '\344\304\366\326\374\334\337' '>>[[\\\\!' <"$ordner/ein.txt" >"$ordner/tr.txt"
    sync "$ordner/tr.txt"
}
tr_ohne_sync() {
    tr '\344\304\366\326\374\334\337' '>>[[\\\\!' <"$ordner/ein.txt" >"$ordner/tr.txt"
}
cli_lauf() {
    "$cli" konvertieren --tabelle "$tab" "$ordner/ein.txt" "$ordner/aus.txt"
}

t_tr=(); t_trs=(); t_cli=()
for ((i = 0; i < runden; i++)); do
    t_tr+=("$(zeit tr_ohne_sync)")
    t_trs+=("$(zeit tr_mit_sync)")
    t_cli+=("$(zeit cli_lauf)")
done
m_tr=$(printf '%s\n' "${t_tr[@]}" | median)
m_trs=$(printf '%s\n' "${t_trs[@]}" | median)
m_cli=$(printf '%s\n' "${t_cli[@]}" | median)
tr_ohne_sync
spitze=$( { /usr/bin/time -f '%M' "$cli" konvertieren --tabelle "$tab" "$ordner/ein.txt" "$ordner/aus.txt" >/dev/null; } 2>&1 | tail -n 1)

# Both outputs agree but for the CR LF the tool adds after an unterminated last line.
cmp -n "$(stat -c %s "$ordner/tr.txt")" "$ordner/tr.txt" "$ordner/aus.txt"

printf 'Datei: %s MB Windows-1252, %s Runden (Median)\n' "$mb" "$runden"
printf 'tr:                        %.3f s\n' "$m_tr"
printf 'tr, danach sync:           %.3f s\n' "$m_trs"
printf 'zeichenwandler-cli:        %.3f s (schreibt atomar mit fsync)\n' "$m_cli"
printf 'Verhältnis zu tr:          %.2f\n' "$(echo "$m_cli / $m_tr" | bc -l)"
printf 'Verhältnis zu tr + sync:   %.2f\n' "$(echo "$m_cli / $m_trs" | bc -l)"
printf 'Spitzenspeicher:           %s KB (%.2f x die Datei als UTF-16)\n' "$spitze" \
    "$(echo "$spitze * 1024 / ($mb * 2000000)" | bc -l)"
