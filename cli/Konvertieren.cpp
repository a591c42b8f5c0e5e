#include "cli/Konvertieren.h"

#include "cli/Befehle.h"
#include "cli/Werkzeug.h"

#include "core/Erkennung.h"
#include "core/Fehler.h"
#include "core/Kodierung.h"
#include "core/Konvertierung.h"
#include "core/Strom.h"
#include "core/Tabelle.h"

#include <fstream>
#include <set>

namespace zw::cli {

namespace {

namespace fs = std::filesystem;

// The table the window takes when none is chosen.
constexpr const char* kStandardTabelle = "Eng-Ger.tab";

std::string ZeichenText(char32_t c) {
    const std::string code = std::to_string(std::uint32_t(c));
    const bool sichtbar = c > 0x20 && !(c >= 0x7F && c < 0xA0) && !IstSurrogat(c);
    if (!sichtbar)
        return "Zeichen " + code;
    std::string zeichen;
    Utf8Anhaengen(zeichen, c);
    return "\"" + zeichen + "\" (Code " + code + ")";
}

// The warning names every character that became "?", so the user can add it
// to the table or choose another type.
void FehlendeMelden(const std::string& vorsatz, const StromErgebnis& e) {
    if (e.NichtDarstellbar == 0)
        return;
    std::string text = "Warnung: " + vorsatz + ZahlGruppieren(std::int64_t(e.NichtDarstellbar)) +
                       " Zeichen konnten im Zieltyp nicht dargestellt werden und wurden "
                       "durch \"?\" ersetzt:\n";
    for (const FehlendesZeichen& f : e.Fehlende) {
        text += "  " + ZeichenText(f.Zeichen) + ", " + ZahlGruppieren(std::int64_t(f.Anzahl)) +
                "-mal, zuerst in Zeile " + ZahlGruppieren(std::int64_t(f.ErsteZeile)) + "\n";
    }
    Schreiben(stderr, text);
}

// What the user must not miss about what was read: a document written out
// as plain text, a text that a NUL cut short.
void DokumentHinweise(const std::string& vorsatz, const StromErgebnis& e, bool typGewaehlt) {
    if (e.Quelle != Herkunft::Textdatei && !typGewaehlt)
        Schreiben(stderr, "Hinweis: " + vorsatz + "Die Eingabe ist ein " +
                              (e.Quelle == Herkunft::Word ? "Word-Dokument" : "OpenDocument-Text") +
                              "; ohne --typ wird ihr Text als Textdokument (ANSI) geschrieben.\n");
    if (e.Nul)
        Schreiben(stderr, "Warnung: " + vorsatz + NulMeldung(*e.Nul) + "\n");
}

// A Word or OpenDocument file's text never goes out under the document's
// own name: that would be a text file named .docx or .odt.
fs::path AusgabeName(const fs::path& ein, std::optional<TTextFileType> zielTyp) {
    char kopf[4] = {};
    std::ifstream f(ein, std::ios::binary);
    f.read(kopf, sizeof kopf);
    if (!IstZip(std::string_view(kopf, std::size_t(f.gcount()))))
        return ein.filename();
    return fs::path(ein.filename()).replace_extension(zielTyp == tfRtf ? ".RTF" : ".TXT");
}

bool DieselbeDatei(const fs::path& a, const fs::path& b) {
    std::error_code fehler;
    if (fs::equivalent(a, b, fehler))
        return true;
    return fs::weakly_canonical(fs::absolute(a, fehler), fehler) ==
           fs::weakly_canonical(fs::absolute(b, fehler), fehler);
}

int Stapel(const TTabListe& liste, std::optional<TTextFileType> zielTyp, const fs::path& ordner,
           const std::vector<std::string>& eingaben) {
    std::error_code fehler;
    fs::create_directories(ordner, fehler);
    if (!fs::is_directory(ordner)) {
        Schreiben(stderr,
                  "Der Ausgabeordner \"" + PfadText(ordner) + "\" kann nicht angelegt werden.\n");
        return DateiFehlerAusgang;
    }
    std::size_t gut = 0, schlecht = 0;
    std::int64_t ersetzt = 0;
    std::set<fs::path> geschrieben;
    for (const std::string& eingabe : eingaben) {
        const fs::path ein = Pfad(eingabe);
        const fs::path aus = ordner / AusgabeName(ein, zielTyp);
        const std::string name = PfadText(ein);
        auto scheitern = [&](const std::string& grund) {
            Schreiben(stderr, name + ": " + grund + "\n");
            ++schlecht;
        };
        // Never the input itself, and never twice the same output: either
        // would lose a file without a word.
        if (DieselbeDatei(ein, aus)) {
            scheitern("Die Ausgabe \"" + PfadText(aus) +
                      "\" wäre die Eingabe selbst; sie wird nicht überschrieben.");
            continue;
        }
        const fs::path ziel = fs::absolute(aus, fehler).lexically_normal();
        if (geschrieben.contains(ziel)) {
            scheitern("Eine frühere Eingabe gleichen Namens wurde schon nach \"" + PfadText(aus) +
                      "\" geschrieben.");
            continue;
        }
        try {
            const StromErgebnis e = DateiKonvertieren(ein, aus, liste, zielTyp);
            FehlendeMelden(name + ": ", e);
            DokumentHinweise(name + ": ", e, zielTyp.has_value());
            Schreiben(stdout, name + ": " + KonvertierungsMeldung(e.Anzahl) + " -> " +
                                  PfadText(aus) + "\n");
            ersetzt += e.Anzahl;
            ++gut;
            geschrieben.insert(ziel);
        } catch (const DateiFehler& f) {
            scheitern(f.what());
        }
    }
    std::string summe = "Insgesamt: " + ZahlGruppieren(std::int64_t(gut)) +
                        (gut == 1 ? " Datei" : " Dateien") + " konvertiert";
    if (schlecht > 0)
        summe += ", " + ZahlGruppieren(std::int64_t(schlecht)) + " fehlgeschlagen";
    summe += "; " + KonvertierungsMeldung(ersetzt) + "\n";
    Schreiben(stdout, summe);
    return schlecht > 0 ? DateiFehlerAusgang : Erfolg;
}

} // namespace

int Konvertieren(const std::vector<std::string>& a) {
    std::optional<std::string> tabelle, ausgabe;
    std::optional<TTextFileType> zielTyp;
    std::vector<std::string> dateien;
    bool nurDateien = false;
    for (std::size_t i = 1; i < a.size(); ++i) {
        if (nurDateien || !a[i].starts_with("--")) {
            dateien.push_back(a[i]);
        } else if (a[i] == "--") {
            nurDateien = true;
        } else if (a[i] == "--tabelle" || a[i] == "--typ" || a[i] == "--ausgabe") {
            if (i + 1 >= a.size())
                return FalscherAufruf("Zu " + a[i] + " fehlt der Wert.");
            const std::string& wert = a[++i];
            if (a[i - 1] == "--tabelle") {
                tabelle = wert;
            } else if (a[i - 1] == "--ausgabe") {
                ausgabe = wert;
            } else {
                zielTyp = TypAusName(wert);
                if (!zielTyp)
                    return FalscherAufruf("Unbekannter Typ \"" + wert +
                                          "\" (erlaubt: text, unicode, utf8, rtf).");
            }
        } else {
            return FalscherAufruf("Unbekannte Option \"" + a[i] + "\".");
        }
    }
    if (ausgabe && dateien.empty())
        return FalscherAufruf("Es fehlt mindestens eine Eingabedatei.");
    if (!ausgabe && dateien.size() > 2)
        return FalscherAufruf("Mehrere Eingabedateien brauchen --ausgabe ORDNER.");
    if (!ausgabe && dateien.size() != 2)
        return FalscherAufruf("Es werden eine Eingabe- und eine Ausgabedatei erwartet "
                              "(oder --ausgabe ORDNER und Eingabedateien).");

    const fs::path tabellenPfad = tabelle ? Pfad(*tabelle) : ProgrammOrdner() / kStandardTabelle;
    TTabListe liste;
    TabDateiAuswerten(tabellenPfad, liste);
    if (liste.empty())
        Schreiben(stderr, "Warnung: Kein gültiger Tabelleneintrag gefunden! Warum, zeigt: "
                          "zeichenwandler-cli tabelle --pruefen \"" +
                              PfadText(tabellenPfad) + "\"\n");

    if (ausgabe)
        return Stapel(liste, zielTyp, Pfad(*ausgabe), dateien);

    // Piece by piece, so a file of any size converts in little memory.
    const StromErgebnis gespeichert =
        DateiKonvertieren(Pfad(dateien[0]), Pfad(dateien[1]), liste, zielTyp);
    FehlendeMelden("", gespeichert);
    DokumentHinweise("", gespeichert, zielTyp.has_value());
    Schreiben(stdout, KonvertierungsMeldung(gespeichert.Anzahl) + "\n");
    return Erfolg;
}

} // namespace zw::cli
