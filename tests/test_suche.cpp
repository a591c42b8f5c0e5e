#include "core/Kodierung.h"
#include "core/Suche.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace zw;

TEST(SuchStringUmwandeln, Codes) {
    struct Fall {
        std::u16string getippt, gesucht;
    } faelle[] = {
        {u"^65", u"A"},
        {u"^a", u"\r"},
        {u"^A", u"\r"},
        {u"^t", u"\t"},
        {u"^T", u"\t"},
        {u"^b", u"\f"},
        {u"^B", u"\f"},
        {u"^^", u"^"},
        {u"^^a", u"^a"},
        {u"^^^t", u"^\t"},
        {u"^0", u"^0"},
        {u"^065", u"^065"},
        {u"^x", u"^x"},
        {u"abc^", u"abc^"},
        {u"^", u"^"},
        {u"^256", std::u16string{char16_t(25), u'6'}},
        {u"^123", std::u16string{char16_t(123)}},
        {u"^9465", u"A"}, // the caret from ^94 takes part in ^65
        {u"^1", std::u16string{char16_t(1)}},
        {u"^255", std::u16string{char16_t(255)}},
        {u"^ 65", u"^ 65"},
        {u"Zeile^aZeile", u"Zeile\rZeile"},
        {u"ohne Codes", u"ohne Codes"},
        {u"^^^^", u"^^"},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(SuchStringUmwandeln(f.getippt), f.gesucht) << Utf16ZuUtf8(f.getippt);
}

TEST(TextUmkehren, Einheiten) {
    EXPECT_EQ(TextUmkehren(u""), u"");
    EXPECT_EQ(TextUmkehren(u"abc\r"), u"\rcba");
}

namespace {
const Zeichenklassen kAscii;

SuchTreffer Suche(std::u16string_view text, std::u16string_view muster, std::size_t s,
                  std::size_t n, Richtung r, SuchOptionen o = {}) {
    return SucheAusfuehren(text, muster, s, n, r, o, kAscii);
}
} // namespace

TEST(SucheAusfuehren, AbwaertsBisZumEndeUndMeldung) {
    const std::u16string text = u"ab\rab\rab";
    std::size_t s = 0, n = 0;
    std::vector<std::ptrdiff_t> treffer;
    for (;;) {
        const SuchTreffer t = Suche(text, u"ab", s, n, Richtung::Abwaerts);
        if (t.Position < 0) {
            EXPECT_FALSE(t.GanzerText); // "Keinen weiteren Suchstring gefunden!"
            break;
        }
        treffer.push_back(t.Position);
        s = std::size_t(t.Position);
        n = t.Laenge;
    }
    EXPECT_EQ(treffer, (std::vector<std::ptrdiff_t>{0, 3, 6}));
}

TEST(SucheAusfuehren, AufwaertsDieselbenTrefferRueckwaerts) {
    const std::u16string text = u"ab\rab\rab";
    std::size_t s = text.size(), n = 0;
    std::vector<std::ptrdiff_t> treffer;
    for (;;) {
        const SuchTreffer t = Suche(text, u"ab", s, n, Richtung::Aufwaerts);
        if (t.Position < 0)
            break;
        treffer.push_back(t.Position);
        s = std::size_t(t.Position);
        n = t.Laenge;
    }
    EXPECT_EQ(treffer, (std::vector<std::ptrdiff_t>{6, 3, 0}));
}

TEST(SucheAusfuehren, TrefferAnPositionNullUndGanzerText) {
    const std::u16string text = u"Xyz";
    SuchTreffer t = Suche(text, u"X", 0, 0, Richtung::Abwaerts);
    EXPECT_EQ(t.Position, 0);
    // The selection now starts at 0: the next run covers the whole text.
    t = Suche(text, u"X", 0, 1, Richtung::Abwaerts);
    EXPECT_EQ(t.Position, -1);
    EXPECT_TRUE(t.GanzerText);
    EXPECT_STREQ(NichtGefundenMeldung(t.GanzerText), "Der Suchstring wurde nicht gefunden!");
    // Upward from the end, nothing there: the whole text was searched as well.
    t = Suche(text, u"Q", 3, 0, Richtung::Aufwaerts);
    EXPECT_TRUE(t.GanzerText);
    // Whole text selected: a downward search starts at its end.
    t = Suche(text, u"X", 0, 3, Richtung::Abwaerts);
    EXPECT_EQ(t.Position, -1);
    EXPECT_TRUE(t.GanzerText);
    EXPECT_STREQ(NichtGefundenMeldung(false), "Keinen weiteren Suchstring gefunden!");
}

TEST(SucheAusfuehren, GanzesWortUndGrossKleinInBeideRichtungen) {
    const std::u16string text = u"Haus Hausboot haus";
    const SuchOptionen wort{false, true}, fall{true, false};
    for (Richtung r : {Richtung::Abwaerts, Richtung::Aufwaerts}) {
        const std::size_t s = r == Richtung::Abwaerts ? 0 : text.size();
        EXPECT_EQ(Suche(u"Hausboot", u"haus", s, 0, r, wort).Position, -1);
        EXPECT_EQ(Suche(u"Hausboot", u"boot", s, 0, r, wort).Position, -1);
        EXPECT_EQ(Suche(text, u"HAUS", s, 0, r, fall).Position, -1);
    }
    EXPECT_EQ(Suche(text, u"haus", 1, 0, Richtung::Abwaerts, wort).Position, 14);
    EXPECT_EQ(Suche(text, u"haus", 14, 0, Richtung::Aufwaerts, wort).Position, 0);
    EXPECT_EQ(Suche(text, u"haus", 1, 0, Richtung::Abwaerts, fall).Position, 14);
    EXPECT_EQ(Suche(text, u"Haus", 14, 0, Richtung::Aufwaerts, fall).Position, 5);
    // A line end is a word boundary.
    EXPECT_EQ(Suche(u"ab\rHaus\r", u"haus", 0, 0, Richtung::Abwaerts, wort).Position, 3);
}

TEST(SucheAusfuehren, BeideRichtungenFindenDieselbenVorkommen) {
    std::mt19937 zufall(4711);
    for (int runde = 0; runde < 400; ++runde) {
        std::u16string text;
        const int laenge = 1 + int(zufall() % 300);
        for (int i = 0; i < laenge; ++i)
            text.push_back(u"abA \r."[zufall() % 6]);
        std::u16string muster;
        const int m = 1 + int(zufall() % 3);
        for (int i = 0; i < m; ++i)
            muster.push_back(u"abA \r"[zufall() % 5]);
        const SuchOptionen o{bool(zufall() % 2), bool(zufall() % 2)};

        std::vector<std::ptrdiff_t> ab, auf;
        for (std::size_t s = 0, n = 0;;) {
            const SuchTreffer t = Suche(text, muster, s, n, Richtung::Abwaerts, o);
            if (t.Position < 0)
                break;
            ab.push_back(t.Position);
            s = std::size_t(t.Position);
            n = t.Laenge;
        }
        for (std::size_t s = text.size(), n = 0;;) {
            const SuchTreffer t = Suche(text, muster, s, n, Richtung::Aufwaerts, o);
            if (t.Position < 0)
                break;
            auf.push_back(t.Position);
            s = std::size_t(t.Position);
            n = t.Laenge;
        }
        // Every occurrence, found the slow way.
        std::vector<std::ptrdiff_t> alle;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (VorwaertsFinden(text, muster, i, o, kAscii) == std::ptrdiff_t(i))
                alle.push_back(std::ptrdiff_t(i));
        // A pattern that cannot overlap itself has occurrences that cannot
        // overlap either: then each direction must visit every one of them.
        std::u16string gefaltet = muster;
        if (!o.GrossKlein)
            for (char16_t& c : gefaltet)
                c = kAscii.Falten(c);
        bool ueberlappend = false;
        for (std::size_t i = 1; i < gefaltet.size(); ++i)
            ueberlappend |= gefaltet.substr(i) == gefaltet.substr(0, gefaltet.size() - i);
        std::reverse(auf.begin(), auf.end());
        for (auto p : ab)
            ASSERT_TRUE(std::binary_search(alle.begin(), alle.end(), p));
        for (auto p : auf)
            ASSERT_TRUE(std::binary_search(alle.begin(), alle.end(), p));
        if (ueberlappend)
            continue;
        ASSERT_EQ(ab, alle) << Utf16ZuUtf8(text) << " / " << Utf16ZuUtf8(muster);
        ASSERT_EQ(ab, auf) << Utf16ZuUtf8(text) << " / " << Utf16ZuUtf8(muster);
    }
}
