#include "core/Strom.h"

#include "core/Erkennung.h"
#include "core/Fehler.h"
#include "core/Kodierung.h"
#include "core/Konvertierung.h"
#include "core/ZeilenRegel.h"

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

// The whole-text way, for what cannot go piece by piece: RTF, Word and
// OpenDocument files, and whatever the loader is to reject.
StromErgebnis Ganz(const fs::path& ein, const fs::path& aus, const TTabListe& tabelle,
                   std::optional<TTextFileType> zielTyp) {
    StromErgebnis e;
    Dokument d = DokumentLaden(ein);
    e.Typ = d.Typ;
    e.Quelle = d.Quelle;
    e.Nul = d.Nul;
    KonvertierErgebnis k = TextKonvertieren(std::move(d.Text), tabelle);
    e.Anzahl = k.Anzahl;
    const TTextFileType ausTyp = zielTyp.value_or(e.Typ);
    e.NichtDarstellbar = TextDateiSpeichern(aus, k.Text, ausTyp).NichtDarstellbar;
    // Rare: the text before the conversion, whose lines count, is read again
    // rather than kept beside the converted one every time.
    if (e.NichtDarstellbar > 0)
        e.Fehlende = FehlendeZeichen(DokumentLaden(ein).Text, k.Text, ausTyp);
    return e;
}

// Takes a byte order mark off the front of `puffer`; without one, `form`
// stays as it is. Returns the mark's length.
std::size_t MarkeAbnehmen(std::string& puffer, Form& form) {
    const ByteOrderMarke marke = MarkeLesen(puffer);
    if (marke.Laenge != 0)
        form = marke.Art;
    puffer.erase(0, marke.Laenge);
    return marke.Laenge;
}

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

// Where a NUL ends the text in a piece, or npos.
std::size_t NulPos(std::string_view bytes, Form form) {
    if (form == Form::Ansi || form == Form::Utf8)
        return bytes.find('\0');
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == 0 && bytes[i + 1] == 0)
            return i;
    return std::string_view::npos;
}

// Reads a document file that is not RTF in pieces that end right after a
// line feed, or at the end of the text (a NUL ends it too), with the byte
// order mark taken off. The last piece may be empty. Used for the rare second
// pass that names the characters the output type cannot hold.
class Stuecke {
public:
    // `ohneMarke`: how a file without a byte order mark was read.
    Stuecke(const fs::path& ein, std::size_t abschnitt, Form ohneMarke)
        : ein_(ein), f_(DateiOeffnen(ein, "rb"), &std::fclose),
          abschnitt_(std::max<std::size_t>(abschnitt, 4)), form_(ohneMarke) {
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
                MarkeAbnehmen(puffer_, form_);
                anfang_ = false;
            }
            std::string_view s(puffer_);
            // The text ends at a NUL; the piece's decoder stops there.
            const bool letzt = ende_ || NulPos(s, form_) != std::string_view::npos;
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
    fs::path ein_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f_;
    std::size_t abschnitt_;
    Form form_;
    std::string puffer_;
    std::size_t verbraucht_ = 0;
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
    for (std::size_t i = 0; i < nachher.size(); ++i) {
        const char16_t c = nachher[i];
        const std::size_t hier = zeile_;
        // The next line begins after a line feed of the input.
        if (i < vorher.size() && vorher[i] == u'\n')
            ++zeile_;
        char32_t zeichen = c;
        bool fehlt;
        if (IstHoch(c) && i + 1 < nachher.size() && IstTief(nachher[i + 1])) {
            // A pair: UTF-8 holds it, ANSI none.
            zeichen = AusPaar(c, nachher[i + 1]);
            fehlt = typ_ != tfUtf8;
            ++i;
        } else if (typ_ == tfUtf8) {
            fehlt = IstSurrogat(c);
        } else {
            fehlt = !IstZeilenzeichen(c) && AnsiNichtDarstellbar(std::u16string_view(&c, 1)) > 0;
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
            if (IstZeilenzeichen(e.Ersatzzeichen))
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
        ZeilenRegel regel;
        const auto schreiben = [&o](unsigned char b) { *o++ = char(b); };
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
                    regel.Zeichen();
                    continue;
                }
            }
#endif
            const unsigned char b = *p++;
            if (IstZeilenzeichen(b)) {
                regel.Einheit(b, schreiben);
                continue;
            }
            regel.Zeichen();
            *o++ = char(ziel[b]);
            anzahl += treffer[b];
            fehlend += fehlt[b];
        }
        if (letztes)
            regel.Ende<unsigned char>(schreiben);
        aus.resize(std::size_t(o - aus.data()));
        e.Anzahl += anzahl;
        e.NichtDarstellbar += fehlend;
    }
};

} // namespace

