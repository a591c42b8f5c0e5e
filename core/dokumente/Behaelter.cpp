#include "core/dokumente/Intern.h"

#include "core/Kodierung.h"

#include <zip.h>

#include <algorithm>
#include <cstring>

namespace zw::dok {

namespace {

std::string Mb(std::uint64_t bytes) {
    return std::to_string(bytes >> 20) + " MB";
}

// The open file of one part, closed on every way out.
struct OffenerTeil {
    zip_file_t* f = nullptr;
    ~OffenerTeil() {
        if (f)
            zip_fclose(f);
    }
};

} // namespace

void Beschaedigt(std::string_view was) {
    throw DokumentFehler("Das Dokument ist beschädigt: " + std::string(was) + ".");
}

void ZuGross(std::string_view was) {
    throw DokumentFehler("Das Dokument " + std::string(was) + " und wird nicht gelesen.");
}

Behaelter::Behaelter(std::string_view bytes, const Grenzen& grenzen) : grenzen_(grenzen) {
    zip_error_t fehler;
    zip_error_init(&fehler);
    zip_source_t* quelle = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &fehler);
    if (!quelle) {
        zip_error_fini(&fehler);
        throw std::bad_alloc();
    }
    zip_ = zip_open_from_source(quelle, ZIP_RDONLY, &fehler);
    if (!zip_) {
        zip_source_free(quelle);
        zip_error_fini(&fehler);
        Beschaedigt("das ZIP-Verzeichnis ist unlesbar");
    }
    zip_error_fini(&fehler);
    const zip_int64_t eintraege = zip_get_num_entries(zip_, 0);
    if (eintraege < 0 || std::uint64_t(eintraege) > grenzen_.Eintraege) {
        zip_discard(zip_);
        zip_ = nullptr;
        ZuGross("besteht aus mehr als " + std::to_string(grenzen_.Eintraege) + " Teilen");
    }
}

Behaelter::~Behaelter() {
    if (zip_)
        zip_discard(zip_);
}

bool Behaelter::Hat(const std::string& name) const {
    return zip_name_locate(zip_, name.c_str(), 0) >= 0;
}

std::optional<Teil> Behaelter::Lesen(const std::string& name) {
    const zip_int64_t index = zip_name_locate(zip_, name.c_str(), 0);
    if (index < 0)
        return std::nullopt;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip_, zip_uint64_t(index), 0, &st) != 0)
        Beschaedigt(name + " ist unlesbar");
    const std::uint64_t rest = grenzen_.EntpacktGesamt - entpackt_;
    // The directory's sizes may lie, so they only allow an early stop; the
    // bytes are counted as they come.
    if ((st.valid & ZIP_STAT_SIZE) && st.size > rest)
        ZuGross("ist entpackt größer als " + Mb(grenzen_.EntpacktGesamt));
    const std::uint64_t gepackt = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;

    OffenerTeil teil;
    teil.f = zip_fopen_index(zip_, zip_uint64_t(index), 0);
    if (!teil.f) {
        const int art = zip_error_code_zip(zip_get_error(zip_));
        if (art == ZIP_ER_ENCRNOTSUPP || art == ZIP_ER_NOPASSWD || art == ZIP_ER_WRONGPASSWD)
            throw DokumentFehler("Das Dokument ist mit einem Kennwort geschützt.");
        Beschaedigt(name + " ist unlesbar");
    }
    // Inflated straight into the buffer, in steps, so the limits are checked
    // as the bytes come and never more than a step past them.
    Teil inhalt;
    const std::size_t schritt = std::size_t(64) << 10;
    std::size_t platz =
        ((st.valid & ZIP_STAT_SIZE) ? std::size_t(std::min<std::uint64_t>(st.size, rest)) : 0) +
        schritt;
    inhalt.daten_.reset(new char[platz]);
    std::size_t& n = inhalt.groesse_;
    for (;;) {
        if (platz < n + schritt) {
            platz = std::max(n + schritt, 2 * n);
            std::unique_ptr<char[]> groesser(new char[platz]);
            std::memcpy(groesser.get(), inhalt.daten_.get(), n);
            inhalt.daten_ = std::move(groesser);
        }
        const zip_int64_t gelesen = zip_fread(teil.f, inhalt.daten_.get() + n, schritt);
        if (gelesen < 0)
            Beschaedigt(name + " ist unlesbar");
        if (gelesen == 0)
            break;
        n += std::size_t(gelesen);
        entpackt_ += std::uint64_t(gelesen);
        // More than the directory states: it lies, and the part is not read on.
        if ((st.valid & ZIP_STAT_SIZE) && n > st.size)
            Beschaedigt(name + " ist größer, als das ZIP-Verzeichnis angibt");
        if (entpackt_ > grenzen_.EntpacktGesamt)
            ZuGross("ist entpackt größer als " + Mb(grenzen_.EntpacktGesamt));
        if (n > grenzen_.VerhaeltnisAb &&
            n / std::max<std::uint64_t>(gepackt, 1) > grenzen_.Verhaeltnis)
            ZuGross("ist ungewöhnlich stark gepackt (mehr als " +
                    std::to_string(grenzen_.Verhaeltnis) + " : 1)");
    }
    return inhalt;
}

