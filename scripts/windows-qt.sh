#!/usr/bin/env bash
# Cross-builds Qt for 64-bit Windows from Debian's own source package
# qt6-base (the version of the host tools that qt6-base-dev installs), with
# Debian's MinGW-w64 compiler, into a cache folder outside the repository,
# keyed by version and options, and reuses it when present. Nothing of it is
# committed. Prints the prefix as its last line.
#   scripts/windows-qt.sh
# About 1,300 build steps: 25 to 40 minutes on 2 cores the first time.
set -euo pipefail
cd "$(dirname "$0")/.."
projekt="$PWD"
cache="${ZW_WIN_CACHE:-$HOME/.cache/zeichenwandler-windows}"
jobs="${ZW_JOBS:-2}"

command -v dpkg-source >/dev/null || scripts/abhaengigkeiten.sh tests
command -v x86_64-w64-mingw32-g++-posix >/dev/null || scripts/abhaengigkeiten.sh windows
dpkg-query -W -f='${Status}' qt6-base-dev 2>/dev/null | grep -q 'install ok installed' ||
    scripts/abhaengigkeiten.sh programm

. scripts/debian-quellen.sh

# The host tools (moc, uic, rcc) come from qt6-base-dev; the target Qt must
# be the same version.
host_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
optionen=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_sql=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_dbus=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
    # The dfsg source lacks wintab.h, which tablet events need.
    -DFEATURE_tabletevent=OFF
)
schluessel=$(printf '%s ' "$host_version" "${optionen[@]}" \
    "$(x86_64-w64-mingw32-g++-posix -dumpversion)" | sha256sum | cut -c1-12)
prefix="$cache/qt-$suite-$schluessel"
if [ -f "$prefix/.fertig" ]; then
    echo "$prefix"
    exit 0
fi

quellordner=$(quelle qt6-base "$host_version") || {
    echo "Das Quellpaket qt6-base $host_version ist nicht zu bekommen." >&2
    exit 1
}
bau="$cache/bau-qt-$schluessel"
mkdir -p "$bau"
echo "Qt $host_version für Windows wird gebaut (einmalig, 25 bis 40 Minuten auf 2 Kernen): $bau"
# A configure that stopped part-way is started again from the beginning.
[ -f "$bau/build.ninja" ] || rm -rf "${bau:?}"/*
cmake -S "$quellordner" -B "$bau" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$projekt/cmake/toolchain-mingw.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${optionen[@]}" >"$bau/konfigurieren.log" 2>&1 || {
    tail -n 40 "$bau/konfigurieren.log"
    exit 1
}
cmake --build "$bau" --parallel "$jobs" >"$bau/bauen.log" 2>&1 || {
    grep -A20 FAILED "$bau/bauen.log" | head -n 60
    exit 1
}
cmake --install "$bau" >"$bau/installieren.log" 2>&1 || {
    tail -n 40 "$bau/installieren.log"
    exit 1
}
printf 'qt6-base %s\n' "$host_version" >"$prefix/.fertig"
rm -rf "$bau"
echo "$prefix"
