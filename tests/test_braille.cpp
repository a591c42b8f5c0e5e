// The embosser codes against liblouis, the braille layout, the check before
// embossing, and the command-line tool's embosser commands as a real process
// against a network embosser on 127.0.0.1.
#include "core/BrailleCodes.h"
#include "core/BrailleSatz.h"
#include "core/Drucktext.h"

#include "CliAufruf.h"
#include "DruckHilfen.h"
#include "Hilfen.h"

#include <gtest/gtest.h>

using namespace zw;
using namespace std::chrono_literals;

namespace {

// A code whose cell is the byte itself, so a line reads back as its bytes;
// the bytes given have no cell.
ZellenTabelle Spiegel(std::string_view ohne = "") {
    ZellenTabelle t;
    for (int b = 0; b < 256; ++b) {
        t.Zelle[std::size_t(b)] = std::uint8_t(b);
        t.Vorhanden[std::size_t(b)] = ohne.find(char(b)) == std::string_view::npos;
    }
    return t;
}

std::string Bytes(const std::u16string& zeile) {
    std::string s;
    for (char16_t c : zeile)
        s.push_back(char(c - 0x2800));
    return s;
}

std::vector<std::vector<std::string>> Seiten(const BrailleSatz& satz) {
    std::vector<std::vector<std::string>> aus;
    for (const auto& s : satz.Seiten) {
        aus.emplace_back();
        for (const auto& z : s.Zeilen)
            aus.back().push_back(Bytes(z));
    }
    return aus;
}

} // namespace

// ---------------------------------------------------------------------------
// The codes.

TEST(BrailleCodes, JedesByteJedesCodesIstDieZelleAusLiblouis) {
    for (const BrailleCode& code : BrailleCodes()) {
        SCOPED_TRACE(std::string(code.Name));
        const ZellenTabelle& t = ZellenLaden(code);
        for (int b = 0; b < 256; ++b) {
            const int louis = LouisZelle(code.Tabelle, char32_t(b));
            ASSERT_GE(louis, 0);
            // 6 dots: the 8-dot cell without dots 7 and 8.
            EXPECT_EQ(t.Zelle[std::size_t(b)], code.SechsPunkte ? (louis & 0x3F) : louis) << b;
        }
    }
}

TEST(BrailleCodes, UsComputerbrailleWieBeschrieben) {
    const ZellenTabelle& us6 = ZellenLaden(*BrailleCodeFinden("us6"));
    const ZellenTabelle& us8 = ZellenLaden(*BrailleCodeFinden("US-Computerbraille, 8 Punkte"));
    auto punkte = [](std::string_view p) {
        int z = 0;
        for (char c : p)
            z |= 1 << (c - '1');
        return z;
    };
    struct Fall {
        char zeichen;
        const char* punkte8;
    };
    const Fall faelle[] = {{'a', "1"},      {'A', "17"},     {'>', "345"}, {'[', "2467"},
                           {'\\', "12567"}, {'!', "2346"},   {'0', "356"}, {'z', "1356"},
                           {'@', "47"},     {'=', "123456"}, {' ', ""}};
    for (const auto& f : faelle) {
        const auto b = std::size_t(static_cast<unsigned char>(f.zeichen));
        EXPECT_EQ(us8.Zelle[b], punkte(f.punkte8)) << f.zeichen;
        EXPECT_EQ(us6.Zelle[b], punkte(f.punkte8) & 0x3F) << f.zeichen;
    }
    // In 6 dots a and A are one cell; only printable ASCII has a cell.
    EXPECT_EQ(us6.Zelle['a'], us6.Zelle['A']);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(us6.Vorhanden[std::size_t(b)], b >= 32 && b <= 126) << b;
    // 8 dots: the umlauts have cells of their own.
    EXPECT_TRUE(us8.Vorhanden[0xE4]);
    EXPECT_EQ(BrailleCodeFinden("gibt es nicht"), nullptr);
    EXPECT_EQ(BrailleCodeFinden("DE8"), &BrailleCodes()[2]);
}

