#include "cli/Befehle.h"
#include "cli/Braille.h"
#include "cli/Konvertieren.h"
#include "cli/Schliessen.h"
#include "cli/Werkzeug.h"

#include "core/Erkennung.h"
#include "core/Fehler.h"
#include "core/Kodierung.h"
#include "core/Konvertierung.h"
#include "core/MoFiles.h"
#include "core/Tabelle.h"

#include <cstdio>
#include <string_view>

namespace zw::cli {

namespace {

constexpr const char* kHilfe =
    "Aufruf: zeichenwandler-cli BEFEHL [ARGUMENTE]\n"
    "\n"
    "Befehle:\n"
    "  konvertieren [--tabelle TABELLE] [--typ text|unicode|utf8|rtf] EINGABE AUSGABE\n"
    "      Lädt EINGABE, ersetzt jedes Zeichen, das die Code-Tabelle TABELLE nennt,\n"
    "      und schreibt das Ergebnis nach AUSGABE: im angegebenen Typ, sonst im Typ,\n"
    "      als der EINGABE gelesen wurde. Die letzte Zeile der Ausgabe meldet die\n"
    "      Zahl der ersetzten Zeichen. Zeichen, die der Zieltyp nicht darstellen kann,\n"
    "      werden als \"?\" geschrieben und auf der Fehlerausgabe einzeln gemeldet,\n"
    "      mit Code, Anzahl und der Zeile, in der sie zuerst stehen. Ohne --tabelle\n"
    "      gilt \"Eng-Ger.tab\" neben dem Programm. Word- (.docx) und OpenDocument-\n"
    "      Dokumente (.odt) werden gelesen; ihr Text wird ohne --typ als Textdokument\n"
    "      (ANSI) geschrieben, im Stapel unter ihrem Namen mit der Endung .TXT.\n"
    "  konvertieren [--tabelle TABELLE] [--typ TYP] --ausgabe ORDNER EINGABE...\n"
    "      Konvertiert jede EINGABE nach ORDNER unter ihrem eigenen Dateinamen und\n"
    "      meldet je Datei eine Zeile und zum Schluss die Summe. Eine Datei, die\n"
    "      scheitert, wird gemeldet, die übrigen werden weiter konvertiert; dann ist\n"
    "      der Rückgabewert 1. Eine Eingabe wird nie überschrieben.\n"
    "  tabelle TABELLE\n"
    "      Gibt je Tabelleneintrag eine Zeile aus: Such- und Ersatzzeichen als\n"
    "      Dezimalzahl, durch ein Leerzeichen getrennt, in der Reihenfolge der Datei.\n"
    "  tabelle --pruefen TABELLE\n"
    "      Nennt jede Zeile, die kein Eintrag ist, mit ihrer Nummer und dem Grund\n"
    "      (Leer- und Kommentarzeilen ausgenommen), und jeden Eintrag, der nie wirkt,\n"
    "      weil eine frühere Zeile dasselbe Suchzeichen ersetzt.\n"
    "  dateityp DATEI\n"
    "      Gibt den erkannten Dateityp aus: tfError, tfText, tfUnicode, tfRtf oder tfUtf8.\n"
    "  text DATEI\n"
    "      Gibt den geladenen Text (Zeilenenden CR LF) als UTF-8 aus, auch den Text\n"
    "      eines Word- oder OpenDocument-Dokuments.\n"
    "  schliessen\n"
    "      Bittet den laufenden Zeichenwandler dieses Benutzers, sich zu beenden, wie mit\n"
    "      Datei > Beenden (bei ungespeicherten Änderungen fragt er nach). Rückgabewert 3,\n"
    "      wenn keiner läuft, 4, wenn er nicht innerhalb von zwei Sekunden antwortet.\n"
    "%BRAILLE%"
    "  --help\n"
    "      Zeigt diese Hilfe.\n"
    "\n"
    "Typen: text = Textdokument im ANSI-Zeichensatz (Windows-1252, unter Windows die\n"
    "Codepage des Systems), unicode = UTF-16, utf8 = UTF-8, rtf = Rich Text Format.\n"
    "\n"
    "Rückgabewerte: 0 bei Erfolg, 1 bei einem Dateifehler (beim Stapel: wenn eine Datei\n"
    "gescheitert ist), 2 bei falschem Aufruf.\n";

// The embosser commands bring their own lines.
std::string Hilfe() {
    std::string text = kHilfe;
    const auto stelle = text.find("%BRAILLE%");
    return text.replace(stelle, 9, kBrailleHilfe);
}

// Every line that is no entry and every entry that never takes effect, then
// a total.
int TabellePruefen(const std::string& datei) {
    TTextFileType typ = tfError;
    std::u16string text;
    TextDateiLaden(Pfad(datei), typ, text);
    const std::vector<TabBefund> befunde = TabTextPruefen(text);
    const TTabListe liste = TabTextAuswerten(text);
    std::string aus;
    std::size_t keinEintrag = 0;
    for (const TabBefund& b : befunde) {
        aus += BefundZeile(b) + "\n";
        keinEintrag += b.Art != TabBefundArt::Verdeckt;
    }
    const std::size_t verdeckt = befunde.size() - keinEintrag;
    aus +=
        ZahlGruppieren(std::int64_t(liste.size())) + (liste.size() == 1 ? " Eintrag" : " Einträge");
    if (befunde.empty()) {
        aus += ", keine Auffälligkeiten.\n";
    } else {
        aus += "; " + ZahlGruppieren(std::int64_t(keinEintrag)) +
               (keinEintrag == 1 ? " Zeile ist kein Eintrag" : " Zeilen sind keine Einträge") +
               ", " + ZahlGruppieren(std::int64_t(verdeckt)) +
               (verdeckt == 1 ? " Eintrag wirkt nie.\n" : " Einträge wirken nie.\n");
    }
    Schreiben(stdout, aus);
    return Erfolg;
}

int TabelleZeigen(const std::vector<std::string>& a) {
    if (a.size() == 3 && a[1] == "--pruefen")
        return TabellePruefen(a[2]);
    if (a.size() != 2 || a[1].starts_with("--"))
        return FalscherAufruf("Es wird genau eine Tabellen-Datei erwartet "
                              "(oder --pruefen TABELLE).");
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
    // What the user must not miss: a text that a NUL cut short.
    if (d.Nul)
        Schreiben(stderr, "Warnung: " + NulMeldung(*d.Nul) + "\n");
    return Erfolg;
}

int SchliessenBefehl(const std::vector<std::string>& a) {
    if (a.size() != 1)
        return FalscherAufruf("schliessen erwartet keine Argumente.");
    return Schliessen();
}

struct Befehl {
    std::string_view name;
    int (*ausfuehren)(const std::vector<std::string>&);
};

constexpr Befehl kBefehle[] = {
    {"konvertieren", Konvertieren}, {"tabelle", TabelleZeigen},       {"dateityp", DateitypZeigen},
    {"text", TextZeigen},           {"vorschau", Vorschau},           {"pruefen", Pruefen},
    {"drucken", Drucken},           {"schliessen", SchliessenBefehl},
};

} // namespace

int Ausfuehren(const std::vector<std::string>& a) {
    if (a.empty())
        return FalscherAufruf("Es fehlt ein Befehl.");
    const std::string& befehl = a[0];
    if (befehl == "--help" || befehl == "-h" || befehl == "hilfe") {
        Schreiben(stdout, Hilfe());
        return Erfolg;
    }
    try {
        for (const Befehl& b : kBefehle)
            if (befehl == b.name)
                return b.ausfuehren(a);
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
