// One line rule for every reader and writer: each is fed the same inputs and
// must give the same line ends, also where a line end meets the edge of a
// 16-byte block of the fast paths or of a piece of the piecewise conversion.
#include "Hilfen.h"
#include "core/Erkennung.h"
#include "core/Kodierung.h"
#include "core/MoFiles.h"
#include "core/Rtf.h"
#include "core/Strom.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zw;

namespace {

struct Fall {
    std::string ein;  // ASCII, so every reader sees the same characters
    std::string soll; // after the rule
};

std::vector<Fall> Faelle() {
    std::vector<Fall> f = {
        {"", ""},
        {"a", "a\r\n"},
        {"a\r\n", "a\r\n"},
        {"a\rb", "a\r\nb\r\n"},
        {"a\nb", "a\r\nb\r\n"},
        {"a\n\rb", "a\r\n\r\nb\r\n"},
        {"\r\r\n\n", "\r\n\r\n\r\n"},
        {"\n", "\r\n"},
        {"\r", "\r\n"},
    };
    // A CR at every place around the first blocks, then a run of plain
    // characters long enough for a block copy, then an LF: the copy must end
    // the pending CR, so the LF is a line end of its own.
    for (std::size_t vor : {0u, 1u, 2u, 14u, 15u, 16u, 17u, 30u, 31u, 32u, 33u})
        for (std::size_t nach : {0u, 1u, 15u, 16u, 17u, 40u}) {
            const std::string x(vor, 'x'), y(nach, 'y');
            f.push_back({x + "\r" + y + "\n", x + "\r\n" + y + (nach ? "\r\n" : "")});
            f.push_back({x + "\r\n" + y, x + "\r\n" + y + (nach ? "\r\n" : "")});
        }
    return f;
}

std::u16string Breit(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

std::string Utf16Le(const std::string& s) {
    std::string aus;
    for (char c : s) {
        aus.push_back(c);
        aus.push_back('\0');
    }
    return aus;
}

std::size_t Zeilen(const std::string& soll) {
    std::size_t n = 0;
    for (std::size_t p = 0; (p = soll.find("\r\n", p)) != std::string::npos; p += 2)
        ++n;
    return n;
}

} // namespace

TEST(ZeilenRegel, JederLeserUndSchreiberEndetZeilenGleich) {
    for (const Fall& f : Faelle()) {
        SCOPED_TRACE(testing::PrintToString(f.ein));
        const std::u16string soll = Breit(f.soll);
        EXPECT_EQ(AnsiLesen(f.ein), soll);
        EXPECT_EQ(Utf8Lesen(f.ein), soll);
        EXPECT_EQ(Utf16Lesen(Utf16Le(f.ein), false), soll);
        EXPECT_EQ(ZeilenRegelLesen(Breit(f.ein)), soll);
        EXPECT_EQ(AnsiSchreiben(Breit(f.ein)).Bytes, f.soll);
        EXPECT_EQ(Utf8Schreiben(Breit(f.ein)).Bytes, "\xEF\xBB\xBF" + f.soll);
        EXPECT_EQ(Utf16Schreiben(Breit(f.ein)).Bytes, "\xFF\xFE" + Utf16Le(f.soll));
        // Counting lines: a last line without a line end is no line end.
        const std::size_t enden = Zeilen(f.soll) - (f.soll.size() > 0 && !f.ein.ends_with('\r') &&
                                                    !f.ein.ends_with('\n'));
        EXPECT_EQ(ZeilenEndenZaehlen(f.ein), enden);
        EXPECT_EQ(ZeilenEndenZaehlen16(Utf16Le(f.ein), false), enden);
        // RTF: one paragraph mark per line end, the unended last line none.
        const std::string rtf = TextZuRtf(Breit(f.ein), TSchrift{});
        std::size_t absaetze = 0;
        for (std::size_t p = 0; (p = rtf.find("\\par\r\n", p)) != std::string::npos; p += 6)
            ++absaetze;
        EXPECT_EQ(absaetze, enden);
    }
}

TEST(ZeilenRegel, StueckweiseWieImGanzen) {
    // The piecewise conversion with pieces smaller and larger than a line,
    // through the byte table (ANSI to ANSI) and through the decoder (UTF-16).
    zwtest::TempOrdner ordner;
    const auto ein = ordner / "ein.txt";
    const auto aus = ordner / "aus.txt";
    for (const Fall& f : Faelle()) {
        SCOPED_TRACE(testing::PrintToString(f.ein));
        for (std::size_t abschnitt : {4u, 16u}) {
            zwtest::Schreiben(ein, f.ein);
            DateiKonvertieren(ein, aus, {}, tfText, abschnitt);
            EXPECT_EQ(zwtest::Lesen(aus), f.soll) << "ANSI, Stücke zu " << abschnitt;
            DateiKonvertieren(ein, aus, {}, tfUnicode, abschnitt);
            EXPECT_EQ(zwtest::Lesen(aus), "\xFF\xFE" + Utf16Le(f.soll))
                << "UTF-16, Stücke zu " << abschnitt;
        }
    }
}

TEST(ByteOrderMarke, LeserUndTypErkennungLesenSieGleich) {
    struct MarkenFall {
        std::string anfang;
        Form art;
        std::size_t laenge;
        TTextFileType typ;
        std::u16string text; // the file read whole, mark taken off
    };
    const MarkenFall faelle[] = {
        {"\xEF\xBB\xBFx", Form::Utf8, 3, tfUtf8, u"x\r\n"},
        {std::string("\xFF\xFEx\0", 4), Form::Utf16Le, 2, tfUnicode, u"x\r\n"},
        {std::string("\xFE\xFF\0x", 4), Form::Utf16Be, 2, tfUnicode, u"x\r\n"},
        // UTF-32 LE reads as UTF-16, whose first unit is a NUL that ends it.
        {std::string("\xFF\xFE\0\0", 4), Form::Utf16Le, 2, tfUnicode, u""},
        {"\xEF\xBB", Form::Ansi, 0, tfText, u"\u00EF\u00BB\r\n"}, // cut short: no mark
        {"\xBB\xBF", Form::Ansi, 0, tfText, u"\u00BB\u00BF\r\n"},
        {"", Form::Ansi, 0, tfText, u""},
    };
    for (const MarkenFall& f : faelle) {
        SCOPED_TRACE(testing::PrintToString(f.anfang));
        const ByteOrderMarke m = MarkeLesen(f.anfang);
        EXPECT_EQ(m.Art, f.art);
        EXPECT_EQ(m.Laenge, f.laenge);
        EXPECT_EQ(TypAusAnfang(f.anfang), f.typ);
        EXPECT_EQ(TextDekodieren(f.anfang, f.typ), f.text);
    }
}
