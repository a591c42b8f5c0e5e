# Debian source packages through a private apt configuration: a deb-src
# entry for this machine's mirror and release (scripts/debian-spiegel.sh), with lists and downloads in
# the cache folder, so the machine's own apt set-up stays untouched.
# Sourced by the Windows build scripts; needs $cache.
#   version PAKET          the source package's version
#   quelle PAKET VERSION   unpacks it once into $cache/quellen, prints the folder

. /etc/os-release
suite="${VERSION_CODENAME:?keine Debian-Version in /etc/os-release}"
. "$(dirname "${BASH_SOURCE[0]}")/debian-spiegel.sh"
apt_ordner="$cache/apt-$suite"
mkdir -p "$apt_ordner/lists/partial" "$apt_ordner/cache/archives/partial" "$cache/quellen"
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $spiegel $suite main" \
    >"$apt_ordner/sources.list"
apt_privat=(-o "Dir::Etc::sourcelist=$apt_ordner/sources.list" -o "Dir::Etc::sourceparts=/nonexistent"
    -o "Dir::State::Lists=$apt_ordner/lists" -o "Dir::Cache=$apt_ordner/cache"
    -o "APT::Sandbox::User=root" -o Debug::NoLocking=1)
# Once per run, here: the callers ask for versions from subshells.
apt-get "${apt_privat[@]}" -qq update

version() {
    apt-cache "${apt_privat[@]}" showsrc "$1" | awk '/^Version:/ {print $2; exit}'
}

quelle() {
    local paket=$1 v=$2 ordner
    ordner="$cache/quellen/$paket-${v//[:~]/_}"
    if [ ! -d "$ordner" ]; then
        local laden
        laden=$(mktemp -d "$cache/quellen/laden-XXXXXX")
        if ! (cd "$laden" && apt-get "${apt_privat[@]}" -qq source --download-only "$paket=$v" \
            >"$laden.log" 2>&1 && dpkg-source --no-check -x ./*.dsc entpackt >/dev/null); then
            rm -rf "$laden" "$laden.log"
            return 1
        fi
        mv "$laden/entpackt" "$ordner"
        rm -rf "$laden" "$laden.log"
    fi
    echo "$ordner"
}
