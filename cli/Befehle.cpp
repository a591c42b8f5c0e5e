#include "cli/Befehle.h"
#include "cli/Schliessen.h"

#include "core/Fehler.h"
#include "core/Kodierung.h"
#include "core/Konvertierung.h"
#include "core/MoFiles.h"
#include "core/Strom.h"
#include "core/Tabelle.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

namespace zw::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kHilfe =
    "Aufruf: zeichenwandler-cli BEFEHL [ARGUMENTE]\n"
    "\n"
    "Befehle:\n"
    "  konvertieren --tabelle TABELLE [--typ text|unicode|utf8|rtf] EINGABE AUSGABE\n"
    "      Lädt EINGABE, ersetzt jedes Zeichen, das die Code-Tabelle TABELLE nennt,\n"
    "      und schreibt das Ergebnis nach AUSGABE: im angegebenen Typ, sonst im Typ,\n"
    "      als der EINGABE gelesen wurde. Die letzte Zeile der Ausgabe meldet die\n"
    "      Zahl der ersetzten Zeichen. Zeichen, die der Zieltyp nicht darstellen kann,\n"
    "      werden als \"?\" geschrieben und auf der Fehlerausgabe gemeldet.\n"
    "      Word- (.docx) und OpenDocument-Dokumente (.odt) werden gelesen; ihr Text\n"
    "      wird ohne --typ als Textdokument (ANSI) geschrieben.\n"
    "  tabelle TABELLE\n"
    "      Gibt je Tabelleneintrag eine Zeile aus: Such- und Ersatzzeichen als\n"
    "      Dezimalzahl, durch ein Leerzeichen getrennt, in der Reihenfolge der Datei.\n"
    "  dateityp DATEI\n"
    "      Gibt den erkannten Dateityp aus: tfError, tfText, tfUnicode, tfRtf oder tfUtf8.\n"
    "  text DATEI\n"
    "      Gibt den geladenen Text (Zeilenenden CR LF) als UTF-8 aus, auch den Text\n"
    "      eines Word- oder OpenDocument-Dokuments.\n"
    "  schliessen\n"
    "      Bittet den laufenden Zeichenwandler dieses Benutzers, sich zu beenden, wie mit\n"
    "      Datei > Beenden (bei ungespeicherten Änderungen fragt er nach). Rückgabewert 3,\n"
    "      wenn keiner läuft, 4, wenn er nicht innerhalb von zwei Sekunden antwortet.\n"
    "  --help\n"
    "      Zeigt diese Hilfe.\n"
    "\n"
    "Typen: text = Textdokument im ANSI-Zeichensatz (Windows-1252, unter Windows die\n"
    "Codepage des Systems), unicode = UTF-16, utf8 = UTF-8, rtf = Rich Text Format.\n"
    "\n"
    "Rückgabewerte: 0 bei Erfolg, 1 bei einem Dateifehler, 2 bei falschem Aufruf.\n";

void Schreiben(std::FILE* ziel, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), ziel);
}

int FalscherAufruf(const std::string& grund) {
    Schreiben(stderr, "zeichenwandler-cli: " + grund + "\n\n");
    Schreiben(stderr, kHilfe);
    return Bedienfehler;
}

std::optional<TTextFileType> TypAusName(std::string_view name) {
    if (name == "text")
        return tfText;
    if (name == "unicode")
        return tfUnicode;
    if (name == "utf8")
        return tfUtf8;
    if (name == "rtf")
        return tfRtf;
    return std::nullopt;
}

fs::path Pfad(const std::string& argument) {
    return fs::path(std::u8string(argument.begin(), argument.end()));
}

// What the user must not miss about what was read: a document written out
// as plain text, a text that a NUL cut short.
void DokumentHinweise(Herkunft quelle, const std::optional<NulStelle>& nul, bool typGewaehlt) {
    if (quelle != Herkunft::Textdatei && !typGewaehlt)
        Schreiben(stderr, std::string("Hinweis: Die Eingabe ist ein ") +
                              (quelle == Herkunft::Word ? "Word-Dokument" : "OpenDocument-Text") +
                              "; ohne --typ wird ihr Text als Textdokument (ANSI) geschrieben.\n");
    if (nul)
        Schreiben(stderr, "Warnung: " + NulMeldung(*nul) + "\n");
}