// ---------------------------------------------------------------------------
// Layout.

TEST(BrailleSetzen, ZeilenUndSeitenWieDerDruckerSieSetzt) {
    struct Fall {
        const char* was;
        std::string bytes;
        int zeichen, zeilen;
        std::vector<std::vector<std::string>> seiten;
    };
    const Fall faelle[] = {
        {"eine Zeile", "abc\f", 5, 2, {{"abc"}}},
        {"Umbruch nach 5 Zellen", "abcdefgh\f", 5, 9, {{"abcde", "fgh"}}},
        {"genau volle Zeile, dann CR LF", "abcde\r\nf\f", 5, 9, {{"abcde", "f"}}},
        {"CR, LF und CR LF", "a\rb\nc\r\nd\f", 9, 9, {{"a", "b", "c", "d"}}},
        {"Leerzeilen zählen", "a\r\n\r\nb\f", 9, 9, {{"a", "", "b"}}},
        {"Seite voll", "a\r\nb\r\nc\f", 9, 2, {{"a", "b"}, {"c"}}},
        {"Seitenvorschub", "a\fb\f", 9, 9, {{"a"}, {"b"}}},
        {"zwei Vorschübe, leere Seite", "a\f\fb\f", 9, 9, {{"a"}, {}, {"b"}}},
        {"Vorschub auf voller Seite", "a\r\nb\f", 9, 2, {{"a", "b"}}},
        {"Umbruch über die Seite", "abcdefghij\f", 3, 2, {{"abc", "def"}, {"ghi", "j"}}},
        {"leer", "", 9, 9, {}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.was);
        const BrailleSatz satz = BrailleSetzen(f.bytes, Spiegel(), f.zeichen, f.zeilen);
        EXPECT_EQ(Seiten(satz), f.seiten);
        // The pages cover the bytes without gap or overlap.
        std::size_t pos = 0;
        for (const auto& s : satz.Seiten) {
            EXPECT_EQ(s.ByteAnfang, pos);
            pos = s.ByteEnde;
        }
        EXPECT_EQ(pos, f.bytes.size());
        EXPECT_EQ(SeitenGrenzen(f.bytes, f.zeichen, f.zeilen).size(), satz.Seiten.size());
    }
}

TEST(BrailleSetzen, BytesOhneZelleWerdenMarkiertUndGezaehlt) {
    const BrailleSatz satz = BrailleSetzen("ab\xe4\r\n\xe4x\f", Spiegel("\xe4"), 2, 9);
    ASSERT_EQ(satz.Seiten.size(), 1u);
    const auto& m = satz.Seiten[0].Marken;
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].Zeile, 1u); // wrapped onto the second line
    EXPECT_EQ(m[0].Spalte, 0u);
    EXPECT_EQ(m[1].Zeile, 2u);
    EXPECT_EQ(m[1].Byte, 0xE4);
    EXPECT_EQ(satz.OhneZelle[0xE4], 2u);
    EXPECT_EQ(satz.OhneZelle['a'], 0u);
}

TEST(SeitenBytes, BereichAlsEigeneKopie) {
    const std::string bytes = "aaaaabbbbbcc\r\ndd\fee\r\n\f";
    const auto seiten = SeitenGrenzen(bytes, 5, 2);
    ASSERT_EQ(seiten.size(), 3u);
    // All pages: the copy as it is.
    EXPECT_EQ(SeitenBytes(bytes, seiten, 1, 3), "aaaaabbbbbcc\r\ndd\fee\f");
    EXPECT_EQ(SeitenBytes(bytes, seiten, 1, 1), "aaaaabbbbb\f");
    EXPECT_EQ(SeitenBytes(bytes, seiten, 2, 2), "cc\r\ndd\f");
    EXPECT_EQ(SeitenBytes(bytes, seiten, 2, 3), "cc\r\ndd\fee\f");
    EXPECT_EQ(SeitenBytes(bytes, seiten, 3, 9), "ee\f");
    const std::string text = DruckBytes(DruckTextBilden(u"Haus\r\nam See"));
    EXPECT_EQ(SeitenBytes(text, SeitenGrenzen(text, 40, 25), 1, 1), text);
}

