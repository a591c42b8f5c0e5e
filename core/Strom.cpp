#include "core/Strom.h"

#include "core/Fehler.h"
#include "core/Konvertierung.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zw {

namespace fs = std::filesystem;

namespace {

// The whole-text way, for what cannot go piece by piece.
StromErgebnis Ganz(const fs::path& ein, const fs::path& aus, const TTabListe& tabelle,
                   std::optional<TTextFileType> zielTyp) {
    StromErgebnis e;
    std::u16string text;
    TextDateiLaden(ein, e.Typ, text);
    KonvertierErgebnis k = TextKonvertieren(std::move(text), tabelle);
    e.Anzahl = k.Anzahl;
    e.NichtDarstellbar = TextDateiSpeichern(aus, k.Text, zielTyp.value_or(e.Typ)).NichtDarstellbar;
    return e;
}

enum class Form { Ansi, Utf8, Utf16Le, Utf16Be };

// Bytes per code unit and where a piece may end: right after a line feed.
// A line feed is never part of a longer UTF-8 sequence, and after it the
// line rule starts afresh, so each piece decodes exactly as inside the whole.
std::size_t LetztesZeilenende(std::string_view bytes, Form form) {
    if (form == Form::Ansi || form == Form::Utf8) {
        const auto pos = bytes.rfind('\n');
        return pos == std::string_view::npos ? 0 : pos + 1;
    }
    for (std::size_t i = bytes.size() & ~std::size_t(1); i >= 2; i -= 2) {
        const char a = bytes[i - 2], b = bytes[i - 1];
        if (form == Form::Utf16Le ? (a == '\n' && b == 0) : (a == 0 && b == '\n'))
            return i;
    }
    return 0;
}

bool HatNul(std::string_view bytes, Form form) {
    if (form == Form::Ansi || form == Form::Utf8)
        return bytes.find('\0') != std::string_view::npos;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == 0 && bytes[i + 1] == 0)
            return true;
    return false;
}

std::u16string Dekodieren(std::string_view bytes, Form form) {
    switch (form) {
    case Form::Ansi:
        return AnsiLesen(bytes);
    case Form::Utf8:
        return Utf8Lesen(bytes);
    case Form::Utf16Le:
        return Utf16Lesen(bytes, false);
    case Form::Utf16Be:
        return Utf16Lesen(bytes, true);
    }
    return {};
}

} // namespace

StromErgebnis DateiKonvertieren(const fs::path& ein, const fs::path& aus, const TTabListe& tabelle,
                                std::optional<TTextFileType> zielTyp, std::size_t abschnitt) {
    const TTextFileType typ = DateiTypErmitteln(ein);
    const TTextFileType ausTyp = zielTyp.value_or(typ);
    // Pieces end after a line feed that the table leaves alone; a table that
    // replaces line-end characters, and RTF, need the whole text.
    const bool zeilenendeErsetzt = std::any_of(tabelle.begin(), tabelle.end(), [](TabEintrag e) {
        return e.Suchzeichen == u'\r' || e.Suchzeichen == u'\n';
    });
    if (typ == tfRtf || typ == tfError || ausTyp == tfRtf || zeilenendeErsetzt)
        return Ganz(ein, aus, tabelle, zielTyp);

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(DateiOeffnen(ein, "rb"), &std::fclose);
    if (!f)
        throw OeffnenFehler(ein, errno ? errno : EACCES);
    errno = 0;

    const Ersetzungen ersetzungen(tabelle);
    AtomareDatei ziel(aus);
    StromErgebnis e;
    e.Typ = typ;

    std::string puffer;
    Form form = Form::Ansi;
    bool anfang = true, ende = false, erstesStueck = true;
    abschnitt = std::max<std::size_t>(abschnitt, 4);
    while (!ende) {
        const std::size_t alt = puffer.size();
        puffer.resize(alt + abschnitt);
        const std::size_t gelesen = std::fread(puffer.data() + alt, 1, abschnitt, f.get());
        puffer.resize(alt + gelesen);
        if (std::ferror(f.get()))
            throw OeffnenFehler(ein, errno ? errno : EIO);
        ende = gelesen < abschnitt;
        if (anfang) {
            if (puffer.size() < 3 && !ende)
                continue;
            std::size_t marke = 0;
            const std::string_view kopf(puffer);
            if (kopf.starts_with("\xEF\xBB\xBF")) {
                form = Form::Utf8;
                marke = 3;
            } else if (kopf.starts_with("\xFF\xFE")) {
                form = Form::Utf16Le;
                marke = 2;
            } else if (kopf.starts_with("\xFE\xFF")) {
                form = Form::Utf16Be;
                marke = 2;
            }
            puffer.erase(0, marke);
            anfang = false;
        }
        std::string_view stueck(puffer);
        if (HatNul(stueck, form)) {
            ende = true; // the text ends at the NUL; the piece's decoder stops there
        } else if (!ende) {
            stueck = stueck.substr(0, LetztesZeilenende(stueck, form));
            if (stueck.empty())
                continue; // one long line: read on
        }
        std::u16string text = Dekodieren(stueck, form);
        e.Anzahl += ersetzungen.Anwenden(text);
        Kodiert k = TextKodieren(text, ausTyp, nullptr);
        e.NichtDarstellbar += k.NichtDarstellbar;
        std::string_view bytes(k.Bytes);
        // The byte order mark belongs at the start of the file only.
        if (!erstesStueck && ausTyp == tfUtf8)
            bytes.remove_prefix(3);
        else if (!erstesStueck && ausTyp != tfText && ausTyp != tfError)
            bytes.remove_prefix(2);
        ziel.Schreiben(bytes);
        erstesStueck = false;
        puffer.erase(0, stueck.size());
    }
    ziel.Abschliessen();
    return e;
}

} // namespace zw
