// The command-line tool as a user runs it: real process, real files.
#include "CliAufruf.h"
#include "Hilfen.h"
#include "ZipBauen.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <cstdlib>

using zwtest::Lesen;
using zwtest::Schreiben;
using zwtest::TempOrdner;

namespace {

using Ergebnis = zwtest::CliErgebnis;

class Cli : public testing::Test {
protected:
    Ergebnis Aufruf(const std::vector<std::string>& argumente) {
        return zwtest::CliAufruf(ZW_CLI, ordner.Pfad(), argumente);
    }

    std::string Pfad(const std::string& name) {
        const std::filesystem::path pfad = ordner / name;
        return pfad.string();
    }
    std::string Tabelle(const std::string& inhalt) {
        Schreiben(ordner / "t.tab", inhalt);
        return Pfad("t.tab");
    }
    static std::string LetzteZeile(const std::string& s) {
        std::string t = s;
        while (!t.empty() && t.back() == '\n')
            t.pop_back();
        return t.substr(t.find_last_of('\n') == std::string::npos ? 0 : t.find_last_of('\n') + 1);
    }
    TempOrdner ordner;
};

} // namespace

TEST_F(Cli, HilfeUndFalscherAufruf) {
    const Ergebnis hilfe = Aufruf({"--help"});
    EXPECT_EQ(hilfe.status, 0);
    for (const char* wort : {"konvertieren", "tabelle", "dateityp", "text", "--typ"})
        EXPECT_NE(hilfe.aus.find(wort), std::string::npos) << wort;

    const std::vector<std::vector<std::string>> falsch = {
        {},
        {"unbekannt"},
        {"konvertieren", "a", "b", "c"},
        {"konvertieren", "--ausgabe", "ordner"},
        {"konvertieren", "--ausgabe"},
        {"konvertieren", "--tabelle"},
        {"konvertieren", "--tabelle", "t", "--typ", "pdf", "a", "b"},
        {"konvertieren", "--tabelle", "t", "a"},
        {"konvertieren", "--tabelle", "t", "--farbe", "a", "b"},
        {"tabelle"},
        {"tabelle", "--pruefen"},
        {"tabelle", "--falsch", "t"},
        {"dateityp", "a", "b"},
        {"text"},
    };
    for (const auto& a : falsch) {
        const Ergebnis e = Aufruf(a);
        EXPECT_EQ(e.status, 2) << testing::PrintToString(a);
        // One line, the reason and where the help is, not the whole help.
        EXPECT_TRUE(e.fehler.starts_with("zeichenwandler-cli: ")) << e.fehler;
        EXPECT_EQ(std::count(e.fehler.begin(), e.fehler.end(), '\n'), 1) << e.fehler;
        EXPECT_TRUE(e.fehler.ends_with(" Hilfe: zeichenwandler-cli --help\n")) << e.fehler;
        EXPECT_TRUE(e.aus.empty());
    }
}

TEST_F(Cli, KonvertierenMeldetUndBehaeltDenTyp) {
    Schreiben(ordner / "ein.txt", "\xEF\xBB\xBF"
                                  "\xC3\xA4pfel und \xC3\xB6l\n");
    const Ergebnis e = Aufruf({"konvertieren", "--tabelle", Tabelle("228 062\r\n246 091\r\n"),
                               Pfad("ein.txt"), Pfad("aus.txt")});
    EXPECT_EQ(e.status, 0) << e.fehler;
    EXPECT_EQ(LetzteZeile(e.aus), "2 Zeichen wurden ersetzt");
    EXPECT_EQ(Lesen(ordner / "aus.txt"), "\xEF\xBB\xBF>pfel und [l\r\n");
}

TEST_F(Cli, KonvertierenInJedenTyp) {
    Schreiben(ordner / "ein.txt", "a");
    const std::string tab = Tabelle("97 98\r\n");
    struct Fall {
        const char* typ;
        std::string bytes;
    } faelle[] = {{"text", "b\r\n"},
                  {"utf8", "\xEF\xBB\xBF"
                           "b\r\n"},
                  {"unicode", std::string("\xFF\xFE"
                                          "b\0\r\0\n\0",
                                          8)}};
    for (const auto& f : faelle) {
        const Ergebnis e = Aufruf(
            {"konvertieren", "--typ", f.typ, "--tabelle", tab, Pfad("ein.txt"), Pfad("aus")});
        EXPECT_EQ(e.status, 0) << e.fehler;
        EXPECT_EQ(LetzteZeile(e.aus), "1 Zeichen wurde ersetzt");
        EXPECT_EQ(Lesen(ordner / "aus"), f.bytes) << f.typ;
    }
}

