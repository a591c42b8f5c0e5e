#include "Hilfen.h"
#include "core/Fehler.h"
#include "core/Kodierung.h"
#include "core/MoFiles.h"
#include "core/Tabelle.h"

#include <gtest/gtest.h>

#include <optional>

using namespace zw;

TEST(ZahlLesen, Woerter) {
    struct Fall {
        std::u16string wort;
        std::int32_t wert;
    } faelle[] = {
        {u"0", 0},
        {u"097", 97},
        {u"+65", 65},
        {u"-1", -1},
        {u"-0", 0},
        {u"$41", 65},
        {u"x41", 65},
        {u"X41", 65},
        {u"0x41", 65},
        {u"0X4a", 74},
        {u"$fF", 255},
        {u"-$41", -65},
        {u"2147483647", 2147483647},
        {u"2147483648", -1},
        {u"99999999999999999999999", -1},
        {u"$7FFFFFFF", 2147483647},
        {u"$80000000", -1},
        {u"-2147483648", INT32_MIN},
        {u"", -1},
        {u"+", -1},
        {u"-", -1},
        {u"$", -1},
        {u"0x", -1},
        {u"x", -1},
        {u"00x41", -1},
        {u"1x", -1},
        {u"65;", -1},
        {u"6 5", -1},
        {u"66\tKommentar", -1},
        {u"$4G", -1},
        {u"\uFF11", -1}, // a full-width digit is no digit
        {u"++1", -1},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(ZahlLesen(f.wort), f.wert) << Utf16ZuUtf8(f.wort);
}

TEST(TabTextAuswerten, ZeilenTabelle) {
    struct Fall {
        const char16_t* zeile;
        std::vector<TabEintrag> eintraege;
    } faelle[] = {
        {u"097 065 a wird A", {{u'a', u'A'}}},
        {u"   097     065   Kommentar", {{u'a', u'A'}}},
        {u"65\t66", {}},
        {u"65 66\tKommentar", {}},
        {u"; 097 065", {}},
        {u"65", {}},
        {u"65 65", {}},
        {u"65 -1", {}},
        {u"-1 65", {}},
        {u"65 1x", {}},
        {u"+65 66", {{u'A', u'B'}}},
        {u"0 32", {{char16_t(0), u' '}}},
        {u"65601 66", {{u'A', u'B'}}},
        {u"65 65601", {{u'A', u'A'}}},
        {u"2147483647 65", {{char16_t(0xFFFF), u'A'}}},
        {u"2147483648 65", {}},
        {u"$E4 x3E ä", {{u'ä', u'>'}}},
        {u"", {}},
    };
    for (const auto& f : faelle) {
        const std::u16string text = std::u16string(f.zeile) + u"\r\n";
        EXPECT_EQ(TabTextAuswerten(text), f.eintraege) << Utf16ZuUtf8(f.zeile);
    }
}

TEST(TabTextAuswerten, ReihenfolgeDerZeilenBleibt) {
    const TTabListe liste = TabTextAuswerten(u"65 66\r\n; Kommentar\r\n65 67\r\n\r\n97 98\r\n");
    EXPECT_EQ(liste, (TTabListe{{u'A', u'B'}, {u'A', u'C'}, {u'a', u'b'}}));
}

TEST(TabTextAuswerten, LeereTexteUndNul) {
    EXPECT_TRUE(TabTextAuswerten(u"").empty());
    EXPECT_TRUE(TabTextAuswerten(u"; nur\r\n; Kommentare\r\n").empty());
    // What follows a NUL is not read.
    EXPECT_EQ(TabTextAuswerten(std::u16string(u"65 66\r\n\0"
                                              u"67 68\r\n",
                                              15)),
              (TTabListe{{u'A', u'B'}}));
    // A bare LF followed by CR is two line ends, each line read by itself.
    EXPECT_EQ(TabTextAuswerten(u"65 66\n\r67 68"), (TTabListe{{u'A', u'B'}, {u'C', u'D'}}));
}

TEST(TabDateiAuswerten, JederDateitypGibtDieselbenEintraege) {
    zwtest::TempOrdner ordner;
    const std::u16string tabelle = u"; Umlaute\r\n228 062 ä\r\n246 091 ö\r\n";
    const TTabListe erwartet{{u'ä', u'>'}, {u'ö', u'['}};
    for (TTextFileType typ : {tfText, tfUtf8, tfUnicode}) {
        const auto datei = ordner / ("t" + std::to_string(int(typ)) + ".tab");
        TextDateiSpeichern(datei, tabelle, typ);
        TTabListe liste;
        TabDateiAuswerten(datei, liste);
        EXPECT_EQ(liste, erwartet) << int(typ);
    }
}

TEST(TabDateiAuswerten, UnlesbareDateiBehaeltDieAlteListe) {
    zwtest::TempOrdner ordner;
    TTabListe liste{{u'x', u'y'}};
    EXPECT_THROW(TabDateiAuswerten(ordner / "fehlt.tab", liste), DateiFehler);
    EXPECT_EQ(liste, (TTabListe{{u'x', u'y'}}));
    zwtest::Schreiben(ordner / "leer.tab", "");
    TabDateiAuswerten(ordner / "leer.tab", liste);
    EXPECT_TRUE(liste.empty());
}

TEST(TabDateiAuswerten, MitgelieferteTabelle) {
    TTabListe liste;
    TabDateiAuswerten(std::filesystem::path(ZW_DATEN) / "Eng-Ger.tab", liste);
    const TTabListe erwartet{{u'ä', u'>'},  {u'Ä', u'>'},  {u'ö', u'['}, {u'Ö', u'['},
                             {u'ü', u'\\'}, {u'Ü', u'\\'}, {u'ß', u'!'}, {u'\u1E9E', u'!'}};
    EXPECT_EQ(liste, erwartet);
}

// Each kind of line that is no entry, with the reason the check gives; empty
// and comment lines are not listed.
TEST(TabTextPruefen, JedeArtVonZeile) {
    struct Fall {
        const char16_t* zeile;
        std::optional<TabBefundArt> art;
        const char* textTeil = "";
    } faelle[] = {
        {u"097 065 a wird A", std::nullopt},
        {u"   65    66", std::nullopt},
        {u"65 65601", std::nullopt}, // different numbers, the same character
        {u"", std::nullopt},
        {u"   ", std::nullopt},
        {u"\t", std::nullopt},
        {u"; 097 065", std::nullopt},
        {u"   ;Kommentar", std::nullopt},
        {u"65\t66", TabBefundArt::Tabulator, "Tabulator zwischen den Zahlen"},
        {u"65\t66 Kommentar", TabBefundArt::Tabulator, "zwischen den Zahlen"},
        {u"\t65 66", TabBefundArt::Tabulator, "vor der ersten Zahl"},
        {u"65 66\tKommentar", TabBefundArt::Tabulator, "nach der zweiten Zahl"},
        {u"65 \t66", TabBefundArt::Tabulator, "vor der zweiten Zahl"},
        {u"65", TabBefundArt::EineZahl, "Nur eine Zahl"},
        {u"  65   ", TabBefundArt::EineZahl, "Nur eine Zahl"},
        {u"65 65", TabBefundArt::GleicheZahl, "Zweimal dieselbe Zahl (65)"},
        {u"$41 65 hex", TabBefundArt::GleicheZahl, "(65)"},
        {u"-1 65", TabBefundArt::Negativ, "Die erste Zahl ist negativ (-1)"},
        {u"65 -2", TabBefundArt::Negativ, "Die zweite Zahl ist negativ (-2)"},
        {u"2147483648 65", TabBefundArt::ZuGross,
         "Die erste Zahl „2147483648“ liegt außerhalb des 32-Bit-Bereichs"},
        {u"65 99999999999", TabBefundArt::ZuGross, "zweite Zahl „99999999999“"},
        {u"Umlaute", TabBefundArt::KeineZahl, "Keine Zahl am Zeilenanfang: „Umlaute“"},
        {u"65 1x", TabBefundArt::KeineZahl, "Die zweite Angabe „1x“ ist keine Zahl"},
        {u"a\tb", TabBefundArt::KeineZahl, "„a<Tab>b“"},
    };
    for (const auto& f : faelle) {
        const std::u16string text = std::u16string(u"; Kopf\r\n") + f.zeile + u"\r\n";
        const std::vector<TabBefund> befunde = TabTextPruefen(text);
        const std::string name = Utf16ZuUtf8(f.zeile);
        if (!f.art) {
            EXPECT_TRUE(befunde.empty()) << name << ": " << BefundZeile(befunde[0]);
            continue;
        }
        ASSERT_EQ(befunde.size(), 1u) << name;
        EXPECT_EQ(befunde[0].Zeile, 2u) << name;
        EXPECT_EQ(befunde[0].Art, *f.art) << name << ": " << befunde[0].Text;
        EXPECT_NE(befunde[0].Text.find(f.textTeil), std::string::npos)
            << name << ": " << befunde[0].Text;
        // Whatever the check lists, the parser leaves out, and the reverse.
        EXPECT_TRUE(TabTextAuswerten(text).empty()) << name;
    }
}

TEST(TabTextPruefen, SpaetereEintraegeFuerDasselbeZeichenWirkenNie) {
    const std::vector<TabBefund> befunde =
        TabTextPruefen(u"65 66\r\n97 98\r\n\r\n65 67\n65601 68\r32 95\r\n32 45\r\n");
    ASSERT_EQ(befunde.size(), 3u);
    EXPECT_EQ(BefundZeile(befunde[0]), "Zeile 4: Wirkt nie: Zeile 1 ersetzt schon „A“ (65).");
    EXPECT_EQ(befunde[0].FruehereZeile, 1u);
    // 65601 is A as well: only its low 16 bits count.
    EXPECT_EQ(befunde[1].Zeile, 5u);
    EXPECT_EQ(befunde[1].FruehereZeile, 1u);
    EXPECT_EQ(BefundZeile(befunde[2]),
              "Zeile 7: Wirkt nie: Zeile 6 ersetzt schon das Leerzeichen (32).");
}

TEST(TabTextPruefen, ZeilenZaehlenWieDerLader) {
    // Lone CR and LF end lines; a NUL ends the text.
    const std::u16string text(u"65\r66 66\n\r67\r\n\0"
                              u"68",
                              17);
    const std::vector<TabBefund> befunde = TabTextPruefen(text);
    ASSERT_EQ(befunde.size(), 3u);
    EXPECT_EQ(befunde[0].Zeile, 1u);
    EXPECT_EQ(befunde[1].Zeile, 2u);
    EXPECT_EQ(befunde[2].Zeile, 4u);
    EXPECT_TRUE(TabTextPruefen(u"").empty());
}

TEST(TabDateiPruefen, MitgelieferteTabelleIstSauber) {
    EXPECT_TRUE(TabDateiPruefen(std::filesystem::path(ZW_DATEN) / "Eng-Ger.tab").empty());
    zwtest::TempOrdner ordner;
    EXPECT_THROW(TabDateiPruefen(ordner / "fehlt.tab"), DateiFehler);
}
