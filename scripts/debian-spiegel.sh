# The Debian mirror this machine's apt uses (its main archive and, where
# there is one, its security archive), read from the apt sources at run time
# so that no mirror's address stands in the repository. Only stanzas or lines
# whose address ends in /debian or /debian-security count; other
# repositories' sources are passed over. Sourced by scripts that fetch from
# Debian themselves; sets $spiegel and $spiegel_sicherheit (may be empty).
debian_adressen() {
    {
        grep -h '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{for (i = 2; i <= NF; i++) print $i}'
        grep -h '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            sed 's/\[[^]]*\]//' | awk '{print $2}'
    } | sed 's|/*$||'
}
spiegel=$(debian_adressen | grep -E '/debian$' | head -n 1 || true)
spiegel_sicherheit=$(debian_adressen | grep -E '/debian-security$' | head -n 1 || true)
[ -n "$spiegel" ] || {
    echo "Kein Debian-Spiegel in den apt-Quellen dieser Maschine gefunden." >&2
    exit 1
}