TEST_F(Cli, NichtDarstellbareZeichenWerdenGewarnt) {
    Schreiben(ordner / "ein.txt", "abc");
    // Replacing by braille cells that Windows-1252 cannot hold.
    const Ergebnis e = Aufruf({"konvertieren", "--typ", "text", "--tabelle",
                               Tabelle("97 10241\r\n98 10243\r\n"), Pfad("ein.txt"), Pfad("aus")});
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(LetzteZeile(e.aus), "2 Zeichen wurden ersetzt");
    EXPECT_NE(e.fehler.find("2 Zeichen"), std::string::npos) << e.fehler;
    EXPECT_NE(e.fehler.find("\"?\""), std::string::npos) << e.fehler;
    EXPECT_EQ(Lesen(ordner / "aus"), "??c\r\n");
}

TEST_F(Cli, JedesNichtDarstellbareZeichenMitCodeUndZeile) {
    Schreiben(ordner / "ein.txt", "xx\nab\nba\n");
    const Ergebnis e = Aufruf({"konvertieren", "--tabelle", Tabelle("97 10241\r\n98 10243\r\n"),
                               Pfad("ein.txt"), Pfad("aus")});
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.fehler, "Warnung: 4 Zeichen konnten im Zieltyp nicht dargestellt werden und "
                        "wurden durch \"?\" ersetzt:\n"
                        "  \"\u2801\" (Code 10241), 2-mal, zuerst in Zeile 2\n"
                        "  \"\u2803\" (Code 10243), 2-mal, zuerst in Zeile 2\n");
}

TEST_F(Cli, OhneTabelleGiltDieNebenDemWerkzeug) {
    // Eng-Ger.tab lies beside the tool in the build as in the installation.
    Schreiben(ordner / "ein.txt", "Gr\xFC\xDF\n");
    const Ergebnis e = Aufruf({"konvertieren", Pfad("ein.txt"), Pfad("aus.txt")});
    EXPECT_EQ(e.status, 0) << e.fehler;
    EXPECT_EQ(e.fehler, "");
    EXPECT_EQ(LetzteZeile(e.aus), "2 Zeichen wurden ersetzt");
    EXPECT_EQ(Lesen(ordner / "aus.txt"), "Gr\\!\r\n");
}

