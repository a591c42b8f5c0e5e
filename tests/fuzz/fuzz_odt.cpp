// The OpenDocument reader on any content: the bytes go into an otherwise
// valid container as content.xml and styles.xml; bytes that are a ZIP
// themselves are read as the whole container.
#include "../ZipBauen.h"
#include "DokumentFuzzen.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string bytes(reinterpret_cast<const char*>(daten), groesse);
    std::string behaelter = bytes;
    if (!bytes.starts_with("PK")) {
        behaelter = zwtest::ZipBauen(
            {zwtest::Gespeichert("mimetype", "application/vnd.oasis.opendocument.text"),
             zwtest::Gespeichert("content.xml", bytes), zwtest::Gespeichert("styles.xml", bytes)});
    }
    zwtest::DokumentFuzzen(behaelter);
    return 0;
}
