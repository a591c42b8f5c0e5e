#include "core/Konvertierung.h"

#include <gtest/gtest.h>

#include <random>

using namespace zw;

namespace {
// The conversion as a plain pass over the list, first match wins: the
// reference the lookup must agree with.
KonvertierErgebnis Linear(std::u16string text, const TTabListe& tabelle) {
    std::int64_t anzahl = 0;
    for (char16_t& c : text) {
        for (const TabEintrag& e : tabelle) {
            if (e.Suchzeichen == c) {
                c = e.Ersatzzeichen;
                ++anzahl;
                break;
            }
        }
    }
    return {std::move(text), anzahl};
}
} // namespace

TEST(ZahlGruppieren, Punkte) {
    struct Fall {
        std::int64_t zahl;
        const char* text;
    } faelle[] = {{0, "0"},
                  {7, "7"},
                  {999, "999"},
                  {1000, "1.000"},
                  {12345, "12.345"},
                  {123456, "123.456"},
                  {1234567, "1.234.567"},
                  {2147483647, "2.147.483.647"},
                  {10000000000, "10.000.000.000"}};
    for (const auto& f : faelle)
        EXPECT_EQ(ZahlGruppieren(f.zahl), f.text);
}

TEST(KonvertierungsMeldung, EinzahlUndMehrzahl) {
    EXPECT_EQ(KonvertierungsMeldung(0), "0 Zeichen wurden ersetzt");
    EXPECT_EQ(KonvertierungsMeldung(1), "1 Zeichen wurde ersetzt");
    EXPECT_EQ(KonvertierungsMeldung(2), "2 Zeichen wurden ersetzt");
    EXPECT_EQ(KonvertierungsMeldung(999), "999 Zeichen wurden ersetzt");
    EXPECT_EQ(KonvertierungsMeldung(1000), "1.000 Zeichen wurden ersetzt");
}

TEST(TextKonvertieren, Regeln) {
    struct Fall {
        const char* name;
        TTabListe tabelle;
        std::u16string text, ergebnis;
        std::int64_t anzahl;
    } faelle[] = {
        {"leer", {{u'a', u'b'}}, u"", u"", 0},
        {"keineVerkettung", {{u'a', u'b'}, {u'b', u'c'}}, u"ab", u"bc", 2},
        {"keineVerkettungUmgekehrt", {{u'b', u'c'}, {u'a', u'b'}}, u"ab", u"bc", 2},
        {"ersterGewinnt", {{u'A', u'B'}, {u'A', u'C'}}, u"AA", u"BB", 2},
        {"gleichesZeichenZaehlt", {{u'A', u'A'}}, u"AxA", u"AxA", 2},
        {"zeilenenden", {{u'\r', u'#'}}, u"a\r\nb\r\n", u"a#\nb#\n", 2},
        {"grossKlein", {{u'a', u'x'}}, u"aA", u"xA", 1},
        {"umlaute", {{u'ä', u'>'}, {u'ß', u'!'}}, u"Straße ärgern", u"Stra!e >rgern", 2},
        {"leereTabelle", {}, u"abc", u"abc", 0},
        // Outside the basic plane each of the two units is looked up by itself.
        {"surrogate",
         {{char16_t(0xD83D), u'?'}},
         u"\U0001F600",
         std::u16string{u'?', char16_t(0xDE00)},
         1},
    };
    for (const auto& f : faelle) {
        const KonvertierErgebnis e = TextKonvertieren(f.text, f.tabelle);
        EXPECT_EQ(e.Text, f.ergebnis) << f.name;
        EXPECT_EQ(e.Anzahl, f.anzahl) << f.name;
    }
}

TEST(TextKonvertieren, EingabeBleibtUnveraendert) {
    const std::u16string text = u"aaa";
    const auto e = TextKonvertieren(text, {{u'a', u'b'}});
    EXPECT_EQ(text, u"aaa");
    EXPECT_EQ(e.Text, u"bbb");
}

TEST(TextKonvertieren, StimmtMitDerLinearenSucheUeberein) {
    std::mt19937 zufall(42);
    for (int runde = 0; runde < 200; ++runde) {
        // Small alphabets make repeated search characters and chains likely;
        // the full range exercises the whole lookup.
        const unsigned alphabet = runde % 2 ? 8 : 65536;
        TTabListe tabelle;
        const int eintraege = int(zufall() % 40);
        for (int i = 0; i < eintraege; ++i)
            tabelle.push_back({char16_t(zufall() % alphabet), char16_t(zufall() % alphabet)});
        std::u16string text;
        const int laenge = int(zufall() % 500);
        for (int i = 0; i < laenge; ++i)
            text.push_back(char16_t(zufall() % alphabet));
        const auto erwartet = Linear(text, tabelle);
        const auto ergebnis = TextKonvertieren(text, tabelle);
        ASSERT_EQ(ergebnis.Text, erwartet.Text);
        ASSERT_EQ(ergebnis.Anzahl, erwartet.Anzahl);
    }
}