namespace {

// How far the input is known to be UTF-8 without a mark: the first-bytes
// rule calls it text, and until the first byte from 80 hex on both readings
// agree, so the pieces go out before the question is settled.
enum class Lesart {
    Offen, // only ASCII so far
    Utf8,  // valid UTF-8 with a multi-byte sequence so far
    Fest,  // settled: ANSI, or a byte order mark
};

// How a pass ended: done, or to be run again reading the file as ANSI (it
// turned out not to be UTF-8 after all) or as UTF-8 (the table had already
// written something that UTF-8 writes differently).
enum class Ausgang { Fertig, AlsAnsi, AlsUtf8 };

// One pass over the input, reading a file without a mark as `vorgabe` says
// (Offen: decide on the way). Only a rare file is read a second time: one
// that looks like UTF-8 and turns invalid late, or one whose table turned
// ASCII into other characters before its first UTF-8 sequence.
Ausgang Durchgang(std::FILE* f, const fs::path& ein, AtomareDatei& ziel, const TTabListe& tabelle,
                  const Ersetzungen& ersetzungen, std::optional<TTextFileType> zielTyp,
                  TTextFileType typ, Lesart vorgabe, std::size_t abschnitt, StromErgebnis& e) {
    e = StromErgebnis{};
    e.Typ = typ;
    TTextFileType ausTyp = zielTyp.value_or(typ);

    std::string puffer, bytePuffer;
    std::optional<ByteTabelle> byteTabelle;
    Form form = Form::Ansi;
    Lesart lesart = Lesart::Fest;
    TextPruefer pruefer;
    std::uint64_t gelesenGesamt = 0, vorPuffer = 0, nulAbstand = 0;
    bool anfang = true, ende = false, erstesStueck = true, nulGefunden = false;
    // While the reading is open: whether every byte out so far is ASCII, the
    // table having made nothing else of it.
    bool ausgabeAscii = true;
    const auto nurAscii = [](std::string_view b) {
        return std::none_of(b.begin(), b.end(), [](char c) { return (c & 0x80) != 0; });
    };
    while (!ende) {
        const std::size_t alt = puffer.size();
        puffer.resize(alt + abschnitt);
        const std::size_t gelesen = std::fread(puffer.data() + alt, 1, abschnitt, f);
        puffer.resize(alt + gelesen);
        if (std::ferror(f))
            throw OeffnenFehler(ein, errno ? errno : EIO);
        ende = gelesen < abschnitt;
        gelesenGesamt += gelesen;
        if (anfang) {
            if (puffer.size() < 3 && !ende)
                continue;
            const std::size_t marke = MarkeAbnehmen(puffer, form);
            if (marke == 0 && typ == tfText) {
                lesart = vorgabe;
                if (vorgabe == Lesart::Utf8) {
                    form = Form::Utf8;
                    e.Typ = tfUtf8;
                    if (!zielTyp)
                        ausTyp = tfUtf8;
                }
            }
            // NULs count against a file without a UTF-16 mark.
            if (form != Form::Utf16Le && form != Form::Utf16Be)
                pruefer.Hinzufuegen(puffer);
            vorPuffer = marke;
            anfang = false;
            if (form == Form::Ansi && (ausTyp == tfText || ausTyp == tfError) && AnsiEinzelbyte())
                byteTabelle = ByteTabelle::Fuer(tabelle);
        } else if (form != Form::Utf16Le && form != Form::Utf16Be) {
            pruefer.Hinzufuegen(std::string_view(puffer).substr(alt));
        }
        if (nulGefunden) {
            // After the NUL only the count of NULs and the question of UTF-8
            // remain; nothing more is converted.
            puffer.clear();
            if (lesart == Lesart::Utf8 && !pruefer.Gueltig())
                return Ausgang::AlsAnsi;
            continue;
        }
        if (lesart == Lesart::Offen) {
            if (!pruefer.Gueltig()) {
                lesart = Lesart::Fest;
            } else if (pruefer.MehrByte()) {
                // What went out so far is written the same in UTF-8 only if
                // it is ASCII; then just the mark is missing in front.
                if (!zielTyp && !ausgabeAscii)
                    return Ausgang::AlsUtf8;
                lesart = Lesart::Utf8;
                form = Form::Utf8;
                byteTabelle.reset();
                e.Typ = tfUtf8;
                if (!zielTyp) {
                    ausTyp = tfUtf8;
                    if (!erstesStueck)
                        ziel.Voranstellen("\xEF\xBB\xBF");
                }
            }
        } else if (lesart == Lesart::Utf8 && !pruefer.Gueltig()) {
            return Ausgang::AlsAnsi;
        }

        std::string_view stueck(puffer);
        const std::size_t nul = NulPos(stueck, form);
        if (nul != std::string_view::npos) {
            nulGefunden = true;
            stueck = stueck.substr(0, nul);
            // Lines are not counted on the way (Zeile 0); the bytes from the
            // NUL on are known once the file is read to its end.
            e.Nul = NulStelle{0, 0};
            nulAbstand = vorPuffer + nul;
        } else if (!ende) {
            stueck = stueck.substr(0, LetztesZeilenende(stueck, form));
            if (stueck.empty())
                continue; // one long line: read on
        }
        const bool letztes = ende || nulGefunden;
        if (byteTabelle) {
            byteTabelle->Anwenden(stueck, letztes, bytePuffer, e);
            if (lesart == Lesart::Offen && ausgabeAscii)
                ausgabeAscii = nurAscii(bytePuffer) && e.NichtDarstellbar == 0;
            ziel.Schreiben(bytePuffer);
            erstesStueck = erstesStueck && bytePuffer.empty();
        } else {
            std::u16string text = FormLesen(stueck, form);
            e.Anzahl += ersetzungen.Anwenden(text);
            Kodiert k = TextKodieren(text, ausTyp, nullptr);
            e.NichtDarstellbar += k.NichtDarstellbar;
            std::string_view bytes(k.Bytes);
            // The byte order mark belongs at the start of the file only.
            if (!erstesStueck && ausTyp == tfUtf8)
                bytes.remove_prefix(3);
            else if (!erstesStueck && ausTyp != tfText && ausTyp != tfError)
                bytes.remove_prefix(2);
            if (lesart == Lesart::Offen && ausgabeAscii)
                ausgabeAscii = nurAscii(bytes) && e.NichtDarstellbar == 0;
            ziel.Schreiben(bytes);
            erstesStueck = false;
        }
        vorPuffer += stueck.size();
        puffer.erase(0, stueck.size());
        if (nulGefunden)
            puffer.clear();
    }
    if (lesart == Lesart::Utf8 && !pruefer.IstUtf8())
        return Ausgang::AlsAnsi;
    if (e.Nul)
        e.Nul->RestBytes = gelesenGesamt - nulAbstand;
    if ((typ == tfText || typ == tfUtf8) && form != Form::Utf16Le && form != Form::Utf16Be &&
        NulsSindBinaer(pruefer.Nuls(), pruefer.Groesse()))
        throw OeffnenFehler(ein, "Die Datei ist keine Textdatei, sondern enthält Binärdaten (" +
                                     ZahlGruppieren(std::int64_t(pruefer.Nuls())) + " NUL-Bytes).");
    return Ausgang::Fertig;
}

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
        return IstZeilenzeichen(e.Suchzeichen);
    });
    if (typ == tfRtf || typ == tfError || ausTyp == tfRtf || zeilenendeErsetzt)
        return Ganz(ein, aus, tabelle, zielTyp);

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(DateiOeffnen(ein, "rb"), &std::fclose);
    if (!f)
        throw OeffnenFehler(ein, errno ? errno : EACCES);
    errno = 0;
    if (typ == tfText) {
        // Documents and files that are no text are the loader's to judge,
        // on the whole file.
        char kopf[64];
        const std::size_t n = std::fread(kopf, 1, sizeof kopf, f.get());
        if (std::ferror(f.get()))
            throw OeffnenFehler(ein, errno ? errno : EIO);
        const std::string_view anfang(kopf, n);
        // Only an old Office file needs the whole file to tell what it is;
        // any other foreign file is refused on its first bytes, unread.
        constexpr std::string_view kOle("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
        if (IstZip(anfang) || anfang.starts_with(kOle))
            return Ganz(ein, aus, tabelle, zielTyp);
        if (std::optional<std::string> grund = FremdesFormat(anfang))
            throw OeffnenFehler(ein, *grund);
        // A device or pipe as target cannot be written again from the start.
        std::error_code ec;
        const auto status = fs::status(aus, ec);
        if (!ec && fs::exists(status) && !fs::is_regular_file(status))
            return Ganz(ein, aus, tabelle, zielTyp);
        std::rewind(f.get());
    }

    const Ersetzungen ersetzungen(tabelle);
    AtomareDatei ziel(aus);
    StromErgebnis e;
    abschnitt = std::max<std::size_t>(abschnitt, 4);
    Lesart lesart = Lesart::Offen;
    for (;;) {
        const Ausgang a =
            Durchgang(f.get(), ein, ziel, tabelle, ersetzungen, zielTyp, typ, lesart, abschnitt, e);
        if (a == Ausgang::Fertig)
            break;
        // A settled reading never asks again, so this ends after three passes.
        lesart = a == Ausgang::AlsUtf8 ? Lesart::Utf8 : Lesart::Fest;
        std::rewind(f.get());
        ziel.Zuruecksetzen();
    }
    ziel.Abschliessen();
    if (e.NichtDarstellbar > 0) {
        // Rare, so found in a second pass, piece by piece as well, rather
        // than slowing every piece of the first down.
        const TTextFileType ausTypGelesen = zielTyp.value_or(e.Typ);
        Stuecke nochmal(ein, abschnitt, typ == tfText && e.Typ == tfUtf8 ? Form::Utf8 : Form::Ansi);
        FehlendeSammler sammler(ausTypGelesen);
        std::string_view stueck;
        bool ende = false;
        while (nochmal.Naechstes(stueck, ende)) {
            const std::u16string vorher = FormLesen(stueck, nochmal.Art());
            std::u16string nachher = vorher;
            ersetzungen.Anwenden(nachher);
            sammler.Pruefen(vorher, nachher);
        }
        e.Fehlende = sammler.Ergebnis();
    }
    return e;
}

} // namespace zw
