#!/usr/bin/env bash
# Builds the whole program and the tool for Windows against Qt cross-built
# from Debian's source package (scripts/windows-qt.sh, built once into a
# cache folder) and puts Qt's libraries, the platform plugin and the MinGW
# runtime beside them, so the program starts under Wine:
#
#   scripts/windows-programm.sh      # -> build-win-programm/bin/zeichenwandler.exe
#
# Started under Wine with DISPLAY set: wine64 build-win-programm/bin/zeichenwandler.exe
set -euo pipefail
cd "$(dirname "$0")/.."

qt=$(scripts/windows-qt.sh | tail -n 1)
bibliotheken=$(scripts/windows-bibliotheken.sh | tail -n 1)
bau="${ZW_WIN_PROGRAMM_BUILD:-build-win-programm}"

mkdir -p "$bau"
cmake -S . -B "$bau" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DCMAKE_BUILD_TYPE=Release -DZW_TESTS=OFF -DZW_BENCH=OFF \
    -DZW_WIN_BIBLIOTHEKEN="$bibliotheken" >"$bau/konfigurieren.log" 2>&1 || {
    tail -n 40 "$bau/konfigurieren.log"
    exit 1
}
cmake --build "$bau" --parallel "${ZW_JOBS:-2}" --target zeichenwandler zeichenwandler-cli

# Qt is built as DLLs; they, the Windows platform plugin and the runtime of
# the posix flavour of MinGW's GCC go beside the program.
ziel="$bau/bin"
for modul in Core Gui Widgets PrintSupport Network; do
    cp "$qt/bin/Qt6$modul.dll" "$ziel/"
done
mkdir -p "$ziel/platforms"
cp "$qt/plugins/platforms/qwindows.dll" "$ziel/platforms/"
gcc_ordner=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
    cp "$gcc_ordner/$dll" "$ziel/"
done
cp /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$ziel/"
echo "$ziel/zeichenwandler.exe"
