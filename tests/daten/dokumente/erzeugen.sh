#!/usr/bin/env bash
# Makes the document fixtures from their flat OpenDocument sources with
# LibreOffice, and LibreOffice's own reading of each as UTF-8 text
# (*.libreoffice.txt), which the tests compare with word for word.
# Run it in this folder after changing a source (it needs LibreOffice,
# Debian package libreoffice-writer-nogui); the results are committed.
set -euo pipefail
cd "$(dirname "$0")"
arbeit=$(mktemp -d)
trap 'rm -rf "$arbeit"' EXIT
for quelle in *.fodt; do
    name=${quelle%.fodt}
    for format in docx odt; do
        soffice -env:UserInstallation=file://"$arbeit"/profil --headless \
            --convert-to "$format" --outdir "$arbeit" "$quelle" >/dev/null
        mv "$arbeit/$name.$format" "$name.$format"
        soffice -env:UserInstallation=file://"$arbeit"/profil --headless \
            --convert-to 'txt:Text (encoded):UTF8' --outdir "$arbeit" "$name.$format" >/dev/null
        mv "$arbeit/$name.txt" "$name.$format.libreoffice.txt"
    done
done
python3 wordartig.py
