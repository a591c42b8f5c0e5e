#!/usr/bin/env bash
# Cross-builds the libraries the program links for 64-bit Windows (zlib,
# libzip, pugixml, liblouis) from Debian's own source packages, with Debian's
# MinGW-w64 compiler, into a cache folder outside the repository. Each
# library is kept under its name, version and build options and reused when
# present; nothing of them is ever committed.
#   scripts/windows-bibliotheken.sh          builds what is missing, prints the prefix
# Everything but the prefix goes to the error output, so a caller can take
# the prefix from the standard output.
# The prefix ($ZW_WIN_CACHE, default ~/.cache/zeichenwandler-windows, then
# "bibliotheken-<key>") is what the Windows preset's CMAKE_PREFIX_PATH names.
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
for paket in zlib libzip pugixml liblouis; do
    versionen[$paket]=$(version "$paket")
    [ -n "${versionen[$paket]}" ] || {
        echo "Quellpaket $paket nicht gefunden ($suite)." >&2
        exit 1
    }
done
# One prefix for the set: its key names every version and the options below.
optionen="statisch-posix-ucs4-v1"
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

echo >&2 "Windows-Bibliotheken werden gebaut: zlib ${versionen[zlib]}, libzip ${versionen[libzip]}, pugixml ${versionen[pugixml]}, liblouis ${versionen[liblouis]}"
# zlib: Debian's dfsg source lacks the DLL's resource file, and only the
# static library is wanted anyway.
zlib=$(quelle_noetig zlib "${versionen[zlib]}")
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
libzip=$(quelle_noetig libzip "${versionen[libzip]}")
pugixml=$(quelle_noetig pugixml "${versionen[pugixml]}")
cmake_bauen libzip "$libzip" \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
    -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_COMMONCRYPTO=OFF \
    -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
    -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
    -DBUILD_OSSFUZZ=OFF
cmake_bauen pugixml "$pugixml" -DPUGIXML_BUILD_TESTS=OFF

# liblouis: autotools; wide characters of 4 bytes as Debian builds it. Where
# the mirror does not serve its source package, the Windows build goes
# without the braille codes, and says so.
louis_stand="liblouis ${versionen[liblouis]}"
if louis=$(quelle liblouis "${versionen[liblouis]}"); then
    mkdir -p "$bau/liblouis"
    (
        cd "$bau/liblouis"
        "$louis/configure" --host="$mingw" --prefix="$prefix" --enable-ucs4 --disable-shared \
            --enable-static --without-yaml CC="$mingw-gcc-posix" >"$bau/liblouis.log" 2>&1 &&
            make -C liblouis -j "$jobs" >>"$bau/liblouis.log" 2>&1 &&
            make -C liblouis install >>"$bau/liblouis.log" 2>&1 &&
            make -C tables install >>"$bau/liblouis.log" 2>&1
    ) || {
        tail -n 40 "$bau/liblouis.log" >&2
        exit 1
    }
    echo "  liblouis gebaut" >&2
else
    louis_stand="liblouis fehlt: der Spiegel liefert das Quellpaket ${versionen[liblouis]} nicht"
    echo "  $louis_stand" >&2
fi

rm -rf "$bau"
printf '%s\n' "zlib ${versionen[zlib]}" "libzip ${versionen[libzip]}" \
    "pugixml ${versionen[pugixml]}" "$louis_stand" "$optionen" >"$prefix/.fertig"
echo "$prefix"
