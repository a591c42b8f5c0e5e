#include "Hilfen.h"
#include "core/Fehler.h"
#include "core/MoFiles.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace zw;
using zwtest::Lesen;
using zwtest::Schreiben;
using zwtest::TempOrdner;

TEST(DateiTyp, ErsteVierBytesInDerRichtigenReihenfolge) {
    struct Fall {
        std::string anfang;
        TTextFileType typ;
    } faelle[] = {
        {"", tfText},
        {"A", tfText},
        {"\xEF\xBB\xBF", tfUtf8},
        {"\xEF\xBB\xBF{\\r", tfUtf8},
        {std::string("\xFF\xFE\0\0", 4), tfUnicode},
        {std::string("\0\0\xFE\xFF", 4), tfUnicode},
        {"\xFF\xFE", tfUnicode},
        {"\xFE\xFF", tfUnicode},
        {"\xFE", tfText},
        {"{\\rtf1", tfRtf},
        {"{\\r", tfRtf},
        {"{\\R", tfText},
        {"{\\", tfText},
        {std::string("\0\0\xFE", 3), tfText},
        {"\xEF\xBB", tfText},
    };
    TempOrdner ordner;
    int nr = 0;
    for (const auto& f : faelle) {
        const auto datei = ordner / ("f" + std::to_string(nr++));
        Schreiben(datei, f.anfang + "rest");
        EXPECT_EQ(TypAusAnfang(f.anfang), f.typ) << testing::PrintToString(f.anfang);
        if (f.anfang.size() >= 4 || f.typ != tfText) {
            EXPECT_EQ(DateiTypErmitteln(datei), f.typ) << testing::PrintToString(f.anfang);
        }
    }
}

TEST(DateiTyp, UnlesbareDateiIstTfError) {
    TempOrdner ordner;
    EXPECT_EQ(DateiTypErmitteln(ordner / "gibt-es-nicht"), tfError);
    EXPECT_EQ(DateiTypErmitteln(ordner.Pfad()), tfError); // a folder
    Schreiben(ordner / "leer", "");
    EXPECT_EQ(DateiTypErmitteln(ordner / "leer"), tfText);
}

struct LadeFall {
    const char* name;
    std::string bytes;
    TTextFileType typ;
    std::u16string text;
};

class Laden : public testing::TestWithParam<LadeFall> {};

