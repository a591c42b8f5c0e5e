// The Word reader on any main part: the bytes go into an otherwise valid
// container as word/document.xml; bytes that are a ZIP themselves are read as
// the whole container.
#include "../ZipBauen.h"
#include "DokumentFuzzen.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string bytes(reinterpret_cast<const char*>(daten), groesse);
    std::string behaelter = bytes;
    if (!bytes.starts_with("PK")) {
        std::vector<zwtest::ZipEintrag> e = zwtest::WordGeruest();
        e.push_back(zwtest::Gespeichert("word/document.xml", bytes));
        // The same bytes as every part the main part refers to.
        e.push_back(zwtest::Gespeichert(
            "word/_rels/document.xml.rels",
            "<Relationships><Relationship Type=\"x/footnotes\" Target=\"footnotes.xml\"/>"
            "<Relationship Type=\"x/endnotes\" Target=\"footnotes.xml\"/>"
            "<Relationship Type=\"x/numbering\" Target=\"document.xml\"/>"
            "<Relationship Type=\"x/styles\" Target=\"document.xml\"/></Relationships>"));
        e.push_back(zwtest::Gespeichert("word/footnotes.xml", bytes));
        behaelter = zwtest::ZipBauen(e);
    }
    zwtest::DokumentFuzzen(behaelter);
    return 0;
}
