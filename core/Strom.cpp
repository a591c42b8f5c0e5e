#include "core/Strom.h"

#include "core/Fehler.h"
#include "core/Kodierung.h"
#include "core/Konvertierung.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zw {

namespace fs = std::filesystem;

namespace {

// The whole-text way, for what cannot go piece by piece.
StromErgebnis Ganz(const fs::path& ein, const fs::path& aus, const TTabListe& tabelle,
                   std::optional<TTextFileType> zielTyp) {
    StromErgebnis e;
    std::u16string text;
    TextDateiLaden(ein, e.Typ, text);
    KonvertierErgebnis k = TextKonvertieren(text, tabelle);
    e.Anzahl = k.Anzahl;
    const TTextFileType ausTyp = zielTyp.value_or(e.Typ);
    e.NichtDarstellbar = TextDateiSpeichern(aus, k.Text, ausTyp).NichtDarstellbar;
    if (e.NichtDarstellbar > 0)
        e.Fehlende = FehlendeZeichen(text, k.Text, ausTyp);
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

// Reads a document file that is not RTF in pieces that end right after a
// line feed, or at the end of the text (a NUL ends it too), with the byte
// order mark taken off. The last piece may be empty.
class Stuecke {
public:
    Stuecke(const fs::path& ein, std::size_t abschnitt)
        : ein_(ein), f_(DateiOeffnen(ein, "rb"), &std::fclose),
          abschnitt_(std::max<std::size_t>(abschnitt, 4)) {
        if (!f_)
            throw OeffnenFehler(ein, errno ? errno : EACCES);
        errno = 0;
    }

    // False when the text has been read. The form is known after the first
    // piece.
    bool Naechstes(std::string_view& stueck, bool& letztes) {
        puffer_.erase(0, verbraucht_);
        verbraucht_ = 0;
        while (!fertig_) {
            if (!ende_) {
                const std::size_t alt = puffer_.size();
                puffer_.resize(alt + abschnitt_);
                const std::size_t gelesen =
                    std::fread(puffer_.data() + alt, 1, abschnitt_, f_.get());
                puffer_.resize(alt + gelesen);
                if (std::ferror(f_.get()))
                    throw OeffnenFehler(ein_, errno ? errno : EIO);
                ende_ = gelesen < abschnitt_;
            }
            if (anfang_) {
                if (puffer_.size() < 3 && !ende_)
                    continue;
                MarkeAbnehmen();
                anfang_ = false;
            }
            std::string_view s(puffer_);
            // The text ends at a NUL; the piece's decoder stops there.
            const bool letzt = ende_ || HatNul(s, form_);
            if (!letzt) {
                s = s.substr(0, LetztesZeilenende(s, form_));
                if (s.empty())
                    continue; // one long line: read on
            }
            fertig_ = letzt;
            verbraucht_ = s.size();
            stueck = s;
            letztes = letzt;
            return true;
        }
        return false;
    }

    Form Art() const { return form_; }

private:
    void MarkeAbnehmen() {
        std::size_t marke = 0;
        const std::string_view kopf(puffer_);
        if (kopf.starts_with("\xEF\xBB\xBF")) {
            form_ = Form::Utf8;
            marke = 3;
        } else if (kopf.starts_with("\xFF\xFE")) {
            form_ = Form::Utf16Le;
            marke = 2;
        } else if (kopf.starts_with("\xFE\xFF")) {
            form_ = Form::Utf16Be;
            marke = 2;
        }
        puffer_.erase(0, marke);
    }

    fs::path ein_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f_;
    std::size_t abschnitt_;
    std::string puffer_;
    std::size_t verbraucht_ = 0;
    Form form_ = Form::Ansi;
    bool anfang_ = true, ende_ = false, fertig_ = false;
};

// Collects the characters an output type cannot hold, piece after piece.
class FehlendeSammler {
public:
    explicit FehlendeSammler(TTextFileType typ) : typ_(typ) {}

    // `vorher` is the piece before the conversion, whose line feeds count;
    // `nachher` the same piece converted. Pieces end after a line feed, so
    // no pair of surrogates is cut.
    void Pruefen(std::u16string_view vorher, std::u16string_view nachher);

    std::vector<FehlendesZeichen> Ergebnis() { return std::move(fehlende_); }

private:
    TTextFileType typ_;
    std::vector<FehlendesZeichen> fehlende_;
    std::unordered_map<char32_t, std::size_t> stelle_;
    std::size_t zeile_ = 1;
};

void FehlendeSammler::Pruefen(std::u16string_view vorher, std::u16string_view nachher) {
    if (typ_ != tfText && typ_ != tfError && typ_ != tfUtf8)
        return; // UTF-16 and RTF hold every character
    auto hoch = [](char16_t c) { return c >= 0xD800 && c < 0xDC00; };
    auto tief = [](char16_t c) { return c >= 0xDC00 && c < 0xE000; };
    for (std::size_t i = 0; i < nachher.size(); ++i) {
        const char16_t c = nachher[i];
        const std::size_t hier = zeile_;
        // The next line begins after a line feed of the input.
        if (i < vorher.size() && vorher[i] == u'\n')
            ++zeile_;
        char32_t zeichen = c;
        bool fehlt;
        if (hoch(c) && i + 1 < nachher.size() && tief(nachher[i + 1])) {
            // A pair: UTF-8 holds it, ANSI none.
            zeichen = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (nachher[i + 1] - 0xDC00);
            fehlt = typ_ != tfUtf8;
            ++i;
        } else if (typ_ == tfUtf8) {
            fehlt = hoch(c) || tief(c);
        } else {
            fehlt =
                c != u'\r' && c != u'\n' && AnsiNichtDarstellbar(std::u16string_view(&c, 1)) > 0;
        }
        if (!fehlt)
            continue;
        const auto [platz, neu] = stelle_.try_emplace(zeichen, fehlende_.size());
        if (neu)
            fehlende_.push_back({zeichen, 1, hier});
        else
            ++fehlende_[platz->second].Anzahl;
    }
}

// For an ANSI file saved as ANSI, the table folds into one byte per byte,
// as long as it neither takes nor makes a line-end character.
struct ByteTabelle {
    unsigned char ziel[256];
    unsigned char treffer[256];
    unsigned char fehlt[256];
    // No byte from 0E to 7F changes: plain ASCII passes as it is.
    bool asciiBleibt = true;

    static std::optional<ByteTabelle> Fuer(const TTabListe& tabelle) {
        for (const TabEintrag& e : tabelle)
            if (e.Ersatzzeichen == u'\r' || e.Ersatzzeichen == u'\n')
                return std::nullopt;
        ByteTabelle t;
        for (int b = 0; b < 256; ++b) {
            const char16_t zeichen = AnsiZeichen(static_cast<unsigned char>(b));
            char16_t ersatz = zeichen;
            t.treffer[b] = 0;
            for (const TabEintrag& e : tabelle) {
                if (e.Suchzeichen == zeichen) {
                    ersatz = e.Ersatzzeichen;
                    t.treffer[b] = 1;
                    break;
                }
            }
            const int byte = AnsiByte(ersatz);
            t.ziel[b] = static_cast<unsigned char>(byte < 0 ? '?' : byte);
            t.fehlt[b] = byte < 0;
            if (b >= 0x0E && b < 0x80 && (t.treffer[b] || t.ziel[b] != b))
                t.asciiBleibt = false;
        }
        return t;
    }

    // The reading line rule and the table in one pass over a piece that
    // holds no NUL. `letztes`: the piece ends the text.
    void Anwenden(std::string_view stueck, bool letztes, std::string& aus, StromErgebnis& e) const {
        aus.resize(2 * stueck.size() + 2);
        char* o = aus.data();
        const auto* p = reinterpret_cast<const unsigned char*>(stueck.data());
        const auto* ende = p + stueck.size();
        std::int64_t anzahl = 0;
        std::size_t fehlend = 0;
        while (p != ende) {
#ifdef __SSE2__
            if (asciiBleibt && ende - p >= 16) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                // Bytes from 0E to 7F: above CR and without the high bit.
                const __m128i steuer =
                    _mm_cmpeq_epi8(_mm_subs_epu8(v, _mm_set1_epi8(13)), _mm_setzero_si128());
                if (_mm_movemask_epi8(_mm_or_si128(steuer, v)) == 0) {
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), v);
                    o += 16;
                    p += 16;
                    continue;
                }
            }
#endif
            const unsigned char b = *p++;
            if (b == '\r' || b == '\n') {
                *o++ = '\r';
                *o++ = '\n';
                if (b == '\r' && p != ende && *p == '\n')
                    ++p;
                continue;
            }
            *o++ = char(ziel[b]);
            anzahl += treffer[b];
            fehlend += fehlt[b];
        }
        if (letztes && o != aus.data() && o[-1] != '\n') {
            *o++ = '\r';
            *o++ = '\n';
        }
        aus.resize(std::size_t(o - aus.data()));
        e.Anzahl += anzahl;
        e.NichtDarstellbar += fehlend;
    }
};

} // namespace

