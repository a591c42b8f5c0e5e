// The OpenDocument reader on any content: the bytes go into an otherwise
// valid container as content.xml and styles.xml; bytes that are a ZIP
// themselves are read as the whole container. Small limits keep runs short.
#include "../ZipBauen.h"
#include "core/dokumente/Dokumente.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string bytes(reinterpret_cast<const char*>(daten), groesse);
    zw::dok::Grenzen grenzen;
    grenzen.EntpacktGesamt = 4 << 20;
    grenzen.VerhaeltnisAb = 1 << 20;
    grenzen.Elemente = 100000;
    std::string behaelter = bytes;
    if (!bytes.starts_with("PK")) {
        behaelter = zwtest::ZipBauen(
            {zwtest::Gespeichert("mimetype", "application/vnd.oasis.opendocument.text"),
             zwtest::Gespeichert("content.xml", bytes), zwtest::Gespeichert("styles.xml", bytes)});
    }
    try {
        zw::dok::DokumentLesen(behaelter, grenzen);
    } catch (const zw::dok::DokumentFehler&) {
        // A clear reason is the expected end of bad input.
    }
    return 0;
}
