#include "Hilfen.h"
#include "core/Fehler.h"
#include "core/Konvertierung.h"
#include "core/MoFiles.h"
#include "core/Strom.h"

#include <gtest/gtest.h>

#include <random>

using namespace zw;

namespace {

// Bytes that stress the piece boundaries: line ends of every kind, NULs,
// broken UTF-8, UTF-16 halves and surrogates.
std::string ZufallsDatei(std::mt19937& zufall) {
    static const std::vector<std::string> teile = {"a",
                                                   "Zeile",
                                                   "\r\n",
                                                   "\n",
                                                   "\r",
                                                   "\n\r",
                                                   std::string(1, '\0'),
                                                   "\xC3\xA4",
                                                   "\xC3",
                                                   "\xE2\x82\xAC",
                                                   "\xF0\x9F\x98\x80",
                                                   "\xE4",
                                                   "\x80",
                                                   "\x0A\x00",
                                                   std::string("\0\n", 2),
                                                   "\x3D\xD8",
                                                   "\x00\xDC",
                                                   " ",
                                                   "\t"};
    static const std::vector<std::string> anfaenge = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF",
                                                      std::string("\0\0\xFE\xFF", 4)};
    // Valid UTF-8 without a mark is read as UTF-8; some inputs are built
    // from valid pieces only, and some of those break at the very end, after
    // pieces have gone out as UTF-8.
    static const std::vector<std::string> gueltige = {
        "a", "Zeile", "\r\n", "\n", "\r", "\xC3\xA4", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", " "};
    const int art = int(zufall() % 3);
    std::string s = art == 0 ? anfaenge[zufall() % anfaenge.size()] : std::string();
    const int n = int(zufall() % 60);
    for (int i = 0; i < n; ++i)
        s += art == 0 ? teile[zufall() % teile.size()] : gueltige[zufall() % gueltige.size()];
    if (art == 2)
        s += "\xE4";
    // NULs are rare in real files; keep most inputs free of them.
    if (zufall() % 4 != 0)
        std::erase(s, '\0');
    return s;
}

TTabListe ZufallsTabelle(std::mt19937& zufall) {
    static const std::u16string zeichen = u"aeZ\r\n\t\u00E4\u20AC\u2801\U0001F600 ";
    TTabListe t;
    const int n = int(zufall() % 6);
    for (int i = 0; i < n; ++i)
        t.push_back({zeichen[zufall() % zeichen.size()], zeichen[zufall() % zeichen.size()]});
    return t;
}

} // namespace

TEST(DateiKonvertieren, StimmtMitDemGanzenTextUeberein) {
    zwtest::TempOrdner ordner;
    std::mt19937 zufall(1210);
    const std::optional<TTextFileType> typen[] = {std::nullopt, tfText, tfUtf8, tfUnicode};
    // Each round saves twice with fsync; a thousand rounds keep this short.
    for (int runde = 0; runde < 1000; ++runde) {
        const std::string inhalt = ZufallsDatei(zufall);
        const TTabListe tabelle = ZufallsTabelle(zufall);
        const auto zielTyp = typen[zufall() % 4];
        const std::size_t abschnitt = 4 + zufall() % 40;
        zwtest::Schreiben(ordner / "ein", inhalt);

        TTextFileType typ;
        std::u16string text;
        try {
            TextDateiLaden(ordner / "ein", typ, text);
        } catch (const DateiFehler& f) {
            // What the loader rejects, the pieces reject with the same words.
            try {
                DateiKonvertieren(ordner / "ein", ordner / "stuecke", tabelle, zielTyp, abschnitt);
                FAIL() << "Runde " << runde << ": kein Fehler, erwartet " << f.what();
            } catch (const DateiFehler& g) {
                ASSERT_STREQ(g.what(), f.what());
            }
            continue;
        }
        const KonvertierErgebnis k = TextKonvertieren(text, tabelle);
        const SpeicherErgebnis s =
            TextDateiSpeichern(ordner / "ganz", k.Text, zielTyp.value_or(typ));

        const StromErgebnis e =
            DateiKonvertieren(ordner / "ein", ordner / "stuecke", tabelle, zielTyp, abschnitt);
        ASSERT_EQ(zwtest::Lesen(ordner / "stuecke"), zwtest::Lesen(ordner / "ganz"))
            << "Runde " << runde << ": " << testing::PrintToString(inhalt) << " Abschnitt "
            << abschnitt;
        ASSERT_EQ(e.Typ, typ);
        const Dokument d = DokumentLaden(ordner / "ein");
        ASSERT_EQ(e.Nul.has_value(), d.Nul.has_value()) << "Runde " << runde;
        if (d.Nul) {
            ASSERT_EQ(e.Nul->RestBytes, d.Nul->RestBytes) << "Runde " << runde;
        }
        ASSERT_EQ(e.Anzahl, k.Anzahl);
        ASSERT_EQ(e.NichtDarstellbar, s.NichtDarstellbar);
        // The characters lost, one by one with their first line, as the
        // whole text names them.
        ASSERT_EQ(e.Fehlende, s.NichtDarstellbar > 0
                                  ? FehlendeZeichen(text, k.Text, zielTyp.value_or(typ))
                                  : std::vector<FehlendesZeichen>{})
            << "Runde " << runde;
    }
}