// ---------------------------------------------------------------------------
// The check.

TEST(DruckPruefen, ZeichenMitAnzahlUndErsterStelle) {
    const ZellenTabelle& us6 = ZellenLaden(*BrailleCodeFinden("us6"));
    const std::u16string text = u"Bär\r\n\u201egrün\u201c\tä\r\n\U0001F600\f";
    const auto liste = DruckPruefen(text, us6);
    struct Erwartet {
        char32_t zeichen;
        std::size_t anzahl, zeile, spalte;
    };
    const Erwartet erwartet[] = {{U'ä', 2, 1, 2},   {0x201E, 1, 2, 1}, {U'ü', 1, 2, 4},
                                 {0x201C, 1, 2, 6}, {U'\t', 1, 2, 7},  {0x1F600, 1, 3, 1}};
    ASSERT_EQ(liste.size(), std::size(erwartet));
    for (std::size_t i = 0; i < liste.size(); ++i) {
        EXPECT_EQ(liste[i].Zeichen, erwartet[i].zeichen) << i;
        EXPECT_EQ(liste[i].Anzahl, erwartet[i].anzahl) << i;
        EXPECT_EQ(liste[i].Zeile, erwartet[i].zeile) << i;
        EXPECT_EQ(liste[i].Spalte, erwartet[i].spalte) << i;
    }
    EXPECT_EQ(PruefMeldung(liste),
              "Achtung: 7 Zeichen kann der Drucker nicht darstellen: ä (2), \u201e (1), ü (1), "
              "\u201c (1), Zeichen 9 (1), \U0001F600 (1)");
    EXPECT_TRUE(DruckPruefen(u"Haus am See\r\n\f", us6).empty());
    EXPECT_EQ(PruefMeldung({}), "");
}

// ---------------------------------------------------------------------------
// The command-line tool.

namespace {

using Lauf = zwtest::CliErgebnis;

class BrailleCli : public testing::Test {
protected:
    Lauf Aufruf(const std::vector<std::string>& argumente) {
        return zwtest::CliAufruf(ZW_CLI, ordner.Pfad(), argumente);
    }
    std::string Datei(const std::string& inhalt) {
        zwtest::Schreiben(ordner / "text.txt", inhalt);
        return (ordner / "text.txt").string();
    }
    zwtest::TempOrdner ordner;
};

} // namespace

TEST_F(BrailleCli, VorschauZeigtZellenZeilenUndSeiten) {
    const std::string datei = Datei("aA\xe4\r\nbbbbbbb\fc\r\n\r\n");
    const Lauf sechs = Aufruf({"vorschau", "--zeichen", "5", datei});
    EXPECT_EQ(sechs.status, 0) << sechs.fehler;
    // One line per braille line, a form feed line between pages; the umlaut
    // has no cell in 6 dots and is reported.
    EXPECT_EQ(sechs.aus, "\u2801\u2801\u282f\n\u2803\u2803\u2803\u2803\u2803\n\u2803\u2803\n\f\n"
                         "\u2809\n");
    EXPECT_NE(sechs.fehler.find("Byte 228"), std::string::npos) << sechs.fehler;
    const Lauf acht = Aufruf({"vorschau", "--code", "us8", "--zeilen", "1", datei});
    EXPECT_EQ(acht.status, 0);
    EXPECT_EQ(acht.aus, "\u2801\u2841\u28af\n\f\n\u2803\u2803\u2803\u2803\u2803\u2803\u2803\n\f\n"
                        "\u2809\n");
    EXPECT_TRUE(acht.fehler.empty()) << acht.fehler;
    for (const auto& falsch :
         std::vector<std::vector<std::string>>{{"vorschau"},
                                               {"vorschau", "--code", "xx", datei},
                                               {"vorschau", "--zeichen", "0", datei},
                                               {"vorschau", "--zeilen", "zwei", datei}}) {
        EXPECT_EQ(Aufruf(falsch).status, 2) << testing::PrintToString(falsch);
    }
    const Lauf hilfe = Aufruf({"--help"});
    for (const char* wort : {"vorschau", "pruefen", "drucken", "us6", "us8", "de8"})
        EXPECT_NE(hilfe.aus.find(wort), std::string::npos) << wort;
}

