#!/usr/bin/env bash
# Builds the Debian package and checks it on this machine, as a user would
# meet it: apt-get installs it with its dependencies, the command-line tool
# and the program start from the PATH and find their installed files (the
# program offscreen and on an X server under Xvfb), and apt-get remove takes
# every file away again. Needs root (or sudo) for apt-get.
#   scripts/paket-pruefen.sh [BAUORDNER]     (default: build-paket)
set -euo pipefail
cd "$(dirname "$0")/.."
bau="${1:-build-paket}"
als_root=()
if [ "$(id -u)" -ne 0 ]; then
    als_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

scripts/abhaengigkeiten.sh tests
ZW_BUILD="$bau" scripts/bauen.sh -DZW_TESTS=ON
rm -f "$bau"/zeichenwandler_*.deb
(cd "$bau" && cpack -G DEB >cpack.log 2>&1) || {
    cat "$bau/cpack.log"
    exit 1
}
deb=$(ls "$bau"/zeichenwandler_*.deb)
echo "Paket: $deb ($(du -h "$deb" | cut -f1))"

fehler=0
fehlt() {
    echo "FEHLER: $*" >&2
    fehler=1
}

# What dpkg-shlibdeps found: the libraries the executables link.
abhaengig=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $abhaengig"
for bibliothek in libqt6widgets6 libqt6gui6 libqt6core6 libcups2 libstdc++6 libc6; do
    # Debian 13 renamed some libraries for 64-bit time (libqt6core6t64).
    grep -qE "(^|[ ,|])${bibliothek//+/\\+}(t64)?( |,|$)" <<<"$abhaengig" ||
        fehlt "Depends nennt $bibliothek nicht"
done
# Nothing outside /usr, nothing writable by others.
dpkg-deb -c "$deb" | awk '{print $1, $6}' | while read -r rechte pfad; do
    case "$pfad" in ./usr/* | ./usr/ | ./) ;; *) echo "FEHLER: $pfad liegt außerhalb von /usr" >&2 ;; esac
    case "$rechte" in l*) ;; ????????w? | ?????w????) echo "FEHLER: $pfad ist für andere schreibbar" >&2 ;; esac
done 2>&1 | tee "$bau/paket-inhalt.log" >&2
[ -s "$bau/paket-inhalt.log" ] && fehler=1

# lintian, as Debian checks its packages: the hardening tags above all.
if command -v lintian >/dev/null; then
    # Two of the four hardening tags are only information, shown with -I.
    lintian -I --no-tag-display-limit "$deb" >"$bau/lintian.log" 2>&1 || true
    if grep -E '^[EWI]: .*hardening' "$bau/lintian.log"; then
        fehlt "lintian findet ungehärtete Programme"
    fi
else
    fehlt "lintian ist nicht installiert"
fi

# Only a copy this check installed itself may be removed: it leaves a mark
# while its copy is installed. A zeichenwandler the user installed stays as
# it is, and the check says why it does not run.
installiert() {
    dpkg-query -W -f='${Status}' zeichenwandler 2>/dev/null | grep -q 'install ok installed'
}
marke=/var/lib/zeichenwandler-paketpruefung/installiert
if installiert; then
    if [ -f "$marke" ]; then
        "${als_root[@]}" apt-get remove -y -qq zeichenwandler >/dev/null
        "${als_root[@]}" rm -f "$marke"
    else
        echo "Paketprüfung übersprungen: zeichenwandler $(dpkg-query -W -f='${Version}' zeichenwandler) ist auf dieser Maschine installiert, und die Prüfung lässt es unberührt."
        exit $fehler
    fi
fi
entfernen() {
    if [ -f "$marke" ] && installiert; then
        "${als_root[@]}" apt-get remove -y -qq zeichenwandler >/dev/null || true
    fi
    "${als_root[@]}" rm -f "$marke"
}
trap entfernen EXIT

"${als_root[@]}" mkdir -p "$(dirname "$marke")"
"${als_root[@]}" touch "$marke"
"${als_root[@]}" apt-get install -y -qq --no-install-recommends "./$deb" >/dev/null
dateien=$(dpkg -L zeichenwandler)
[ "$(command -v zeichenwandler)" = /usr/bin/zeichenwandler ] || fehlt "zeichenwandler nicht im PATH"
[ "$(command -v zeichenwandler-cli)" = /usr/bin/zeichenwandler-cli ] ||
    fehlt "zeichenwandler-cli nicht im PATH"

tests/paket/baum-pruefen.sh /usr "$bau/pruefung/zw_fensterbericht.so" data xvfb || fehler=1

"${als_root[@]}" apt-get remove -y -qq zeichenwandler >/dev/null
"${als_root[@]}" rm -f "$marke"
if dpkg-query -W -f='${Status}' zeichenwandler 2>/dev/null | grep -q 'install ok installed'; then
    fehlt "zeichenwandler ist nach apt-get remove noch installiert"
fi
while read -r datei; do
    if [ -e "$datei" ] && [ ! -d "$datei" ]; then
        fehlt "$datei ist nach apt-get remove noch da"
    fi
done <<<"$dateien"
[ ! -e /usr/lib/zeichenwandler ] || fehlt "/usr/lib/zeichenwandler ist nach apt-get remove noch da"

if [ $fehler -ne 0 ]; then
    echo "Paketprüfung fehlgeschlagen."
    exit 1
fi
echo "Paketprüfung bestanden: installiert, gestartet, entfernt."