TEST_P(Laden, TypUndText) {
    TempOrdner ordner;
    const auto datei = ordner / "d.txt";
    Schreiben(datei, GetParam().bytes);
    TTextFileType typ = tfError;
    std::u16string text = u"alter Inhalt";
    TextDateiLaden(datei, typ, text);
    EXPECT_EQ(typ, GetParam().typ);
    EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, Laden,
    testing::Values(
        LadeFall{"leer", "", tfText, u""}, LadeFall{"einA", "A", tfText, u"A\r\n"},
        LadeFall{"nurBomUtf16", "\xFF\xFE", tfUnicode, u""},
        LadeFall{"nurBomUtf8", "\xEF\xBB\xBF", tfUtf8, u""},
        LadeFall{"utf16le", std::string("\xFF\xFE\xE4\0\n\0", 6), tfUnicode, u"ä\r\n"},
        LadeFall{"utf16be", std::string("\xFE\xFF\0\xE4\0\r", 6), tfUnicode, u"ä\r\n"},
        // FF FE 00 00 is decoded as UTF-16 little-endian: its first character is a NUL.
        LadeFall{"utf32leIstUtf16", std::string("\xFF\xFE\0\0a\0\0\0", 8), tfUnicode, u""},
        // 00 00 FE FF counts as Unicode but has no UTF-16 mark: read as ANSI up to the NUL.
        LadeFall{"utf32beIstAnsi", std::string("\0\0\xFE\xFF", 4), tfUnicode, u""},
        LadeFall{"utf8",
                 "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
                 "e\nZeile",
                 tfUtf8, u"Grüße\r\nZeile\r\n"},
        LadeFall{"ansiMitUmlauten",
                 "Gr\xFC\xDF"
                 "e\r\n\r\nx",
                 tfText, u"Grüße\r\n\r\nx\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Laden, FehlendeDateiMeldetPfadUndGrundNachDemTyp) {
    TempOrdner ordner;
    const auto datei = ordner / "fehlt.txt";
    TTextFileType typ = tfText;
    std::u16string text = u"alt";
    try {
        TextDateiLaden(datei, typ, text);
        FAIL() << "kein Fehler";
    } catch (const DateiFehler& f) {
        EXPECT_EQ(std::string(f.what()),
                  "Datei " + PfadText(datei) +
                      " kann nicht geöffnet werden. Das System kann die angegebene Datei nicht "
                      "finden.");
    }
    EXPECT_EQ(typ, tfError);
    EXPECT_TRUE(text.empty());
}

TEST(Laden, OrdnerUndGesperrteDatei) {
    TempOrdner ordner;
    TTextFileType typ;
    std::u16string text;
    EXPECT_THROW(TextDateiLaden(ordner.Pfad(), typ, text), DateiFehler);
    EXPECT_EQ(typ, tfError);
#ifdef _WIN32
    // Windows has no permission bits that forbid reading: a file is locked
    // by the program holding it open, not through its mode.
    const bool rechteSperren = false;
#else
    const bool rechteSperren = geteuid() != 0; // root reads everything
#endif
    if (rechteSperren) {
        const auto datei = ordner / "gesperrt.txt";
        Schreiben(datei, "x");
        std::filesystem::permissions(datei, std::filesystem::perms::none);
        try {
            TextDateiLaden(datei, typ, text);
            FAIL() << "kein Fehler";
        } catch (const DateiFehler& f) {
            EXPECT_NE(std::string(f.what()).find("Zugriff verweigert."), std::string::npos);
        }
    }
}

TEST(Laden, RelativerPfadErscheintVollstaendigInDerMeldung) {
    try {
        TTextFileType typ;
        std::u16string text;
        TextDateiLaden("gibt-es-sicher-nicht.txt", typ, text);
        FAIL();
    } catch (const DateiFehler& f) {
        const std::string voll =
            PfadText(std::filesystem::current_path() / "gibt-es-sicher-nicht.txt");
        EXPECT_NE(std::string(f.what()).find("Datei " + voll + " kann nicht"), std::string::npos)
            << f.what();
    }
}

TEST(Speichern, BytesJeTyp) {
    TempOrdner ordner;
    const std::u16string text = u"Grüße\nx";
    struct Fall {
        TTextFileType typ;
        std::string bytes;
    } faelle[] = {
        {tfText, "Gr\xFC\xDF"
                 "e\r\nx\r\n"},
        {tfError, "Gr\xFC\xDF"
                  "e\r\nx\r\n"},
        {tfUtf8, "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
                 "e\r\nx\r\n"},
        {tfUnicode, std::string("\xFF\xFEG\0r\0\xFC\0\xDF\0e\0\r\0\n\0x\0\r\0\n\0", 22)},
        {TTextFileType(9), std::string("\xFF\xFEG\0r\0\xFC\0\xDF\0e\0\r\0\n\0x\0\r\0\n\0", 22)},
    };
    for (const auto& f : faelle) {
        const auto datei = ordner / ("s" + std::to_string(int(f.typ)));
        const SpeicherErgebnis e = TextDateiSpeichern(datei, text, f.typ);
        EXPECT_EQ(Lesen(datei), f.bytes) << int(f.typ);
        EXPECT_EQ(e.NichtDarstellbar, 0u);
    }
}

TEST(Speichern, RundreiseJeTypAendertNachDemErstenSpeichernNichts) {
    TempOrdner ordner;
    const std::u16string roh = u"erste Zeile\nzweite\r\rletzte ohne Ende äöü €";
    for (TTextFileType typ : {tfText, tfUtf8, tfUnicode}) {
        const auto datei = ordner / ("r" + std::to_string(int(typ)));
        TextDateiSpeichern(datei, roh, typ);
        const std::string erstesMal = Lesen(datei);
        TTextFileType gelesen;
        std::u16string text;
        TextDateiLaden(datei, gelesen, text);
        EXPECT_EQ(gelesen, typ);
        EXPECT_EQ(text, u"erste Zeile\r\nzweite\r\n\r\nletzte ohne Ende äöü €\r\n");
        TextDateiSpeichern(datei, text, typ);
        EXPECT_EQ(Lesen(datei), erstesMal);
    }
}

TEST(Speichern, AnsiMeldetVerloreneZeichen) {
    TempOrdner ordner;
    const auto datei = ordner / "a.txt";
    const SpeicherErgebnis e = TextDateiSpeichern(datei, u"\u2801\u2803ä", tfText);
    EXPECT_EQ(e.NichtDarstellbar, 2u);
    EXPECT_EQ(Lesen(datei), "??\xE4\r\n");
    EXPECT_EQ(TextDateiSpeichern(datei, u"\u2801", tfUnicode).NichtDarstellbar, 0u);
}

TEST(Speichern, FehlschlagLaesstAlteDateiUnberuehrt) {
    TempOrdner ordner;
    // The target is read-only: it keeps its content and nothing else is left behind.
    const auto datei = ordner / "schreibgeschuetzt.txt";
    Schreiben(datei, "alt");
    std::filesystem::permissions(datei, std::filesystem::perms::owner_read);
    try {
        TextDateiSpeichern(datei, u"neu", tfText);
        FAIL() << "kein Fehler";
    } catch (const DateiFehler& f) {
        EXPECT_EQ(std::string(f.what()), "Datei \"" + PfadText(datei) +
                                             "\" kann nicht erstellt werden. Zugriff verweigert.");
    }
    EXPECT_EQ(Lesen(datei), "alt");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ordner.Pfad()),
                            std::filesystem::directory_iterator()),
              1);

    // A missing folder and a folder in place of the file.
    EXPECT_THROW(TextDateiSpeichern(ordner / "fehlt" / "x.txt", u"a", tfText), DateiFehler);
    std::filesystem::create_directory(ordner / "ordner");
    EXPECT_THROW(TextDateiSpeichern(ordner / "ordner", u"a", tfText), DateiFehler);
}

