#!/usr/bin/env bash
# Screenshots of every window at one font size, under a running X server
# (DISPLAY, e.g. Xvfb :61 with openbox): $1 = size in points, $2 = name suffix.
# Needs a built program in build/bin; opens the sample shipped beside it.
set -u
oben=$(cd "$(dirname "$0")/.." && pwd)
groesse=$1; name=$2
export DISPLAY=${DISPLAY:-:61}
cfg=$(mktemp -d); run=$(mktemp -d); chmod 700 $run
mkdir -p $cfg/Zeichenwandler
printf '[Software]\nZeichenwandler\\FontSize=%s\nZeichenwandler\\FontName=DejaVu Sans\n' "$groesse" > $cfg/Zeichenwandler/Zeichenwandler.ini
out=$oben/docs/screenshots
XDG_CONFIG_HOME=$cfg XDG_RUNTIME_DIR=$run $oben/build/bin/zeichenwandler >/dev/null 2>&1 &
pid=$!
sleep 3
shot() { sleep 1.2; import -window root "$out/$1-$name.png"; }
w=$(xdotool search --onlyvisible --name 'Zeichenwandler' | head -1)
xdotool windowactivate --sync $w; sleep 0.5
xdotool key ctrl+o; sleep 1.5; xdotool type --delay 15 $oben/build/bin/Beispiel.txt; xdotool key Return; sleep 1.5
shot hauptfenster
xdotool key ctrl+f; shot suchen; xdotool key Escape; sleep 0.5
xdotool key ctrl+p; shot drucken; xdotool key Escape; sleep 0.5
xdotool key alt+d; sleep 0.5; xdotool key v; shot vorschau; xdotool key Escape; sleep 0.5
xdotool key ctrl+l; shot lokal; xdotool key Escape; sleep 0.5
xdotool key ctrl+n; shot netzwerk; xdotool key Escape; sleep 0.5
xdotool key F1; shot hilfe; xdotool key alt+F4; sleep 0.8
xdotool windowactivate --sync $w; xdotool key ctrl+b; shot tabelleneditor; xdotool key alt+F4; sleep 0.8
xdotool windowactivate --sync $w; xdotool key alt+a; sleep 0.5; xdotool key h; shot hintergrund; xdotool key Escape; sleep 0.5
kill $pid; wait $pid 2>/dev/null
rm -rf $cfg $run
