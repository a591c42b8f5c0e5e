#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need,
# but only those that are missing. Runs apt-get as root (or through sudo).
set -euo pipefail

pakete=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-l10n-tools qt6-translations-l10n libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libcups2-dev
    libzip-dev zipcmp zipmerge ziptool libpugixml-dev zlib1g-dev
    clang libclang-rt-14-dev
    xvfb xauth xdotool
    openbox dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0 imagemagick x11-utils
    bc time
    dpkg-dev librsvg2-bin
)
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