TEST(Speichern, SchreibfehlerWirdGemeldet) {
    // /dev/full takes the open but fails every write. A device is written in
    // place, never replaced by a file, and the failure must be reported.
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "kein /dev/full";
    TempOrdner ordner;
    const auto link = ordner / "voll.txt";
    std::filesystem::create_symlink("/dev/full", link);
    try {
        TextDateiSpeichern(link, std::u16string(100000, u'x'), tfText);
        FAIL() << "kein Fehler";
    } catch (const DateiFehler& f) {
        EXPECT_NE(std::string(f.what()).find("nicht genügend Speicherplatz"), std::string::npos)
            << f.what();
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

TEST(Speichern, ErsetztAtomarUndBehaeltRechteUndVerknuepfung) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows kennt keine POSIX-Rechte, und symbolische Verknüpfungen brauchen dort "
                    "besondere Rechte";
#endif
    TempOrdner ordner;
    const auto datei = ordner / "d.txt";
    Schreiben(datei, "alt");
    std::filesystem::permissions(datei, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::owner_write |
                                            std::filesystem::perms::group_read);
    const auto link = ordner / "link.txt";
    std::filesystem::create_symlink(datei, link);
    TextDateiSpeichern(link, u"neu", tfText);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Lesen(datei), "neu\r\n");
    EXPECT_EQ(std::filesystem::status(datei).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

TEST(TypName, AlleTypen) {
    EXPECT_EQ(TypName(tfError), "tfError");
    EXPECT_EQ(TypName(tfText), "tfText");
    EXPECT_EQ(TypName(tfUnicode), "tfUnicode");
    EXPECT_EQ(TypName(tfRtf), "tfRtf");
    EXPECT_EQ(TypName(tfUtf8), "tfUtf8");
}
