#!/usr/bin/env bash
# Checks the project as a new user meets it: a minimal Debian (debootstrap
# --variant=minbase) in a chroot, git and sudo installed, a clean clone of
# this repository's committed main, and the README's test command run there
# as CI runs it. Nothing the machine itself has installed can help.
#   scripts/frisch-pruefen.sh [bookworm|trixie] [ZWEIG]   (default: bookworm, main)
# Needs root and the machine's Debian mirror. The fresh system is kept as a
# tarball in $ZW_FRISCH_CACHE (default /var/cache/zeichenwandler-frisch) and
# unpacked anew for every run; the chroot is removed afterwards unless
# ZW_FRISCH_BEHALTEN=1; ZW_FRISCH_NUR_GRUNDSYSTEM=1 only makes the tarball.
# The run's output is kept beside the tarball.
set -euo pipefail
cd "$(dirname "$0")/.."
quelle="$PWD"
suite="${1:-bookworm}"
zweig="${2:-main}"
cache="${ZW_FRISCH_CACHE:-/var/cache/zeichenwandler-frisch}"

if [ "$(id -u)" -ne 0 ]; then
    echo "scripts/frisch-pruefen.sh braucht root (debootstrap und chroot)." >&2
    exit 2
fi
case "$suite" in
bookworm | trixie) ;;
*)
    echo "Unbekannte Debian-Version: $suite (bookworm oder trixie)" >&2
    exit 2
    ;;
esac

# The mirror this machine uses, never one written into the repository.
. scripts/debian-spiegel.sh

if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

mkdir -p "$cache"
grundsystem="$cache/$suite-minbase.tar"
if [ ! -f "$grundsystem" ]; then
    echo "Grundsystem $suite wird angelegt ($spiegel)"
    bau=$(mktemp -d "$cache/bau-XXXXXX")
    debootstrap --variant=minbase "$suite" "$bau" "$spiegel" >"$cache/debootstrap-$suite.log" 2>&1 || {
        tail -n 30 "$cache/debootstrap-$suite.log"
        exit 1
    }
    # The suite's updates and security archives too, from the same mirror,
    # whatever release the host runs.
    {
        echo "deb $spiegel $suite main"
        echo "deb $spiegel $suite-updates main"
        [ -z "$spiegel_sicherheit" ] || echo "deb $spiegel_sicherheit $suite-security main"
    } >"$bau/etc/apt/sources.list"
    # The root of the system must be open to its other users.
    chmod 755 "$bau"
    tar -C "$bau" -cf "$grundsystem.neu" .
    mv "$grundsystem.neu" "$grundsystem"
    rm -rf "$bau"
fi
if [ "${ZW_FRISCH_NUR_GRUNDSYSTEM:-0}" = 1 ]; then
    exit 0
fi

wurzel=$(mktemp -d "/var/tmp/zw-frisch-$suite-XXXXXX")
eingehaengt=()
aufraeumen() {
    for ((i = ${#eingehaengt[@]} - 1; i >= 0; i--)); do
        umount -l "${eingehaengt[$i]}" 2>/dev/null || true
    done
    if [ "${ZW_FRISCH_BEHALTEN:-0}" != 1 ]; then
        rm -rf --one-file-system "$wurzel"
    else
        echo "Chroot bleibt: $wurzel"
    fi
}
trap aufraeumen EXIT
tar -C "$wurzel" -xf "$grundsystem"
# The root of the system must be open to its other users (CUPS filters run as
# lp), whatever mode the folder it was made in had.
chmod 755 "$wurzel"
cp /etc/resolv.conf "$wurzel/etc/resolv.conf" 2>/dev/null || true
for d in proc sys dev dev/pts; do
    mount --bind "/$d" "$wurzel/$d"
    eingehaengt+=("$wurzel/$d")
done
mkdir -p "$wurzel/dev/shm" "$wurzel/quelle"
mount -t tmpfs tmpfs "$wurzel/dev/shm"
eingehaengt+=("$wurzel/dev/shm")
mount --bind -o ro "$quelle" "$wurzel/quelle"
eingehaengt+=("$wurzel/quelle")

log="$wurzel/pruefung.log"
beginn=$(date +%s)
set +e
chroot "$wurzel" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    CI=true DEBIAN_FRONTEND=noninteractive /bin/bash -c "
    set -euo pipefail
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends git ca-certificates sudo >/dev/null
    git config --global --add safe.directory '*'
    git clone -q --branch '$zweig' /quelle /zeichenwandler
    cd /zeichenwandler
    bash .ci/run </dev/null
" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
set -e
dauer=$(($(date +%s) - beginn))
cp "$log" "$cache/pruefung-$suite.log"
printf 'Frische Prüfung auf %s: %s nach %d min %d s (Protokoll: %s)\n' "$suite" \
    "$([ "$status" -eq 0 ] && echo bestanden || echo "gescheitert (Status $status)")" \
    $((dauer / 60)) $((dauer % 60)) "$cache/pruefung-$suite.log"
exit "$status"