TEST_F(Cli, StapelMitFehlschlaegen) {
    std::filesystem::create_directories(ordner / "ein" / "zwei");
    Schreiben(ordner / "ein" / "a.txt", "aaa\n");
    Schreiben(ordner / "ein" / "b.txt", "\xEF\xBB\xBF"
                                        "ab\n");
    Schreiben(ordner / "ein" / "zwei" / "a.txt", "a\n");
    const std::string tab = Tabelle("97 98\r\n");
    // Paths as the system writes them, so the expected lines hold everywhere.
    const auto P = [this](auto... teile) { return (ordner / ... / teile).string(); };
    const std::string ziel = P("aus");
    const Ergebnis e =
        Aufruf({"konvertieren", "--tabelle", tab, "--ausgabe", ziel, P("ein", "a.txt"),
                P("ein", "fehlt.txt"), P("ein", "b.txt"), P("ein", "zwei", "a.txt")});
    EXPECT_EQ(e.status, 1);
    // Each file in its own type and under its own name in the folder, the
    // failing ones named on the error output, the others converted anyway.
    EXPECT_EQ(Lesen(ordner / "aus" / "a.txt"), "bbb\r\n");
    EXPECT_EQ(Lesen(ordner / "aus" / "b.txt"), "\xEF\xBB\xBF"
                                               "bb\r\n");
    EXPECT_EQ(e.aus, P("ein", "a.txt") + ": 3 Zeichen wurden ersetzt -> " + P("aus", "a.txt") +
                         "\n" + P("ein", "b.txt") + ": 1 Zeichen wurde ersetzt -> " +
                         P("aus", "b.txt") +
                         "\n"
                         "Insgesamt: 2 Dateien konvertiert, 2 fehlgeschlagen; 4 Zeichen wurden "
                         "ersetzt\n");
    EXPECT_NE(e.fehler.find(P("ein", "fehlt.txt") + ": Datei " + P("ein", "fehlt.txt") +
                            " kann nicht geöffnet werden."),
              std::string::npos)
        << e.fehler;
    // The second a.txt would overwrite the first.
    EXPECT_NE(e.fehler.find(P("ein", "zwei", "a.txt") + ": Eine frühere Eingabe gleichen Namens"),
              std::string::npos)
        << e.fehler;

    // All good, in a requested type; the folder is made.
    const Ergebnis gut = Aufruf({"konvertieren", "--tabelle", tab, "--typ", "unicode", "--ausgabe",
                                 P("neu", "ordner"), P("ein", "zwei", "a.txt")});
    EXPECT_EQ(gut.status, 0) << gut.fehler;
    EXPECT_EQ(LetzteZeile(gut.aus), "Insgesamt: 1 Datei konvertiert; 1 Zeichen wurde ersetzt");
    EXPECT_EQ(Lesen(ordner / "neu" / "ordner" / "a.txt"), std::string("\xFF\xFE"
                                                                      "b\0\r\0\n\0",
                                                                      8));

    // The input's own folder as output would overwrite the input: refused.
    const Ergebnis selbst =
        Aufruf({"konvertieren", "--tabelle", tab, "--ausgabe", P("ein"), P("ein", "a.txt")});
    EXPECT_EQ(selbst.status, 1);
    EXPECT_NE(selbst.fehler.find("wäre die Eingabe selbst"), std::string::npos) << selbst.fehler;
    EXPECT_EQ(Lesen(ordner / "ein" / "a.txt"), "aaa\n");
}

TEST_F(Cli, TabellePruefen) {
    const Ergebnis e = Aufruf(
        {"tabelle", "--pruefen", Tabelle("; Kopf\r\n65\t66\r\n65 66\r\n\r\n65 67\r\n66 66\r\n")});
    EXPECT_EQ(e.status, 0) << e.fehler;
    EXPECT_EQ(e.aus, "Zeile 2: Tabulator zwischen den Zahlen: Nur Leerzeichen trennen die Zahlen "
                     "und den Kommentar.\n"
                     "Zeile 5: Wirkt nie: Zeile 3 ersetzt schon \u201EA\u201C (65).\n"
                     "Zeile 6: Zweimal dieselbe Zahl (66): Das Zeichen würde durch sich selbst "
                     "ersetzt.\n"
                     "2 Einträge; 2 Zeilen sind keine Einträge, 1 Eintrag wirkt nie.\n");
    const Ergebnis sauber =
        Aufruf({"tabelle", "--pruefen", std::string(ZW_DATEN) + "/Eng-Ger.tab"});
    EXPECT_EQ(sauber.aus, "8 Einträge, keine Auffälligkeiten.\n");
    EXPECT_EQ(Aufruf({"tabelle", "--pruefen", Pfad("fehlt.tab")}).status, 1);
}

TEST_F(Cli, DateifehlerGebenStatusEins) {
    const std::string tab = Tabelle("97 98\r\n");
    Schreiben(ordner / "ein.txt", "a");
    struct Fall {
        std::vector<std::string> argumente;
        std::string meldung;
    } faelle[] = {
        {{"konvertieren", "--tabelle", Pfad("fehlt.tab"), Pfad("ein.txt"), Pfad("aus")},
         "Datei " + Pfad("fehlt.tab") + " kann nicht geöffnet werden."},
        {{"konvertieren", "--tabelle", tab, Pfad("fehlt.txt"), Pfad("aus")},
         "Datei " + Pfad("fehlt.txt") + " kann nicht geöffnet werden."},
        {{"konvertieren", "--tabelle", tab, Pfad("ein.txt"), Pfad("kein/ordner/aus")},
         "Datei \"" + (ordner / "kein" / "ordner" / "aus").string() +
             "\" kann nicht erstellt werden."},
        {{"tabelle", Pfad("fehlt.tab")}, "kann nicht geöffnet werden."},
        {{"text", Pfad("fehlt.txt")}, "kann nicht geöffnet werden."},
    };
    for (const auto& f : faelle) {
        const Ergebnis e = Aufruf(f.argumente);
        EXPECT_EQ(e.status, 1) << testing::PrintToString(f.argumente);
        EXPECT_NE(e.fehler.find(f.meldung), std::string::npos) << e.fehler;
    }
    EXPECT_FALSE(std::filesystem::exists(ordner / "aus"));
}