TEST_F(BrailleCli, PruefenNenntZeichenUndGibtFuenf) {
    const Lauf fehlt = Aufruf({"pruefen", Datei("B\xe4r\r\n\xe4\xe4 \x80\r\n")});
    EXPECT_EQ(fehlt.status, 5);
    EXPECT_EQ(fehlt.aus, "228 3 1 2\n8364 1 2 4\n");
    EXPECT_EQ(Aufruf({"pruefen", "--code", "us8", Datei("B\xe4r")}).status, 0);
    const Lauf gut = Aufruf({"pruefen", Datei("Haus am See\r\n")});
    EXPECT_EQ(gut.status, 0);
    EXPECT_TRUE(gut.aus.empty());
    EXPECT_EQ(Aufruf({"pruefen", (ordner / "fehlt.txt").string()}).status, 1);
}

TEST_F(BrailleCli, DruckenSchicktKopienUndSeitenbereich) {
    zwtest::TcpDrucker drucker;
    const std::string datei = Datei("aaaaabbbbbcc\r\ndd\fee\r\n\r\n");
    const Lauf zwei = Aufruf({"drucken", "--kopien", "2", drucker.PortString(), datei});
    EXPECT_EQ(zwei.status, 0) << zwei.fehler;
    EXPECT_NE(zwei.fehler.find("Kopie 2 von 2, 20 von 20 Bytes gedruckt"), std::string::npos)
        << zwei.fehler;
    ASSERT_TRUE(drucker.WartenAufKopien(2));
    EXPECT_EQ(drucker.Kopien()[0], "aaaaabbbbbcc\r\ndd\fee\f");
    EXPECT_EQ(drucker.Kopien()[1], drucker.Kopien()[0]);
    drucker.Leeren();
    const Lauf bereich = Aufruf({"drucken", "--seiten", "2-", "--zeichen", "5", "--zeilen", "2",
                                 drucker.PortString(), datei});
    EXPECT_EQ(bereich.status, 0) << bereich.fehler;
    ASSERT_TRUE(drucker.WartenAufKopien(1));
    EXPECT_EQ(drucker.Kopien()[0], "cc\r\ndd\fee\f");
    EXPECT_EQ(Aufruf({"drucken", "--seiten", "9-", drucker.PortString(), datei}).status, 2);
    EXPECT_EQ(Aufruf({"drucken", "--seiten", "3-2", drucker.PortString(), datei}).status, 2);
}

TEST_F(BrailleCli, StockenderDruckerGibtMeldungUndStatusSechs) {
    zwtest::TcpDrucker drucker(2048);
    drucker.Setzen(zwtest::TcpDrucker::Verhalten::Stocken);
    const Lauf e = Aufruf({"drucken", "--stockgrenze", "300", drucker.PortString(),
                           Datei(std::string(300 * 1024, 'x'))});
    EXPECT_EQ(e.status, 6);
    EXPECT_NE(e.fehler.find("Der Braille-Drucker ist nicht betriebsbereit!\nDer Drucker nimmt "
                            "seit 0,3 Sekunden keine Daten an."),
              std::string::npos)
        << e.fehler;
    const Lauf weg = Aufruf(
        {"drucken", "socket://127.0.0.1:" + std::to_string(zwtest::FreierPort()), Datei("x")});
    EXPECT_EQ(weg.status, 6);
}