// A file that is ASCII up to its first UTF-8 sequence, whose table turns
// ASCII into other characters in pieces already written: those pieces must
// come out as UTF-8 too, not as ANSI behind a UTF-8 mark.
TEST(DateiKonvertieren, TabelleVeraendertAsciiVorDemErstenUtf8Zeichen) {
    zwtest::TempOrdner ordner;
    const std::string inhalt = "Zeile\nZeile\nZeile\n\xC3\xA4 e\n";
    for (const char16_t ersatz : {u'\u20AC', u'\u2801', u'E'}) {
        const TTabListe tabelle = {{u'e', ersatz}};
        zwtest::Schreiben(ordner / "ein", inhalt);
        TTextFileType typ;
        std::u16string text;
        TextDateiLaden(ordner / "ein", typ, text);
        ASSERT_EQ(typ, tfUtf8);
        TextDateiSpeichern(ordner / "ganz", TextKonvertieren(text, tabelle).Text, typ);
        const StromErgebnis e =
            DateiKonvertieren(ordner / "ein", ordner / "stuecke", tabelle, std::nullopt, 6);
        EXPECT_EQ(e.Typ, tfUtf8);
        EXPECT_EQ(e.NichtDarstellbar, 0u) << int(ersatz);
        EXPECT_EQ(zwtest::Lesen(ordner / "stuecke"), zwtest::Lesen(ordner / "ganz")) << int(ersatz);
    }
}

TEST(DateiKonvertieren, FehlerLassenDasZielStehen) {
    zwtest::TempOrdner ordner;
    zwtest::Schreiben(ordner / "ziel", "alt");
    EXPECT_THROW(DateiKonvertieren(ordner / "fehlt", ordner / "ziel", {}, std::nullopt),
                 DateiFehler);
    EXPECT_EQ(zwtest::Lesen(ordner / "ziel"), "alt");
    zwtest::Schreiben(ordner / "ein", "a\n");
    EXPECT_THROW(DateiKonvertieren(ordner / "ein", ordner / "kein" / "ziel", {}, std::nullopt),
                 DateiFehler);
}

// The warning about characters the output type cannot hold names each one
// with its count and the line it first stands in; the piecewise way and the
// whole-text way (RTF input, a table that replaces a line end) agree.
TEST(DateiKonvertieren, NenntJedesFehlendeZeichenMitZeile) {
    zwtest::TempOrdner ordner;
    // UTF-8: "a€\r\nb\r\n€😀a\r\n" with a to ⠁ (U+2801).
    zwtest::Schreiben(ordner / "ein.txt", "\xEF\xBB\xBF"
                                          "a\xE2\x82\xAC\r\nb\r\n\xE2\x82\xAC\xF0\x9F\x98\x80"
                                          "a\r\n");
    const TTabListe tabelle{{u'a', u'\u2801'}};
    for (std::size_t abschnitt : {std::size_t(4), std::size_t(1) << 20}) {
        const StromErgebnis e =
            DateiKonvertieren(ordner / "ein.txt", ordner / "aus.txt", tabelle, tfText, abschnitt);
        // Windows-1252 holds the euro sign, so it is not listed.
        EXPECT_EQ(e.NichtDarstellbar, 4u); // two braille cells, two halves of the pair
        EXPECT_EQ(e.Fehlende, (std::vector<FehlendesZeichen>{{0x2801, 2, 1}, {0x1F600, 1, 3}}))
            << abschnitt;
    }
    const StromErgebnis utf8 =
        DateiKonvertieren(ordner / "ein.txt", ordner / "aus.txt", tabelle, tfUtf8);
    EXPECT_EQ(utf8.NichtDarstellbar, 0u);
    EXPECT_TRUE(utf8.Fehlende.empty());

    // A table that replaces the line end goes the whole-text way; lines are
    // still counted in the input.
    const TTabListe zeilen{{u'\n', u'\u2802'}, {u'b', u'\u2803'}};
    const StromErgebnis ganz =
        DateiKonvertieren(ordner / "ein.txt", ordner / "aus.txt", zeilen, tfText);
    ASSERT_GE(ganz.Fehlende.size(), 3u);
    EXPECT_EQ(ganz.Fehlende[0], (FehlendesZeichen{0x2802, 3, 1}));
    EXPECT_EQ(ganz.Fehlende[1], (FehlendesZeichen{0x2803, 1, 2}));
}

TEST(FehlendeZeichen, EinsamesErsatzzeichenInUtf8) {
    const std::u16string text = u"x\r\n\xD800y";
    EXPECT_EQ(FehlendeZeichen(text, text, tfUtf8), (std::vector<FehlendesZeichen>{{0xD800, 1, 2}}));
    EXPECT_TRUE(FehlendeZeichen(text, text, tfUnicode).empty());
    EXPECT_TRUE(FehlendeZeichen(text, text, tfRtf).empty());
}
