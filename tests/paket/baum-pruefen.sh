#!/usr/bin/env bash
# Checks an installed tree from outside, as a user would find it:
#   baum-pruefen.sh PREFIX FENSTERBERICHT DATENORDNER [xvfb]
# PREFIX is where the tree was installed (/usr for the package), FENSTERBERICHT
# the library that reports the main window, DATENORDNER the source's data/
# folder (which files belong beside the program). With "xvfb" the program runs
# once more on a real X server.
set -euo pipefail
prefix=$1
bericht=$2
daten=$3
anzeige=${4:-}

ordner="$prefix/lib/zeichenwandler"
fehler=0
fehlt() {
    echo "FEHLER: $*" >&2
    fehler=1
}

# One program folder with the executables and the files beside them.
for datei in zeichenwandler zeichenwandler-cli; do
    [ -x "$ordner/$datei" ] || fehlt "$ordner/$datei fehlt oder ist nicht ausführbar"
done
for datei in Eng-Ger.tab Beispiel.txt ZWD.hlp History.txt; do
    if [ -e "$daten/$datei" ]; then
        cmp -s "$daten/$datei" "$ordner/$datei" || fehlt "$ordner/$datei fehlt oder weicht ab"
    fi
done

# Launchers: relative links into the program folder.
for programm in zeichenwandler zeichenwandler-cli; do
    starter="$prefix/bin/$programm"
    if [ ! -L "$starter" ]; then
        fehlt "$starter ist keine Verknüpfung"
        continue
    fi
    ziel=$(readlink "$starter")
    [ "${ziel#/}" = "$ziel" ] || fehlt "$starter zeigt absolut auf $ziel"
    [ "$(readlink -f "$starter")" = "$(readlink -f "$ordner/$programm")" ] ||
        fehlt "$starter zeigt auf $ziel statt ins Programmordner"
done

[ -f "$prefix/share/doc/zeichenwandler/copyright" ] || fehlt "copyright fehlt"
for programm in zeichenwandler zeichenwandler-cli; do
    seite="$prefix/share/man/man1/$programm.1.gz"
    [ -f "$seite" ] || fehlt "$seite fehlt"
done

# Desktop entry, icons, AppStream.
desktop="$prefix/share/applications/zeichenwandler.desktop"
metainfo="$prefix/share/metainfo/org.example.Zeichenwandler.metainfo.xml"
[ -f "$desktop" ] || fehlt "$desktop fehlt"
[ -f "$metainfo" ] || fehlt "$metainfo fehlt"
[ -f "$prefix/share/icons/hicolor/scalable/apps/zeichenwandler.svg" ] || fehlt "SVG-Symbol fehlt"
if command -v rsvg-convert >/dev/null; then
    for g in 16 32 48 256; do
        png="$prefix/share/icons/hicolor/${g}x$g/apps/zeichenwandler.png"
        [ -f "$png" ] || fehlt "$png fehlt"
    done
fi
if [ -f "$desktop" ]; then
    grep -qx 'Exec=zeichenwandler %F' "$desktop" || fehlt "Exec in $desktop"
    grep -qx 'MimeType=text/plain;application/rtf;text/rtf;application/vnd.openxmlformats-officedocument.wordprocessingml.document;application/vnd.oasis.opendocument.text;' "$desktop" || fehlt "MimeType in $desktop"
    grep -q '^Categories=.*Accessibility;' "$desktop" || fehlt "Categories in $desktop"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || fehlt "desktop-file-validate $desktop"
    fi
fi
if [ -f "$metainfo" ] && command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || {
        appstreamcli validate --no-net "$metainfo" >&2 || true
        fehlt "appstreamcli validate $metainfo"
    }
fi

arbeit=$(mktemp -d)
trap 'rm -rf "$arbeit"' EXIT

# The command-line tool through its launcher, on the installed sample with
# the installed table.
if [ -x "$prefix/bin/zeichenwandler-cli" ]; then
    if ausgabe=$("$prefix/bin/zeichenwandler-cli" konvertieren --tabelle "$ordner/Eng-Ger.tab" \
        "$ordner/Beispiel.txt" "$arbeit/Beispiel-konvertiert.txt" 2>&1); then
        echo "$ausgabe" | tail -n 1 | grep -qx '14 Zeichen wurden ersetzt' ||
            fehlt "zeichenwandler-cli meldet: $ausgabe"
        LC_ALL=C grep -q 'Gr\\!e aus K\[ln' "$arbeit/Beispiel-konvertiert.txt" ||
            fehlt "Beispiel-konvertiert.txt ist nicht umgesetzt"
    else
        fehlt "zeichenwandler-cli konvertieren: $ausgabe"
    fi
fi

# The program through its launcher, with an empty settings folder: it must
# start, find the table in its own folder and close again.
fenster_pruefen() {
    local art=$1
    shift
    local aus="$arbeit/fenster-$art.txt"
    # Its own home and runtime folder: no settings of an earlier run, and no
    # other running instance that the start would hand over to.
    mkdir -p "$arbeit/home-$art" "$arbeit/laufzeit-$art"
    chmod 700 "$arbeit/laufzeit-$art"
    if ! HOME="$arbeit/home-$art" XDG_CONFIG_HOME="$arbeit/home-$art/.config" \
        XDG_RUNTIME_DIR="$arbeit/laufzeit-$art" \
        timeout 60 "$@" env LD_PRELOAD="$bericht" "$prefix/bin/zeichenwandler" >"$aus" 2>"$aus.err"; then
        fehlt "zeichenwandler ($art) endet mit Fehler: $(cat "$aus.err")"
    fi
    grep -qx 'LabelTabEintraege: Tabellen-Einträge: 8' "$aus" ||
        fehlt "zeichenwandler ($art) zeigt keine 8 Tabellen-Einträge: $(cat "$aus" "$aus.err")"
    grep -qx 'LabelTabDatei: Tabellen-Datei: Eng-Ger.tab' "$aus" ||
        fehlt "zeichenwandler ($art) zeigt die Tabelle nicht: $(cat "$aus")"
    echo "zeichenwandler ($art): $(grep -E '^(Titel|LabelTab)' "$aus" | tr '\n' ' ')"
}
if [ -x "$prefix/bin/zeichenwandler" ]; then
    fenster_pruefen offscreen env QT_QPA_PLATFORM=offscreen
    if [ "$anzeige" = xvfb ]; then
        fenster_pruefen xvfb env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x1024x24"
    fi
fi

if [ $fehler -ne 0 ]; then
    exit 1
fi
echo "Installierter Baum in $prefix ist vollständig."
