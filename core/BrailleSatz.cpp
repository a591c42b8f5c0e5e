#include "core/BrailleSatz.h"

#include "core/Kodierung.h"
#include "core/Konvertierung.h"
#include "core/ZeilenRegel.h"

#include <algorithm>
#include <cctype>

namespace zw {

const std::vector<BrailleCode>& BrailleCodes() {
    static const std::vector<BrailleCode> codes = {
        {"us6", "US-Computerbraille, 6 Punkte", "text_nabcc.dis", true, true},
        {"us8", "US-Computerbraille, 8 Punkte", "text_nabcc.dis", false, false},
        {"de8", "Deutsche Computerbraille, 8 Punkte", "de-de.dis", false, false},
    };
    return codes;
}

namespace {

bool GleichOhneGross(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

const BrailleCode* BrailleCodeFinden(std::string_view name) {
    for (const BrailleCode& c : BrailleCodes())
        if (GleichOhneGross(c.Name, name) || GleichOhneGross(c.Titel, name))
            return &c;
    return nullptr;
}

namespace {

// Lays out bytes; without a code only the page boundaries and line counts
// are kept.
class Setzer {
public:
    Setzer(const ZellenTabelle* code, int zeichen, int zeilen)
        : code_(code), zeichen_(std::size_t(std::max(zeichen, 1))),
          zeilen_(std::size_t(std::max(zeilen, 1))) {}

    BrailleSatz Setzen(std::string_view bytes) {
        bool nachCr = false;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b == '\n' && nachCr) {
                nachCr = false;
                continue;
            }
            nachCr = b == '\r';
            if (b == '\r' || b == '\n') {
                if (!zeileOffen_)
                    ZeileBeginnen(i);
                ZeileEnden();
            } else if (b == '\f') {
                if (zeileOffen_)
                    ZeileEnden();
                // A form feed on no page (at the start, or after another form
                // feed) gives an empty page.
                if (!seiteOffen_)
                    SeiteBeginnen(i);
                satz_.Seiten.back().ByteEnde = i + 1;
                seiteOffen_ = false;
            } else {
                if (zeileOffen_ && zellen_ == zeichen_)
                    ZeileEnden();
                if (!zeileOffen_)
                    ZeileBeginnen(i);
                if (code_) {
                    if (!code_->Vorhanden[b]) {
                        satz_.Seiten.back().Marken.push_back(
                            {std::uint32_t(satz_.Seiten.back().Zeilen.size()),
                             std::uint32_t(zellen_), b});
                        ++satz_.OhneZelle[b];
                    }
                    zeile_.push_back(BraillePunkte(code_->Zelle[b]));
                }
                ++zellen_;
            }
        }
        if (zeileOffen_)
            ZeileEnden();
        if (seiteOffen_)
            satz_.Seiten.back().ByteEnde = bytes.size();
        return std::move(satz_);
    }

private:
    void SeiteBeginnen(std::size_t pos) {
        BrailleSeite seite;
        seite.ByteAnfang = seite.ByteEnde = pos;
        satz_.Seiten.push_back(std::move(seite));
        seiteOffen_ = true;
    }

    void ZeileBeginnen(std::size_t pos) {
        if (!seiteOffen_) {
            SeiteBeginnen(pos);
        } else if (satz_.Seiten.back().Zeilen.size() >= zeilen_) {
            satz_.Seiten.back().ByteEnde = pos;
            SeiteBeginnen(pos);
        }
        zeileOffen_ = true;
        zellen_ = 0;
    }

    void ZeileEnden() {
        satz_.Seiten.back().Zeilen.push_back(std::move(zeile_));
        zeile_.clear();
        zeileOffen_ = false;
        zellen_ = 0;
    }

    const ZellenTabelle* code_;
    std::size_t zeichen_, zeilen_;
    BrailleSatz satz_;
    std::u16string zeile_;
    std::size_t zellen_ = 0;
    bool zeileOffen_ = false;
    bool seiteOffen_ = false;
};

} // namespace

BrailleSatz BrailleSetzen(std::string_view bytes, const ZellenTabelle& code, int zeichenJeZeile,
                          int zeilenJeSeite) {
    return Setzer(&code, zeichenJeZeile, zeilenJeSeite).Setzen(bytes);
}

std::vector<BrailleSeite> SeitenGrenzen(std::string_view bytes, int zeichenJeZeile,
                                        int zeilenJeSeite) {
    return Setzer(nullptr, zeichenJeZeile, zeilenJeSeite).Setzen(bytes).Seiten;
}

std::string SeitenBytes(std::string_view bytes, const std::vector<BrailleSeite>& seiten, int von,
                        int bis) {
    std::string aus;
    if (!seiten.empty()) {
        const int n = int(seiten.size());
        von = std::clamp(von, 1, n);
        bis = std::clamp(bis, von, n);
        const std::size_t anfang = seiten[std::size_t(von - 1)].ByteAnfang;
        std::size_t ende = std::min(seiten[std::size_t(bis - 1)].ByteEnde, bytes.size());
        while (ende > anfang && static_cast<unsigned char>(bytes[ende - 1]) <= ' ')
            --ende;
        aus.assign(bytes.substr(anfang, ende - anfang));
    }
    aus.push_back('\f');
    return aus;
}

std::vector<NichtDarstellbar> DruckPruefen(std::u16string_view text, const ZellenTabelle& code) {
    std::vector<NichtDarstellbar> liste;
    std::vector<std::size_t> platz(256, std::size_t(-1));
    auto zaehlen = [&](char32_t c, std::size_t zeile, std::size_t spalte) {
        if (c < 256 && platz[c] != std::size_t(-1)) {
            ++liste[platz[c]].Anzahl;
            return;
        }
        if (c >= 256) {
            const auto gleich = std::find_if(liste.begin(), liste.end(),
                                             [c](const auto& e) { return e.Zeichen == c; });
            if (gleich != liste.end()) {
                ++gleich->Anzahl;
                return;
            }
        } else {
            platz[c] = liste.size();
        }
        liste.push_back({c, 1, zeile, spalte});
    };
    std::size_t zeile = 1, spalte = 1;
    ZeilenRegel regel;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IstZeilenzeichen(c)) {
            if (regel.Endet(c)) {
                ++zeile;
                spalte = 1;
            }
            continue;
        }
        regel.Zeichen();
        if (IstHoch(c) && i + 1 < text.size() && IstTief(text[i + 1])) {
            c = AusPaar(text[i], text[i + 1]);
            ++i;
        }
        if (c != u'\f' && (c > 255 || !code.Vorhanden[c]))
            zaehlen(c, zeile, spalte);
        ++spalte;
    }
    return liste;
}

