#pragma once
// ZIP containers written byte by byte for the tests: ordinary documents with
// stored entries, and hostile ones whose directory lies or whose one entry
// inflates to gigabytes from a few megabytes.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zwtest {

struct ZipEintrag {
    std::string name;
    std::string daten;          // as stored in the file
    std::uint32_t crc = 0;      // of the inflated content
    std::uint64_t entpackt = 0; // as the directory states it
    std::uint16_t methode = 0;  // 0 stored, 8 deflated
};

inline ZipEintrag Gespeichert(const std::string& name, const std::string& inhalt) {
    ZipEintrag e;
    e.name = name;
    e.daten = inhalt;
    e.crc =
        std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(inhalt.data()), uInt(inhalt.size())));
    e.entpackt = inhalt.size();
    return e;
}

inline void Le(std::string& s, std::uint64_t wert, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s.push_back(char((wert >> (8 * i)) & 0xFF));
}

inline std::string ZipBauen(const std::vector<ZipEintrag>& eintraege) {
    std::string zip, verzeichnis;
    for (const ZipEintrag& e : eintraege) {
        const std::size_t lokal = zip.size();
        Le(zip, 0x04034b50, 4);
        Le(zip, 20, 2);
        Le(zip, 0, 2);
        Le(zip, e.methode, 2);
        Le(zip, 0, 4); // time, date
        Le(zip, e.crc, 4);
        Le(zip, e.daten.size(), 4);
        Le(zip, e.entpackt, 4);
        Le(zip, e.name.size(), 2);
        Le(zip, 0, 2);
        zip += e.name;
        zip += e.daten;

        Le(verzeichnis, 0x02014b50, 4);
        Le(verzeichnis, 20, 2);
        Le(verzeichnis, 20, 2);
        Le(verzeichnis, 0, 2);
        Le(verzeichnis, e.methode, 2);
        Le(verzeichnis, 0, 4);
        Le(verzeichnis, e.crc, 4);
        Le(verzeichnis, e.daten.size(), 4);
        Le(verzeichnis, e.entpackt, 4);
        Le(verzeichnis, e.name.size(), 2);
        Le(verzeichnis, 0, 2 + 2 + 2 + 2);
        Le(verzeichnis, 0, 4);
        Le(verzeichnis, lokal, 4);
        verzeichnis += e.name;
    }
    const std::size_t anfang = zip.size();
    zip += verzeichnis;
    Le(zip, 0x06054b50, 4);
    Le(zip, 0, 4);
    Le(zip, eintraege.size(), 2);
    Le(zip, eintraege.size(), 2);
    Le(zip, verzeichnis.size(), 4);
    Le(zip, anfang, 4);
    Le(zip, 0, 2);
    return zip;
}

// A deflated entry: `kopf`, then `mal` times `block`, then `fuss`. After a
// full flush deflate starts afresh, so each repetition compresses to the
// same bytes and the whole is built without ever holding it inflated.
inline ZipEintrag Aufgeblasen(const std::string& name, const std::string& kopf,
                              const std::string& block, std::uint64_t mal,
                              const std::string& fuss) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    auto packen = [&](const std::string& ein, int art) {
        std::string aus(deflateBound(&z, uLong(ein.size())) + 64, '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(ein.data()));
        z.avail_in = uInt(ein.size());
        z.next_out = reinterpret_cast<Bytef*>(aus.data());
        z.avail_out = uInt(aus.size());
        deflate(&z, art);
        aus.resize(aus.size() - z.avail_out);
        return aus;
    };
    ZipEintrag e;
    e.name = name;
    e.methode = 8;
    e.daten = packen(kopf, Z_FULL_FLUSH);
    const std::string wiederholt = packen(block, Z_FULL_FLUSH);
    for (std::uint64_t i = 0; i < mal; ++i)
        e.daten += wiederholt;
    e.daten += packen(fuss, Z_FINISH);
    deflateEnd(&z);

    auto crc = [](const std::string& s) {
        return crc32(0, reinterpret_cast<const Bytef*>(s.data()), uInt(s.size()));
    };
    uLong gesamt = crc(kopf);
    const uLong blockCrc = crc(block);
    for (std::uint64_t i = 0; i < mal; ++i)
        gesamt = crc32_combine(gesamt, blockCrc, z_off_t(block.size()));
    gesamt = crc32_combine(gesamt, crc(fuss), z_off_t(fuss.size()));
    e.crc = std::uint32_t(gesamt);
    e.entpackt = kopf.size() + mal * block.size() + fuss.size();
    return e;
}

// The parts every Word document needs besides its text.
inline std::vector<ZipEintrag> WordGeruest() {
    return {
        Gespeichert("[Content_Types].xml",
                    "<?xml version=\"1.0\"?><Types "
                    "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                    "<Override PartName=\"/word/document.xml\" "
                    "ContentType=\"application/"
                    "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
                    "</Types>"),
        Gespeichert("_rels/.rels",
                    "<?xml version=\"1.0\"?><Relationships "
                    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                    "<Relationship Id=\"r1\" "
                    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                    "officeDocument\" Target=\"word/document.xml\"/></Relationships>"),
    };
}

inline const char* kWordKopf =
    "<?xml version=\"1.0\"?><w:document "
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
inline const char* kWordFuss = "</w:body></w:document>";

inline std::string WordDokument(const std::string& koerper) {
    std::vector<ZipEintrag> e = WordGeruest();
    e.push_back(Gespeichert("word/document.xml", kWordKopf + koerper + kWordFuss));
    return ZipBauen(e);
}

} // namespace zwtest