int Konvertieren(const std::vector<std::string>& a) {
    std::optional<std::string> tabelle;
    std::optional<TTextFileType> zielTyp;
    std::vector<std::string> dateien;
    for (std::size_t i = 1; i < a.size(); ++i) {
        if (a[i] == "--tabelle" || a[i] == "--typ") {
            if (i + 1 >= a.size())
                return FalscherAufruf("Zu " + a[i] + " fehlt der Wert.");
            const std::string& wert = a[++i];
            if (a[i - 1] == "--tabelle") {
                tabelle = wert;
            } else {
                zielTyp = TypAusName(wert);
                if (!zielTyp)
                    return FalscherAufruf("Unbekannter Typ \"" + wert +
                                          "\" (erlaubt: text, unicode, utf8, rtf).");
            }
        } else if (a[i].starts_with("--")) {
            return FalscherAufruf("Unbekannte Option \"" + a[i] + "\".");
        } else {
            dateien.push_back(a[i]);
        }
    }
    if (!tabelle)
        return FalscherAufruf("Die Code-Tabelle fehlt (--tabelle TABELLE).");
    if (dateien.size() != 2)
        return FalscherAufruf("Es werden genau eine Eingabe- und eine Ausgabedatei erwartet.");

    TTabListe liste;
    TabDateiAuswerten(Pfad(*tabelle), liste);
    if (liste.empty())
        Schreiben(stderr, "Warnung: Kein gültiger Tabelleneintrag gefunden!\n");

    // Piece by piece, so a file of any size converts in little memory.
    const StromErgebnis gespeichert =
        DateiKonvertieren(Pfad(dateien[0]), Pfad(dateien[1]), liste, zielTyp);
    if (gespeichert.NichtDarstellbar > 0) {
        Schreiben(stderr, "Warnung: " + ZahlGruppieren(std::int64_t(gespeichert.NichtDarstellbar)) +
                              " Zeichen konnten im Zieltyp nicht dargestellt werden und wurden "
                              "durch \"?\" ersetzt.\n");
    }
    DokumentHinweise(gespeichert.Quelle, gespeichert.Nul, zielTyp.has_value());
    Schreiben(stdout, KonvertierungsMeldung(gespeichert.Anzahl) + "\n");
    return Erfolg;
}

int TabelleZeigen(const std::vector<std::string>& a) {
    if (a.size() != 2)
        return FalscherAufruf("Es wird genau eine Tabellen-Datei erwartet.");
    TTabListe liste;
    TabDateiAuswerten(Pfad(a[1]), liste);
    std::string aus;
    for (const TabEintrag& e : liste)
        aus +=
            std::to_string(int(e.Suchzeichen)) + " " + std::to_string(int(e.Ersatzzeichen)) + "\n";
    Schreiben(stdout, aus);
    return Erfolg;
}

int DateitypZeigen(const std::vector<std::string>& a) {
    if (a.size() != 2)
        return FalscherAufruf("Es wird genau eine Datei erwartet.");
    Schreiben(stdout, TypName(DateiTypErmitteln(Pfad(a[1]))) + "\n");
    return Erfolg;
}

int TextZeigen(const std::vector<std::string>& a) {
    if (a.size() != 2)
        return FalscherAufruf("Es wird genau eine Datei erwartet.");
    const Dokument d = DokumentLaden(Pfad(a[1]));
    Schreiben(stdout, Utf16ZuUtf8(d.Text));
    DokumentHinweise(Herkunft::Textdatei, d.Nul, true);
    return Erfolg;
}

} // namespace

int Ausfuehren(const std::vector<std::string>& a) {
    if (a.empty())
        return FalscherAufruf("Es fehlt ein Befehl.");
    const std::string& befehl = a[0];
    if (befehl == "--help" || befehl == "-h" || befehl == "hilfe") {
        Schreiben(stdout, kHilfe);
        return Erfolg;
    }
    try {
        if (befehl == "konvertieren")
            return Konvertieren(a);
        if (befehl == "tabelle")
            return TabelleZeigen(a);
        if (befehl == "dateityp")
            return DateitypZeigen(a);
        if (befehl == "text")
            return TextZeigen(a);
        if (befehl == "schliessen") {
            if (a.size() != 1)
                return FalscherAufruf("schliessen erwartet keine Argumente.");
            return Schliessen();
        }
    } catch (const DateiFehler& f) {
        Schreiben(stderr, std::string(f.what()) + "\n");
        return DateiFehlerAusgang;
    } catch (const std::bad_alloc&) {
        Schreiben(stderr, "Nicht genügend Speicher verfügbar, um diesen Befehl zu verarbeiten.\n");
        return DateiFehlerAusgang;
    }
    return FalscherAufruf("Unbekannter Befehl \"" + befehl + "\".");
}

} // namespace zw::cli