TEST_F(Cli, TabelleDateitypUndText) {
    const Ergebnis t = Aufruf({"tabelle", Tabelle("; x\r\n097 065\r\n65601 66\r\n65 65\r\n")});
    EXPECT_EQ(t.status, 0);
    EXPECT_EQ(t.aus, "97 65\n65 66\n");

    Schreiben(ordner / "u.txt", std::string("\xFF\xFE\xE4\0", 4));
    const Ergebnis d = Aufruf({"dateityp", Pfad("u.txt")});
    EXPECT_EQ(d.aus, "tfUnicode\n");
    EXPECT_EQ(Aufruf({"dateityp", Pfad("fehlt")}).aus, "tfError\n");

    const Ergebnis x = Aufruf({"text", Pfad("u.txt")});
    EXPECT_EQ(x.status, 0);
    EXPECT_EQ(x.aus, "\xC3\xA4\r\n");
}

TEST_F(Cli, MitgelieferteTabelleAufDemBeispiel) {
    const std::string daten = ZW_DATEN;
    const Ergebnis e = Aufruf({"konvertieren", "--tabelle", daten + "/Eng-Ger.tab",
                               daten + "/Beispiel.txt", Pfad("aus.txt")});
    EXPECT_EQ(e.status, 0) << e.fehler;
    EXPECT_EQ(LetzteZeile(e.aus), "14 Zeichen wurden ersetzt");
    const std::string aus = Lesen(ordner / "aus.txt");
    EXPECT_EQ(aus.find_first_of("\xE4\xF6\xFC\xC4\xD6\xDC\xDF"), std::string::npos);
    EXPECT_NE(aus.find("Gr\\!e aus K[ln und D\\sseldorf"), std::string::npos);
}

TEST_F(Cli, TabelleOhneEintragVerweistAufDiePruefung) {
    Schreiben(ordner / "ein.txt", "a\n");
    const std::string tab = Tabelle("97\t98\r\n");
    const Ergebnis e = Aufruf({"konvertieren", "--tabelle", tab, Pfad("ein.txt"), Pfad("aus")});
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.fehler, "Warnung: Kein gültiger Tabelleneintrag gefunden! Warum, zeigt: "
                        "zeichenwandler-cli tabelle --pruefen \"" +
                            tab + "\"\n");
    EXPECT_EQ(LetzteZeile(e.aus), "0 Zeichen wurden ersetzt");
}

