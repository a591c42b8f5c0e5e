#!/usr/bin/env bash
# Cross-builds the libraries the program links for 64-bit Windows (zlib,
# libzip, pugixml) from Debian's own source packages, with Debian's
# MinGW-w64 compiler, into a cache folder outside the repository. Each
# library is kept under its name, version and build options and reused when
# present; nothing of them is ever committed.
#   scripts/windows-bibliotheken.sh          builds what is missing, prints the prefix
# Everything but the prefix goes to the error output, so a caller can take
# the prefix from the standard output.
# The prefix ($ZW_WIN_CACHE, default ~/.cache/zeichenwandler-windows, then
# "bibliotheken-<key>") is what the Windows preset's ZW_WIN_BIBLIOTHEKEN names.
# liblouis is not among them: its source package is not served by the mirror
# here, so the Windows build goes without the braille codes.
# The source packages come through a private apt configuration with a deb-src
# entry for this machine's mirror; the machine's own apt set-up is not touched.
set -euo pipefail
cd "$(dirname "$0")/.."
projekt="$PWD"
cache="${ZW_WIN_CACHE:-$HOME/.cache/zeichenwandler-windows}"
jobs="${ZW_JOBS:-2}"
mingw=x86_64-w64-mingw32

command -v dpkg-source >/dev/null || scripts/abhaengigkeiten.sh tests
command -v "$mingw-gcc-posix" >/dev/null || scripts/abhaengigkeiten.sh windows

# --- sources -------------------------------------------------------------
. scripts/debian-quellen.sh

# --- the libraries -------------------------------------------------------
declare -A versionen
for paket in zlib libzip pugixml; do
    versionen[$paket]=$(version "$paket")
    [ -n "${versionen[$paket]}" ] || {
        echo "Quellpaket $paket nicht gefunden ($suite)." >&2
        exit 1
    }
done
# One prefix for the set: its key names every version and the options below.
optionen="statisch-posix-v2"
schluessel=$(printf '%s ' "${versionen[@]}" "$optionen" "$(${mingw}-gcc-posix -dumpversion)" |
    sha256sum | cut -c1-12)
prefix="$cache/bibliotheken-$suite-$schluessel"
if [ -f "$prefix/.fertig" ]; then
    echo "$prefix"
    exit 0
fi
rm -rf "$prefix"
mkdir -p "$prefix"
bau="$cache/bau"
rm -rf "$bau"
mkdir -p "$bau"

# A required source package the mirror does not serve ends the script with
# status 3, so the caller can tell it from a failing build.
quelle_noetig() {
    quelle "$1" "$2" || {
        echo "Das Quellpaket $1 $2 ist vom Debian-Spiegel nicht zu bekommen." >&2
        exit 3
    }
}

cmake_bauen() {
    local name=$1 quellordner=$2
    shift 2
    cmake -S "$quellordner" -B "$bau/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$projekt/cmake/toolchain-mingw.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
        -DBUILD_SHARED_LIBS=OFF "$@" >"$bau/$name.log" 2>&1 || {
        tail -n 40 "$bau/$name.log" >&2
        exit 1
    }
    cmake --build "$bau/$name" --parallel "$jobs" >>"$bau/$name.log" 2>&1 &&
        cmake --install "$bau/$name" >>"$bau/$name.log" 2>&1 || {
        tail -n 40 "$bau/$name.log" >&2
        exit 1
    }
    echo "  $name gebaut" >&2
}

# Every source first, so a missing one ends the script before any build.
zlib=$(quelle_noetig zlib "${versionen[zlib]}")
libzip=$(quelle_noetig libzip "${versionen[libzip]}")
pugixml=$(quelle_noetig pugixml "${versionen[pugixml]}")

echo >&2 "Windows-Bibliotheken werden gebaut: zlib ${versionen[zlib]}, libzip ${versionen[libzip]}, pugixml ${versionen[pugixml]}"
# zlib: Debian's dfsg source lacks the DLL's resource file, and only the
# static library is wanted anyway.
cmake -S "$zlib" -B "$bau/zlib" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$projekt/cmake/toolchain-mingw.cmake" >"$bau/zlib.log" 2>&1 &&
    cmake --build "$bau/zlib" --parallel "$jobs" --target zlibstatic >>"$bau/zlib.log" 2>&1 || {
    tail -n 40 "$bau/zlib.log" >&2
    exit 1
}
mkdir -p "$prefix/include" "$prefix/lib"
cp "$zlib/zlib.h" "$bau/zlib/zconf.h" "$prefix/include/"
cp "$bau/zlib/libzlibstatic.a" "$prefix/lib/libz.a"
echo "  zlib gebaut" >&2
cmake_bauen libzip "$libzip" \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
    -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_COMMONCRYPTO=OFF \
    -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
    -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
    -DBUILD_OSSFUZZ=OFF
cmake_bauen pugixml "$pugixml" -DPUGIXML_BUILD_TESTS=OFF

rm -rf "$bau"
printf '%s\n' "zlib ${versionen[zlib]}" "libzip ${versionen[libzip]}" \
    "pugixml ${versionen[pugixml]}" "$optionen" >"$prefix/.fertig"
echo "$prefix"
