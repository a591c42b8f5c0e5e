#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs all tests: the format
# check, a short libFuzzer run of every fuzz target (clang), the Windows check
# under Wine, the Debian package check, then the test suite (ctest).
# In CI (CI=true) the project's warnings are errors (ZW_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
gruppen=(tests)
[ "${ZW_WINDOWS:-1}" = 0 ] || gruppen+=(windows)
scripts/abhaengigkeiten.sh "${gruppen[@]}"

werror="${ZW_WERROR:-OFF}"
[ "${CI:-}" != true ] || werror="${ZW_WERROR:-ON}"
export ZW_WERROR="$werror"

scripts/format-pruefen.sh

# Fuzzing: the core alone, built with clang, libFuzzer, ASan and UBSan.
fuzz_sekunden="${ZW_FUZZ_SEKUNDEN:-20}"
if [ "$fuzz_sekunden" -gt 0 ]; then
    CC=clang CXX=clang++ ZW_BUILD=build-fuzz scripts/bauen.sh \
        -DZW_NUR_KERN=ON -DZW_FUZZ=ON -DZW_SANITIZE=ON -DZW_BENCH=OFF -DZW_WERROR="$werror"
    for ziel in build-fuzz/bin/fuzz_*; do
        name=$(basename "$ziel")
        korpus=$(mktemp -d)
        cp tests/fuzz/korpus/* "$korpus"/
        echo "Fuzzing $name für ${fuzz_sekunden} s"
        "$ziel" -max_total_time="$fuzz_sekunden" -max_len=4096 -rss_limit_mb=2048 \
            -print_final_stats=0 "$korpus" 2>"$korpus.log" || {
            tail -n 60 "$korpus.log"
            echo "Fuzzing von $name hat einen Fehler gefunden."
            exit 1
        }
        tail -n 1 "$korpus.log"
        rm -rf "$korpus" "$korpus.log"
    done
fi

scripts/bauen.sh -DZW_TESTS=ON -DZW_BENCH=ON -DZW_WERROR="$werror"

# Windows: the core, the tool and their tests cross-built and run under Wine.
if [ "${ZW_WINDOWS:-1}" != 0 ]; then
    scripts/windows-pruefen.sh
fi

# The Debian package installed, started and removed again; apt-get needs root.
if [ "$(id -u)" -eq 0 ] && [ "${ZW_PAKET:-1}" != 0 ]; then
    scripts/paket-pruefen.sh build
else
    echo "Paketprüfung übersprungen (nur als root; ZW_PAKET=0 schaltet sie ab)."
fi

cd build
ZW_NICHTS_AUSLASSEN=1 QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j "${ZW_JOBS:-2}"
