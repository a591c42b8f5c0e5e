#include "cli/Braille.h"
#include "cli/Befehle.h"
#include "cli/Werkzeug.h"

#include "core/BrailleSatz.h"
#include "core/Drucktext.h"
#include "core/Kodierung.h"
#include "core/Konvertierung.h"
#include "core/MoFiles.h"
#ifdef ZW_MIT_BRAILLE
#include "core/BrailleCodes.h"
#endif
#include "platform/Druckausgabe.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace zw::cli {

const char* const kBrailleHilfe =
    "  vorschau [--code CODE] [--zeichen N] [--zeilen N] DATEI\n"
    "      Gibt den Drucktext von DATEI aus, wie der Braille-Drucker ihn prägt: jedes\n"
    "      Byte als Braille-Zelle (Unicode U+2800 bis U+28FF), eine Braille-Zeile je\n"
    "      Zeile, umbrochen nach N Zeichen je Zeile (Vorgabe 40), Seiten nach N Zeilen\n"
    "      (Vorgabe 25) und an Seitenvorschüben; zwischen zwei Seiten steht eine Zeile\n"
    "      nur mit einem Seitenvorschub. Bytes ohne Zelle im Code meldet die\n"
    "      Fehlerausgabe.\n"
    "  pruefen [--code CODE] DATEI\n"
    "      Gibt je Zeichen, das der Drucker nicht prägen kann (kein einzelnes Byte oder\n"
    "      keine Zelle im Code), eine Zeile aus: Code dezimal, Anzahl, Zeile und Spalte\n"
    "      der ersten Stelle. Rückgabewert 0, wenn es keines gibt, sonst 5.\n"
    "  drucken [--kopien N] [--seiten VON-BIS] [--zeichen N] [--zeilen N]\n"
    "          [--stockgrenze MS] PORT DATEI\n"
    "      Druckt DATEI wie der Druckdialog: rechts gekürzt, mit Seitenvorschub, N Kopien\n"
    "      (Vorgabe 1), nur die Seiten VON bis BIS (VON- bis zum Ende) bei N Zeichen je\n"
    "      Zeile und N Zeilen je Seite. Eine Kopie scheitert, wenn der Drucker\n"
    "      --stockgrenze Millisekunden (Vorgabe 3000) keine Daten annimmt. Der\n"
    "      Fortschritt steht auf der Fehlerausgabe; scheitert eine Kopie, die Meldung\n"
    "      und der Rückgabewert 6.\n"
    "\n"
    "Codes (--code, Vorgabe us6; auch der ausgeschriebene Name):\n"
    "  us6  US-Computerbraille, 6 Punkte (die Punkte 7 und 8 fallen weg)\n"
    "  us8  US-Computerbraille, 8 Punkte\n"
    "  de8  Deutsche Computerbraille, 8 Punkte\n"
    "Die Zellen kommen aus den Anzeigetabellen von liblouis (text_nabcc.dis, de-de.dis).\n";

namespace {

namespace fs = std::filesystem;

std::optional<int> Zahl(const std::string& text, int min, int max) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int n = std::stoi(text);
    if (n < min || n > max)
        return std::nullopt;
    return n;
}

struct Aufruf {
    BrailleEinstellung braille;
    int kopien = 1;
    int von = 1, bis = 0; // 0: to the end
    int stockMs = 3000;
    std::vector<std::string> dateien;
    std::string fehler;
};

Aufruf Lesen(const std::vector<std::string>& a, const std::vector<std::string>& erlaubt) {
    Aufruf r;
    for (std::size_t i = 1; i < a.size(); ++i) {
        if (!a[i].starts_with("--")) {
            r.dateien.push_back(a[i]);
            continue;
        }
        if (std::find(erlaubt.begin(), erlaubt.end(), a[i]) == erlaubt.end()) {
            r.fehler = "Unbekannte Option \"" + a[i] + "\".";
            return r;
        }
        if (i + 1 >= a.size()) {
            r.fehler = "Zu " + a[i] + " fehlt der Wert.";
            return r;
        }
        const std::string& o = a[i];
        const std::string& w = a[++i];
        std::optional<int> n;
        if (o == "--code") {
            const BrailleCode* c = BrailleCodeFinden(w);
            if (!c) {
                r.fehler = "Unbekannter Code \"" + w + "\" (erlaubt: us6, us8, de8).";
                return r;
            }
            r.braille.Code = std::string(c->Name);
            continue;
        }
        if (o == "--seiten") {
            const auto strich = w.find('-');
            const auto von = Zahl(w.substr(0, strich), 1, 999999);
            std::optional<int> bis = 0;
            if (strich != std::string::npos && strich + 1 < w.size())
                bis = Zahl(w.substr(strich + 1), 1, 999999);
            else if (strich == std::string::npos)
                bis = von;
            if (!von || !bis || (*bis != 0 && *bis < *von)) {
                r.fehler = "Ungültiger Seitenbereich \"" + w + "\" (VON-BIS, z. B. 3-5 oder 3-).";
                return r;
            }
            r.von = *von;
            r.bis = *bis;
            continue;
        }
        if (o == "--zeichen" || o == "--zeilen")
            n = Zahl(w, kBrailleMin, kBrailleMax);
        else if (o == "--kopien")
            n = Zahl(w, 1, 99);
        else if (o == "--stockgrenze")
            n = Zahl(w, 1, 3600 * 1000);
        if (!n) {
            r.fehler = "Ungültiger Wert \"" + w + "\" für " + o + ".";
            return r;
        }
        (o == "--zeichen"  ? r.braille.Zeichen
         : o == "--zeilen" ? r.braille.Zeilen
         : o == "--kopien" ? r.kopien
                           : r.stockMs) = *n;
    }
    return r;
}

