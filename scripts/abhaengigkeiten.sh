#!/usr/bin/env bash
# Installs the Debian packages (Debian 12 or 13) that a task needs, but only
# those that are missing. Runs apt-get as root (or through sudo).
#   scripts/abhaengigkeiten.sh [programm|tests|windows]...   (default: programm)
#     programm  build and run the program
#     tests     besides, everything the test suite and its checks call
#     windows   the MinGW-w64 cross compiler and Wine for the Windows check
# Package names are the plain ones every supported release has (libclang-rt-dev
# follows the release's clang), so nothing here is tied to one release.
set -euo pipefail

programm=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-l10n-tools qt6-translations-l10n libgl-dev
    libcups2-dev liblouis-dev liblouis-data
    libzip-dev zipcmp zipmerge ziptool libpugixml-dev zlib1g-dev
)
tests=(
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-dev clang-format
    xvfb xauth xdotool
    openbox dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0 imagemagick x11-utils
    bc time procps file git
    dpkg-dev librsvg2-bin lintian appstream desktop-file-utils
    libreoffice-writer-nogui cups
)
windows=(
    g++-mingw-w64-x86-64-posix wine64 googletest
)

gruppen=("$@")
[ ${#gruppen[@]} -gt 0 ] || gruppen=(programm)
pakete=()
for gruppe in "${gruppen[@]}"; do
    case "$gruppe" in
    programm) pakete+=("${programm[@]}") ;;
    tests) pakete+=("${programm[@]}" "${tests[@]}") ;;
    windows) pakete+=("${windows[@]}") ;;
    *)
        echo "Unbekannte Gruppe: $gruppe (programm, tests oder windows)" >&2
        exit 2
        ;;
    esac
done
if [ -n "${ZW_EXTRA_PAKETE:-}" ]; then
    read -r -a extra <<<"$ZW_EXTRA_PAKETE"
    pakete+=("${extra[@]}")
fi

fehlend=()
for p in "${pakete[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        fehlend+=("$p")
    fi
done

if [ ${#fehlend[@]} -eq 0 ]; then
    exit 0
fi

echo "Installiere fehlende Pakete: ${fehlend[*]}"
als_root=()
if [ "$(id -u)" -ne 0 ]; then
    als_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${als_root[@]}" apt-get update -qq
"${als_root[@]}" apt-get install -y -qq --no-install-recommends "${fehlend[@]}"