void XmlLaden(pugi::xml_document& doc, Teil& xml, const Grenzen& grenzen, bool leerraumEinzeln) {
    // Each start tag is one element; counted before pugixml builds its tree,
    // whose nodes cost far more than their bytes.
    std::uint64_t elemente = 0;
    const char* ende = xml.Daten() + xml.Groesse();
    for (const char* p = xml.Daten();
         (p = static_cast<const char*>(std::memchr(p, '<', std::size_t(ende - p))));) {
        ++p;
        if (p != ende && *p != '/' && *p != '?' && *p != '!')
            ++elemente;
    }
    if (elemente > grenzen.Elemente)
        ZuGross("enthält mehr als " + std::to_string(grenzen.Elemente) + " XML-Elemente");
    // No DTD, no entities of its own: nothing inside the file expands.
    const unsigned leerraum =
        leerraumEinzeln ? pugi::parse_ws_pcdata_single : pugi::parse_ws_pcdata;
    const pugi::xml_parse_result r = doc.load_buffer_inplace(
        xml.Daten(), xml.Groesse(), pugi::parse_default | leerraum, pugi::encoding_utf8);
    if (!r)
        Beschaedigt("ein Teil ist kein gültiges XML");
}

std::string_view Lokal(const char* name) {
    std::string_view n(name);
    const auto doppelpunkt = n.find(':');
    return doppelpunkt == std::string_view::npos ? n : n.substr(doppelpunkt + 1);
}

pugi::xml_attribute Attribut(pugi::xml_node knoten, std::string_view lokal) {
    for (pugi::xml_attribute a : knoten.attributes())
        if (Lokal(a.name()) == lokal)
            return a;
    return {};
}

void Utf8Anhaengen(std::string& aus, char32_t cp) {
    // A hostile file may name surrogates or points beyond Unicode.
    if (zw::IstSurrogat(cp) || cp >= 0x110000)
        cp = 0xFFFD;
    zw::Utf8Anhaengen(aus, cp);
}

char32_t SymbolZeichen(char32_t c) {
    switch (c) {
    case 0xF0B7:
        return 0x2022; // bullet
    case 0xF0A7:
        return 0x25AA; // small square
    case 0xF0D8:
        return 0x27A2; // arrowhead
    case 0xF076:
        return 0x2756; // diamond
    case 0xF0FC:
        return 0x2714; // check mark
    case 0xF02D:
        return 0x2013;
    default:
        return c;
    }
}

