// What only Windows has: ANSI text in the code page the system is set to,
// compared with the system's own conversion, and the printer-port writer on
// CreateFileW, written to a file. The ANSI cases hold for any code page, so
// the same program runs under several of them (scripts/windows-pruefen.sh).
#include "Hilfen.h"
#include "core/Kodierung.h"
#include "core/Konvertierung.h"
#include "core/MoFiles.h"
#include "core/Strom.h"
#include "platform/Druckausgabe.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

using namespace zw;
using zwtest::Lesen;
using zwtest::Schreiben;
using zwtest::TempOrdner;

namespace {

std::u16string SystemLesen(const std::string& bytes) {
    if (bytes.empty())
        return {};
    std::u16string text(bytes.size(), u'\0');
    text.resize(std::size_t(MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()),
                                                reinterpret_cast<wchar_t*>(text.data()),
                                                int(text.size()))));
    return text;
}

// The system's encoding without its nearest matches, and whether it needed
// the default character.
std::string SystemSchreiben(const std::u16string& text, bool* ersetzt = nullptr) {
    if (text.empty())
        return {};
    const auto* w = reinterpret_cast<const wchar_t*>(text.data());
    std::string bytes(4 * text.size(), '\0');
    BOOL benutzt = FALSE;
    bytes.resize(std::size_t(WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, int(text.size()),
                                                 bytes.data(), int(bytes.size()), "?", &benutzt)));
    if (ersetzt)
        *ersetzt = benutzt;
    return bytes;
}

// Characters from several scripts: each code page holds some of them.
const std::u16string kGemischt = u"Aa?\u00e4\u00df\u20ac\u0107\u0142\u0416\u03a9\u05d0"
                                 u"\u0e01\u65e5\u672c\uac00\u2801\U0001F600 \u00e9\u0151";

} // namespace

// Each run of scripts/windows-pruefen.sh names the code page it sets Wine to;
// a run that silently stayed in another one would test nothing new.
TEST(WindowsAnsi, CodepageIstDieDesLaufs) {
    const char* erwartet = std::getenv("ZW_CODEPAGE");
    if (!erwartet || !*erwartet)
        GTEST_SKIP()
            << "ZW_CODEPAGE nennt keine Codepage; nur scripts/windows-pruefen.sh setzt sie";
    EXPECT_EQ(int(GetACP()), std::atoi(erwartet))
        << "Wine läuft nicht in der Codepage, die dieser Lauf prüfen soll";
    EXPECT_EQ(AnsiCodepage(), std::atoi(erwartet));
}

TEST(WindowsAnsi, CodepageIstDieDesSystems) {
    EXPECT_EQ(AnsiCodepage(), int(GetACP()));
    CPINFO info{};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    EXPECT_EQ(AnsiEinzelbyte(), info.MaxCharSize == 1);
}

TEST(WindowsAnsi, JedesByteLiestSichWieBeimSystem) {
    // Every byte but NUL, CR and LF, alone and in a run long enough for the
    // block paths; in a double-byte code page the lead bytes pair up there.
    std::string alle;
    for (int b = 1; b < 256; ++b) {
        if (b == '\r' || b == '\n')
            continue;
        const std::string byte(1, char(b));
        EXPECT_EQ(AnsiLesen(byte), SystemLesen(byte) + u"\r\n") << "Byte " << b;
        alle += byte;
    }
    const std::string lauf = alle + "\r\nZeile zwei" + alle;
    EXPECT_EQ(AnsiLesen(lauf), SystemLesen(alle) + u"\r\nZeile zwei" + SystemLesen(alle) + u"\r\n");
    if (AnsiEinzelbyte()) {
        for (int b = 1; b < 256; ++b)
            EXPECT_EQ(AnsiZeichen(static_cast<unsigned char>(b)),
                      SystemLesen(std::string(1, char(b)))[0])
                << "Byte " << b;
    }
}