// Documents, UTF-8 without a mark, files that are no text, NUL: what the
// tool reads and what it says about it.
TEST_F(Cli, DokumenteUndWasKeinTextIst) {
    const std::string tab = Tabelle("252 117\r\n"); // ü -> u
    const std::filesystem::path daten = std::filesystem::path(ZW_TESTDATEN) / "dokumente";

    const Ergebnis text = Aufruf({"text", (daten / "wordartig.docx").string()});
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.aus, Lesen(daten / "wordartig.erwartet.txt"));
    EXPECT_EQ(text.fehler, "");

    // Without --typ a document's text is written as ANSI text, and said so.
    const Ergebnis k = Aufruf(
        {"konvertieren", "--tabelle", tab, (daten / "vergleich.odt").string(), Pfad("brief.txt")});
    EXPECT_EQ(k.status, 0) << k.fehler;
    EXPECT_NE(k.fehler.find("Hinweis: Die Eingabe ist ein OpenDocument-Text; ohne --typ wird ihr "
                            "Text als Textdokument (ANSI) geschrieben."),
              std::string::npos)
        << k.fehler;
    EXPECT_NE(Lesen(ordner / "brief.txt")
                  .find("Mit freundlichen Gru\xDF"
                        "en\r\n"),
              std::string::npos);
    EXPECT_EQ(Aufruf({"dateityp", (daten / "vergleich.docx").string()}).aus, "tfText\n");
    const Ergebnis utf8 = Aufruf({"konvertieren", "--tabelle", tab, "--typ", "utf8",
                                  (daten / "vergleich.docx").string(), Pfad("brief8.txt")});
    EXPECT_EQ(utf8.fehler.find("Hinweis"), std::string::npos);
    EXPECT_TRUE(Lesen(ordner / "brief8.txt")
                    .starts_with("\xEF\xBB\xBF"
                                 "Brief an die Blindenschule\r\n"));

    // UTF-8 without a mark is read as UTF-8 and, without --typ, written as UTF-8.
    Schreiben(ordner / "gruesse.txt", "Gr\xC3\xBC\xC3\x9F"
                                      "e\n");
    const Ergebnis g =
        Aufruf({"konvertieren", "--tabelle", tab, Pfad("gruesse.txt"), Pfad("g.txt")});
    EXPECT_EQ(g.aus, "1 Zeichen wurde ersetzt\n");
    EXPECT_EQ(Lesen(ordner / "g.txt"), "\xEF\xBB\xBFGru\xC3\x9F"
                                       "e\r\n");

    Schreiben(ordner / "bild.png", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR");
    const Ergebnis bild =
        Aufruf({"konvertieren", "--tabelle", tab, Pfad("bild.png"), Pfad("b.txt")});
    EXPECT_EQ(bild.status, 1);
    EXPECT_EQ(bild.fehler, "Datei " + Pfad("bild.png") +
                               " kann nicht geöffnet werden. Die Datei ist keine Textdatei, "
                               "sondern ein PNG-Bild.\n");
    EXPECT_FALSE(std::filesystem::exists(ordner / "b.txt"));

    Schreiben(ordner / "mitnul.txt", std::string("Zeile 1\nZei\0le 2\nZeile 3\n", 24));
    for (const std::vector<std::string>& befehl :
         {std::vector<std::string>{"text", Pfad("mitnul.txt")},
          std::vector<std::string>{"konvertieren", "--tabelle", tab, Pfad("mitnul.txt"),
                                   Pfad("n.txt")}}) {
        const Ergebnis n = Aufruf(befehl);
        EXPECT_EQ(n.status, 0);
        EXPECT_NE(n.fehler.find("Warnung: Der Text endet"), std::string::npos) << n.fehler;
        EXPECT_NE(n.fehler.find("an einem NUL-Zeichen; die restlichen 13 Bytes der Datei wurden "
                                "nicht gelesen."),
                  std::string::npos)
            << n.fehler;
    }
    EXPECT_EQ(Lesen(ordner / "n.txt"), "Zeile 1\r\nZei\r\n");
}

// A Word file of a few megabytes whose text would inflate to 2 GB ends with
// the file error, without the memory to hold it. (Its time is measured in
// bench/bench_dokumente.)
TEST_F(Cli, DokumentDasZweiGigabyteWuerde) {
    std::vector<zwtest::ZipEintrag> e = zwtest::WordGeruest();
    e.push_back(zwtest::Aufgeblasen(
        "word/document.xml", std::string(zwtest::kWordKopf) + "<w:p><w:r><w:t>",
        std::string(1 << 20, 'a'), 2048, std::string("</w:t></w:r></w:p>") + zwtest::kWordFuss));
    const std::string bombe = zwtest::ZipBauen(e);
    ASSERT_LT(bombe.size(), std::size_t(8) << 20);
    Schreiben(ordner / "bombe.docx", bombe);
    const Ergebnis r = Aufruf({"text", Pfad("bombe.docx")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.aus, "");
    EXPECT_EQ(r.fehler, "Datei " + Pfad("bombe.docx") +
                            " kann nicht geöffnet werden. Das Dokument ist entpackt größer als "
                            "96 MB und wird nicht gelesen.\n");
#ifndef _WIN32
    // The largest child this test has waited for: the tool.
    rusage verbrauch{};
    getrusage(RUSAGE_CHILDREN, &verbrauch);
    EXPECT_LT(verbrauch.ru_maxrss, 300L * 1024) << "KiB";
#endif
}