std::string ZeichenName(char32_t c) {
    const bool zeigbar =
        c > 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0xA0) && c != 0xAD && !IstSurrogat(c);
    if (!zeigbar)
        return "Zeichen " + std::to_string(std::uint32_t(c));
    std::string aus;
    Utf8Anhaengen(aus, c);
    return aus;
}

std::string PruefMeldung(const std::vector<NichtDarstellbar>& liste) {
    if (liste.empty())
        return {};
    std::vector<NichtDarstellbar> sortiert = liste;
    std::stable_sort(sortiert.begin(), sortiert.end(),
                     [](const auto& a, const auto& b) { return a.Anzahl > b.Anzahl; });
    std::size_t summe = 0;
    for (const auto& e : sortiert)
        summe += e.Anzahl;
    constexpr std::size_t kHoechstens = 12;
    std::string text = "Achtung: " + ZahlGruppieren(std::int64_t(summe)) +
                       " Zeichen kann der Drucker nicht darstellen: ";
    for (std::size_t i = 0; i < sortiert.size() && i < kHoechstens; ++i) {
        if (i > 0)
            text += ", ";
        text += ZeichenName(sortiert[i].Zeichen) + " (" +
                ZahlGruppieren(std::int64_t(sortiert[i].Anzahl)) + ")";
    }
    if (sortiert.size() > kHoechstens)
        text += " und " + std::to_string(sortiert.size() - kHoechstens) + " weitere";
    return text;
}

} // namespace zw