std::vector<FehlendesZeichen> FehlendeZeichen(std::u16string_view vorher,
                                              std::u16string_view nachher, TTextFileType typ) {
    FehlendeSammler sammler(typ);
    sammler.Pruefen(vorher, nachher);
    return sammler.Ergebnis();
}

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

    Stuecke stuecke(ein, abschnitt);
    const Ersetzungen ersetzungen(tabelle);
    AtomareDatei ziel(aus);
    StromErgebnis e;
    e.Typ = typ;

    std::string bytePuffer;
    std::optional<ByteTabelle> byteTabelle;
    bool erstesStueck = true;
    std::string_view stueck;
    bool ende = false;
    while (stuecke.Naechstes(stueck, ende)) {
        const Form form = stuecke.Art();
        if (erstesStueck && form == Form::Ansi && (ausTyp == tfText || ausTyp == tfError) &&
            AnsiEinzelbyte())
            byteTabelle = ByteTabelle::Fuer(tabelle);
        if (byteTabelle) {
            // The text ends at a NUL.
            byteTabelle->Anwenden(stueck.substr(0, stueck.find('\0')), ende, bytePuffer, e);
            ziel.Schreiben(bytePuffer);
            erstesStueck = false;
            continue;
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
    }
    ziel.Abschliessen();
    if (e.NichtDarstellbar > 0) {
        // Rare, so found in a second pass, piece by piece as well, rather
        // than slowing every piece of the first down.
        Stuecke nochmal(ein, abschnitt);
        FehlendeSammler sammler(ausTyp);
        while (nochmal.Naechstes(stueck, ende)) {
            const std::u16string vorher = Dekodieren(stueck, nochmal.Art());
            std::u16string nachher = vorher;
            ersetzungen.Anwenden(nachher);
            sammler.Pruefen(vorher, nachher);
        }
        e.Fehlende = sammler.Ergebnis();
    }
    return e;
}

} // namespace zw