// The print text of a document: trimmed at the right, one form feed.
std::u16string DruckText(const std::string& datei) {
    TTextFileType typ = tfError;
    std::u16string text;
    TextDateiLaden(Pfad(datei), typ, text);
    return DruckTextBilden(RechtsGetrimmt(text));
}

#ifdef ZW_MIT_BRAILLE
const ZellenTabelle& Zellen(const BrailleEinstellung& b) {
    return ZellenLaden(*BrailleCodeFinden(b.Code));
}
#endif

} // namespace

int Vorschau(const std::vector<std::string>& a) {
    const Aufruf r = Lesen(a, {"--code", "--zeichen", "--zeilen"});
    if (!r.fehler.empty())
        return FalscherAufruf(r.fehler);
    if (r.dateien.size() != 1)
        return FalscherAufruf("Es wird genau eine Datei erwartet.");
#ifdef ZW_MIT_BRAILLE
    const BrailleSatz satz = BrailleSetzen(DruckBytes(DruckText(r.dateien[0])), Zellen(r.braille),
                                           r.braille.Zeichen, r.braille.Zeilen);
    std::u16string aus;
    for (std::size_t s = 0; s < satz.Seiten.size(); ++s) {
        if (s > 0)
            aus += u"\f\n";
        for (const auto& z : satz.Seiten[s].Zeilen) {
            aus += z;
            aus += u'\n';
        }
    }
    Schreiben(stdout, Utf16ZuUtf8(aus));
    for (int b = 0; b < 256; ++b)
        if (const std::size_t n = satz.OhneZelle[std::size_t(b)])
            Schreiben(stderr, "Ohne Zelle im Code " + r.braille.Code + ": Byte " +
                                  std::to_string(b) + " (" + ZeichenName(char32_t(b)) + "), " +
                                  ZahlGruppieren(std::int64_t(n)) + "-mal\n");
    return Erfolg;
#else
    Schreiben(stderr, "Die Braille-Vorschau braucht liblouis, das diesem Bau fehlt.\n");
    return DateiFehlerAusgang;
#endif
}

int Pruefen(const std::vector<std::string>& a) {
    const Aufruf r = Lesen(a, {"--code"});
    if (!r.fehler.empty())
        return FalscherAufruf(r.fehler);
    if (r.dateien.size() != 1)
        return FalscherAufruf("Es wird genau eine Datei erwartet.");
#ifdef ZW_MIT_BRAILLE
    const auto liste = DruckPruefen(DruckText(r.dateien[0]), Zellen(r.braille));
    std::string aus;
    for (const NichtDarstellbar& e : liste)
        aus += std::to_string(std::uint32_t(e.Zeichen)) + " " + std::to_string(e.Anzahl) + " " +
               std::to_string(e.Zeile) + " " + std::to_string(e.Spalte) + "\n";
    Schreiben(stdout, aus);
    return liste.empty() ? int(Erfolg) : int(NichtDarstellbarAusgang);
#else
    Schreiben(stderr, "Die Prüfung braucht liblouis, das diesem Bau fehlt.\n");
    return DateiFehlerAusgang;
#endif
}

int Drucken(const std::vector<std::string>& a) {
    const Aufruf r = Lesen(a, {"--kopien", "--seiten", "--zeichen", "--zeilen", "--stockgrenze"});
    if (!r.fehler.empty())
        return FalscherAufruf(r.fehler);
    if (r.dateien.size() != 2)
        return FalscherAufruf("Es werden genau ein Anschluss und eine Datei erwartet.");
    const std::u16string text = DruckText(r.dateien[1]);
    if (text.size() <= 1) {
        Schreiben(stderr, "Kein Text zum Drucken vorhanden\n");
        return DateiFehlerAusgang;
    }
    std::string bytes = DruckBytes(text);
    if (r.von != 1 || r.bis != 0) {
        const auto seiten = SeitenGrenzen(bytes, r.braille.Zeichen, r.braille.Zeilen);
        if (r.von > int(seiten.size()))
            return FalscherAufruf("Der Text hat nur " + std::to_string(seiten.size()) + " Seiten.");
        bytes = SeitenBytes(bytes, seiten, r.von, r.bis == 0 ? int(seiten.size()) : r.bis);
    }
    const auto grenze = std::chrono::milliseconds(r.stockMs);
    for (int k = 1; k <= r.kopien; ++k) {
        auto zuletzt = std::chrono::steady_clock::now() - std::chrono::seconds(1);
        std::size_t gesendet = 0;
        const std::string kopf =
            "Kopie " + std::to_string(k) + " von " + std::to_string(r.kopien) + ", ";
        const DruckErgebnis e = KopieDrucken(r.dateien[0], bytes, grenze, [&](std::size_t n) {
            gesendet = n;
            const auto jetzt = std::chrono::steady_clock::now();
            if (jetzt - zuletzt >= std::chrono::milliseconds(500)) {
                zuletzt = jetzt;
                Schreiben(stderr, kopf + ZahlGruppieren(std::int64_t(n)) + " von " +
                                      ZahlGruppieren(std::int64_t(bytes.size())) + " Bytes\n");
            }
            return true;
        });
        if (!e.Ok()) {
            Schreiben(stderr, "Der Braille-Drucker ist nicht betriebsbereit!\n" +
                                  DruckFehlerText(e, gesendet, bytes.size(), grenze) + "\n");
            return DruckFehlerAusgang;
        }
        Schreiben(stderr, kopf + ZahlGruppieren(std::int64_t(bytes.size())) + " von " +
                              ZahlGruppieren(std::int64_t(bytes.size())) + " Bytes gedruckt\n");
    }
    return Erfolg;
}

} // namespace zw::cli