TEST(WindowsAnsi, SchreibenWieDasSystemOhneNaechsteTreffer) {
    // The system's nearest matches (e with acute for e with double acute in
    // Windows-1252) would change the text unseen; what the code page lacks
    // becomes "?" and is counted, one for each code unit, so each half of a
    // pair too, in every code page.
    const std::u16string text = kGemischt + u"\r\n" + kGemischt + kGemischt + kGemischt + u"\r\n";
    const Kodiert k = AnsiSchreiben(text);
    std::u16string ohnePaare = text;
    for (char16_t& c : ohnePaare)
        if (c >= 0xD800 && c <= 0xDFFF)
            c = u'?';
    EXPECT_EQ(k.Bytes, SystemSchreiben(ohnePaare));

    std::size_t fehlend = 0;
    for (char16_t c : kGemischt) {
        bool ersetzt = true;
        if (c < 0xD800 || c > 0xDFFF)
            SystemSchreiben(std::u16string(1, c), &ersetzt);
        fehlend += ersetzt;
    }
    EXPECT_GT(fehlend, 2u); // no code page holds all of them
    EXPECT_EQ(k.NichtDarstellbar, 4 * fehlend);
    EXPECT_EQ(AnsiNichtDarstellbar(text), 4 * fehlend);
}

TEST(WindowsAnsi, DateiRundreiseFuerDieZeichenDerCodepage) {
    TempOrdner ordner;
    const auto datei = ordner / "ansi.txt";
    // What the code page holds of the mixed text, through the system and back.
    bool ersetzt = false;
    std::u16string darstellbar;
    for (char16_t c : kGemischt) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        SystemSchreiben(std::u16string(1, c), &ersetzt);
        if (!ersetzt)
            darstellbar += c;
    }
    ASSERT_FALSE(darstellbar.empty());
    const std::u16string text = darstellbar + u"\r\n" + darstellbar + u"\r\n";
    EXPECT_EQ(TextDateiSpeichern(datei, text, tfText).NichtDarstellbar, 0u);
    EXPECT_EQ(Lesen(datei), SystemSchreiben(text));
    TTextFileType typ;
    std::u16string gelesen;
    TextDateiLaden(datei, typ, gelesen);
    EXPECT_EQ(typ, tfText);
    EXPECT_EQ(gelesen, text);
}

TEST(WindowsAnsi, StueckweiseWieAmGanzen) {
    // The command-line tool's piecewise way folds the table into the code
    // page's bytes; it must give what the whole text gives.
    TempOrdner ordner;
    std::string bytes;
    for (int runde = 0; runde < 40; ++runde) {
        for (int b = 1; b < 256; ++b)
            if (b != '\r' && b != '\n')
                bytes += char(b);
        bytes += "\r\n";
    }
    Schreiben(ordner / "ein.txt", bytes);
    std::u16string text = AnsiLesen(bytes);
    // Every fifth character of the first line is replaced: by a letter, by
    // what another byte reads as, or by one the code page lacks. The bytes
    // from 80 on read differently in each code page, so the folded table
    // has to come from the same code page as the rest.
    const std::u16string zeile = text.substr(0, text.find(u'\r'));
    const char16_t anderes = AnsiLesen("\xE4")[0];
    const char16_t ersatz[] = {u'x', anderes, char16_t(0x2801)};
    TTabListe tabelle;
    for (std::size_t i = 0; i < zeile.size(); i += 5)
        tabelle.push_back(TabEintrag{zeile[i], ersatz[(i / 5) % 3]});
    const StromErgebnis stueckweise =
        DateiKonvertieren(ordner / "ein.txt", ordner / "aus.txt", tabelle, std::nullopt, 1000);
    const KonvertierErgebnis ganz = TextKonvertieren(text, tabelle);
    const Kodiert erwartet = AnsiSchreiben(ganz.Text);
    EXPECT_EQ(stueckweise.Typ, tfText);
    EXPECT_EQ(stueckweise.Anzahl, ganz.Anzahl);
    EXPECT_EQ(stueckweise.NichtDarstellbar, erwartet.NichtDarstellbar);
    EXPECT_EQ(Lesen(ordner / "aus.txt"), erwartet.Bytes);
}