std::string Aufzaehlungszeichen(std::string_view t) {
    std::string aus;
    for (std::size_t i = 0; i < t.size();) {
        const auto b = static_cast<unsigned char>(t[i]);
        if (b >= 0xEE && b <= 0xEF && i + 2 < t.size()) {
            char32_t cp = ((b & 0x0F) << 12) |
                          ((static_cast<unsigned char>(t[i + 1]) & 0x3F) << 6) |
                          (static_cast<unsigned char>(t[i + 2]) & 0x3F);
            if (cp >= 0xE000 && cp <= 0xF8FF) {
                cp = SymbolZeichen(cp);
                Utf8Anhaengen(aus, cp >= 0xE000 && cp <= 0xF8FF ? 0x2022 : cp);
                i += 3;
                continue;
            }
        }
        aus.push_back(t[i++]);
    }
    return aus;
}

namespace {

std::string Roemisch(long zahl) {
    static const std::pair<int, const char*> stufen[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    std::string aus;
    if (zahl <= 0 || zahl >= 4000)
        return std::to_string(zahl);
    for (const auto& [wert, zeichen] : stufen)
        for (; zahl >= wert; zahl -= wert)
            aus += zeichen;
    return aus;
}

// a .. z, then aa .. zz, as word processors count letters.
std::string Buchstaben(long zahl) {
    // "aaa…" grows with the number: a hostile start value would ask for
    // gigabytes, so beyond a hundred letters the number stands as it is.
    if (zahl <= 0 || zahl > 26 * 100)
        return std::to_string(zahl);
    const char c = char('a' + (zahl - 1) % 26);
    return std::string(std::size_t((zahl - 1) / 26 + 1), c);
}

std::string Gross(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

[[noreturn]] void keinText(std::string_view was) {
    throw DokumentFehler("Die Datei ist keine Textdatei, sondern " + std::string(was) + ".");
}

} // namespace

std::string NummerFormat(long zahl, std::string_view format) {
    if (format == "lowerRoman" || format == "i")
        return Roemisch(zahl);
    if (format == "upperRoman" || format == "I")
        return Gross(Roemisch(zahl));
    if (format == "lowerLetter" || format == "a")
        return Buchstaben(zahl);
    if (format == "upperLetter" || format == "A")
        return Gross(Buchstaben(zahl));
    if (format == "decimalZero")
        return (zahl >= 0 && zahl < 10 ? "0" : "") + std::to_string(zahl);
    if (format == "none" || format == "bullet" || format.empty())
        return {};
    return std::to_string(zahl);
}

Dokument DokumentLesen(std::string_view bytes, const Grenzen& grenzen) {
    Behaelter behaelter(bytes, grenzen);
    if (std::optional<Teil> mime = behaelter.Lesen("mimetype")) {
        const std::string_view m = mime->Text();
        if (m.starts_with("application/vnd.oasis.opendocument.text"))
            return OdfLesen(behaelter, grenzen);
        if (m.starts_with("application/vnd.oasis.opendocument.spreadsheet"))
            keinText("eine OpenDocument-Tabelle");
        if (m.starts_with("application/vnd.oasis.opendocument.presentation"))
            keinText("eine OpenDocument-Präsentation");
        if (m.starts_with("application/vnd.oasis.opendocument"))
            keinText("ein OpenDocument-Dokument ohne Text");
        if (m.starts_with("application/epub"))
            keinText("ein E-Book (EPUB)");
    }
    if (behaelter.Hat("[Content_Types].xml")) {
        if (behaelter.Hat("word/document.xml") || behaelter.Hat("_rels/.rels"))
            if (!behaelter.Hat("xl/workbook.xml") && !behaelter.Hat("ppt/presentation.xml"))
                return WordLesen(behaelter, grenzen);
        if (behaelter.Hat("xl/workbook.xml"))
            keinText("eine Excel-Arbeitsmappe");
        if (behaelter.Hat("ppt/presentation.xml"))
            keinText("eine PowerPoint-Präsentation");
    }
    keinText("ein ZIP-Archiv");
}

} // namespace zw::dok
