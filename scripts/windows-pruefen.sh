#!/usr/bin/env bash
# Builds the core, the command-line tool and their tests for 64-bit Windows
# with Debian's MinGW-w64 cross compiler (CMake preset "windows", folder
# build-win) and runs them under Wine: every test in Wine's default ANSI code
# page (Windows-1252), and the Windows-only tests once more under the
# single-byte code pages 1250, 1251 and 1253 and the double-byte ones 932
# and 949, which Wine takes from the name in LC_ALL. Each run asserts that
# Wine really is in the code page it is meant to test (ZW_CODEPAGE), so a run
# that stayed in 1252 fails instead of testing 1252 again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/abhaengigkeiten.sh windows

# libzip, zlib and pugixml cross-built from Debian's source packages, once.
# Where the mirror does not serve their sources, Debian 13 says so in one
# line and goes on without the Windows check; Debian 12 must have them.
status=0
bibliotheken=$(scripts/windows-bibliotheken.sh) || status=$?
if [ $status -eq 3 ] && [ "$(. /etc/os-release && echo "$VERSION_CODENAME")" != bookworm ]; then
    echo "Windows-Prüfung übersprungen: der Debian-Spiegel liefert die Quellpakete der Windows-Bibliotheken nicht."
    exit 0
fi
[ $status -eq 0 ] || exit $status
bibliotheken=$(tail -n 1 <<<"$bibliotheken")
# New library versions lie in a new folder; what an earlier configure found
# in the old one must go.
if [ -f build-win/CMakeCache.txt ] &&
    grep -F "$(dirname "$bibliotheken")/bibliotheken-" build-win/CMakeCache.txt |
    grep -qvF "$bibliotheken"; then
    rm -f build-win/CMakeCache.txt
fi
cmake --preset windows -DZW_WERROR="${ZW_WERROR:-OFF}" -DZW_WIN_BIBLIOTHEKEN="$bibliotheken" >/dev/null
cmake --build --preset windows --parallel "${ZW_JOBS:-2}"

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
export WINEPREFIX="$PWD/build-win/wine"
export WINEDEBUG=-all
# No installer dialogs for Wine's .NET and HTML engines, which nothing here uses.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY ZW_NICHTS_AUSLASSEN
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Wine-Umgebung wird angelegt: $WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1 || true
fi

# One wineserver for the whole run: otherwise each test program may meet a
# server that is just shutting down after the last one ended, and dies with
# "wine client error: recvmsg: Connection reset by peer".
# A server still running (from wineboot, say) is let end first: a second one
# for the same prefix refuses to start.
wineserver="$(dirname "$(readlink -f "$wine")")/wineserver"
"$wineserver" -w
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT

fehler=0
for lauf in pl_PL:1250 ru_RU:1251 el_GR:1253 ja_JP:932 ko_KR:949; do
    sprache=${lauf%%:*}
    if ! LC_ALL=$sprache.UTF-8 ZW_CODEPAGE=${lauf##*:} "$wine" build-win/bin/test_windows.exe --gtest_brief=1 \
        >"build-win/test_windows-$sprache.log" 2>&1; then
        cat "build-win/test_windows-$sprache.log"
        echo "test_windows.exe scheitert unter $sprache."
        fehler=1
    else
        echo "test_windows.exe unter $sprache: $(grep -E 'PASSED' "build-win/test_windows-$sprache.log")"
    fi
done

(cd build-win && LC_ALL=de_DE.UTF-8 ZW_CODEPAGE=1252 ctest --output-on-failure --timeout 300 -j "${ZW_JOBS:-2}") || fehler=1
exit $fehler