TEST(WindowsDruckport, KopieInEineDatei) {
    TempOrdner ordner;
    const auto datei = ordner / "drucker.prn";
    Schreiben(datei, "");
    // Raw bytes, a NUL and a form feed among them, go out unchanged.
    const std::string kopie = std::string("Zeile 1\r\n\0\xE4\xFF", 13) + "Zeile 2\f";
    const DruckErgebnis e = KopieDrucken(datei.string(), kopie);
    EXPECT_TRUE(e.Ok()) << e.Meldung;
    EXPECT_EQ(Lesen(datei), kopie);
    // A second copy follows the first, as on every other system.
    EXPECT_TRUE(KopieDrucken(datei.string(), "2\f").Ok());
    EXPECT_EQ(Lesen(datei), kopie + "2\f");
}

TEST(WindowsDruckport, GrosseKopieInStueckenAngehaengtMitFortschritt) {
    TempOrdner ordner;
    const auto datei = ordner / "drucker.prn";
    Schreiben(datei, "vorher");
    std::string kopie(100 * 1024 + 7, '\0');
    for (std::size_t i = 0; i < kopie.size(); ++i)
        kopie[i] = char(i * 13 % 256);
    std::vector<std::size_t> stand;
    const DruckErgebnis e = KopieDrucken(datei.string(), kopie, DruckZeitLimit, [&](std::size_t n) {
        stand.push_back(n);
        return true;
    });
    EXPECT_TRUE(e.Ok()) << e.Meldung;
    // Piece after piece, each at the end of the file.
    EXPECT_TRUE(Lesen(datei) == "vorher" + kopie);
    EXPECT_GT(stand.size(), 10u);
    EXPECT_TRUE(std::is_sorted(stand.begin(), stand.end()));
    EXPECT_EQ(stand.back(), kopie.size());
    // Ended by the caller: what went out stays, the copy does not count.
    const DruckErgebnis beendet =
        KopieDrucken(datei.string(), kopie, DruckZeitLimit, [](std::size_t n) { return n < 8192; });
    EXPECT_EQ(beendet.Fehler, DruckFehler::Beendet);
    EXPECT_LT(Lesen(datei).size(), 6 + 2 * kopie.size());
}

TEST(WindowsDruckport, FehlerJeArt) {
    TempOrdner ordner;
    struct Fall {
        std::string port;
        DruckFehler fehler;
    } faelle[] = {
        {(ordner / "fehlt.prn").string(), DruckFehler::NichtGefunden},
        {(ordner / "kein" / "ordner.prn").string(), DruckFehler::NichtGefunden},
        // A folder cannot be opened for writing.
        {ordner.Pfad().string(), DruckFehler::Verweigert},
    };
    for (const auto& f : faelle) {
        const auto anfang = std::chrono::steady_clock::now();
        const DruckErgebnis e = KopieDrucken(f.port, "x\f");
        EXPECT_EQ(e.Fehler, f.fehler) << f.port << ": " << e.Meldung;
        // The message names the port for diagnosis.
        EXPECT_NE(e.Meldung.find(f.port), std::string::npos) << e.Meldung;
        EXPECT_LT(std::chrono::steady_clock::now() - anfang, DruckZeitLimit);
    }
    EXPECT_FALSE(std::filesystem::exists(ordner / "fehlt.prn"));
}

TEST(WindowsDruckport, PortAufloesen) {
    TempOrdner ordner;
    Schreiben(ordner / "da.prn", "");
    const std::string da = (ordner / "da.prn").string();
    struct Fall {
        std::string eingabe;
        std::optional<std::string> ergebnis;
    } faelle[] = {
        {"LPT1", "LPT1"},
        {" lpt4\t", "LPT4"},
        {"LPT5x", std::nullopt},
        {"", std::nullopt},
        {da, da},
        {(ordner / "fehlt.prn").string(), std::nullopt},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(PortAufloesen(f.eingabe), f.ergebnis) << f.eingabe;
}
