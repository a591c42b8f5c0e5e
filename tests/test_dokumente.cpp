// What the loader makes of the files people have today: UTF-8 without a
// mark, Word and OpenDocument files, files that are no text, NULs.
#include "Hilfen.h"
#include "ZipBauen.h"
#include "core/Fehler.h"
#include "core/Kodierung.h"
#include "core/MoFiles.h"
#include "core/Tabelle.h"
#include "core/dokumente/Dokumente.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zw;
using zwtest::Lesen;
using zwtest::Schreiben;
using zwtest::TempOrdner;

namespace {

const std::filesystem::path kDokumente = std::filesystem::path(ZW_TESTDATEN) / "dokumente";

std::string Utf8(const std::u16string& s) {
    return Utf16ZuUtf8(s);
}

std::vector<std::string> Woerter(const std::string& text) {
    std::vector<std::string> w;
    std::istringstream ein(text);
    for (std::string wort; ein >> wort;)
        w.push_back(wort);
    return w;
}

// LibreOffice's text export begins with a byte order mark.
std::string OhneMarke(std::string s) {
    if (s.starts_with("\xEF\xBB\xBF"))
        s.erase(0, 3);
    return s;
}

std::string FehlerText(const std::filesystem::path& datei) {
    try {
        DokumentLaden(datei);
    } catch (const DateiFehler& f) {
        return f.what();
    }
    return "kein Fehler";
}

} // namespace

TEST(Utf8OhneMarke, GanzGueltigMitMehrbyteFolgeIstUtf8) {
    struct Fall {
        const char* name;
        std::string bytes;
        TTextFileType typ;
        std::u16string text;
    } faelle[] = {
        {"Umlaute",
         "Gr\xC3\xBC\xC3\x9F"
         "e\n",
         tfUtf8, u"Grüße\r\n"},
        {"Emoji", "a\xF0\x9F\x98\x80", tfUtf8, u"a\U0001F600\r\n"},
        {"nurAscii", "abc\n", tfText, u"abc\r\n"},
        {"Windows1252",
         "Gr\xFC\xDF"
         "e",
         tfText, u"Grüße\r\n"},
        // A valid sequence does not help a file that is broken elsewhere.
        {"gemischt", "\xC3\xA4 und \xE4", tfText, u"Ã¤ und ä\r\n"},
        {"ueberlang", "\xC0\x80x", tfText, u"À€x\r\n"},
        {"Ersatzhaelfte", "\xED\xA0\x80", tfText, u"í\u00A0€\r\n"},
        {"jenseits10FFFF", "\xF4\x90\x80\x80", tfText, u"ô\u0090€€\r\n"},
        {"abgeschnitten", "\xC3\xA4\xC3", tfText, u"Ã¤Ã\r\n"},
        // Everything after a NUL counts for the decision, too.
        {"ungueltigNachNul", std::string("\xC3\xA4\0\xE4", 4), tfText, u"Ã¤\r\n"},
        {"gueltigMitNul", std::string("\xC3\xA4\0x", 4), tfUtf8, u"ä\r\n"},
        // A mark still decides by itself.
        {"mitMarke", "\xEF\xBB\xBF\xC3\xA4", tfUtf8, u"ä\r\n"},
    };
    TempOrdner ordner;
    for (const Fall& f : faelle) {
        const auto datei = ordner / f.name;
        Schreiben(datei, f.bytes);
        TTextFileType typ = tfError;
        std::u16string text;
        TextDateiLaden(datei, typ, text);
        EXPECT_EQ(typ, f.typ) << f.name;
        EXPECT_EQ(text, f.text) << f.name;
        // The first-bytes table stays what it is.
        EXPECT_EQ(DateiTypErmitteln(datei), f.bytes.starts_with("\xEF\xBB\xBF") ? tfUtf8 : tfText)
            << f.name;
    }
}

TEST(Utf8OhneMarke, TabelleInUtf8OhneMarke) {
    TempOrdner ordner;
    Schreiben(ordner / "t.tab", "; Umlaute für die Punktschrift\n228 062 ä wird >\n");
    TTabListe liste;
    TabDateiAuswerten(ordner / "t.tab", liste);
    ASSERT_EQ(liste.size(), 1u);
    EXPECT_EQ(liste[0].Suchzeichen, u'ä');
}

TEST(KeinText, SignaturenNennenWasDieDateiIst) {
    std::string ole(512, '\0');
    ole.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    auto strom = [](const std::string& name) {
        std::string breit;
        for (char c : name)
            breit += std::string(1, c) + '\0';
        return breit;
    };
    std::string programm = "MZ\x90";
    programm += std::string(100, '\0');
    struct Fall {
        const char* name;
        std::string bytes;
        std::string grund;
    } faelle[] = {
        {"a.pdf", "%PDF-1.7\n%\xE2\xE3\n1 0 obj", "sondern ein PDF-Dokument."},
        {"a.png", "\x89PNG\r\n\x1A\n", "sondern ein PNG-Bild."},
        {"a.jpg", "\xFF\xD8\xFF\xE0", "sondern ein JPEG-Bild."},
        {"a.gif", "GIF89a", "sondern ein GIF-Bild."},
        {"a.elf",
         "\x7F"
         "ELF\x02\x01",
         "sondern ein Programm (ELF)."},
        {"a.exe", programm, "sondern ein Windows-Programm."},
        {"a.doc", ole + strom("WordDocument"),
         "sondern ein Word-Dokument im alten Format (.doc). Speichern Sie es zuerst in Word oder "
         "LibreOffice als DOCX oder RTF."},
        {"a.xls", ole + strom("Workbook"),
         "sondern eine Excel-Arbeitsmappe im alten Format (.xls)."},
        {"a.zip", zwtest::ZipBauen({zwtest::Gespeichert("liesmich.txt", "Hallo")}),
         "sondern ein ZIP-Archiv."},
        {"a.xlsx",
         zwtest::ZipBauen({zwtest::Gespeichert("[Content_Types].xml", "<Types/>"),
                           zwtest::Gespeichert("xl/workbook.xml", "<workbook/>")}),
         "sondern eine Excel-Arbeitsmappe."},
        {"a.ods",
         zwtest::ZipBauen(
             {zwtest::Gespeichert("mimetype", "application/vnd.oasis.opendocument.spreadsheet")}),
         "sondern eine OpenDocument-Tabelle."},
        {"nuls.bin", std::string("ab\0\0cd\0", 7), "sondern enthält Binärdaten (3 NUL-Bytes)."},
    };
    TempOrdner ordner;
    for (const Fall& f : faelle) {
        Schreiben(ordner / f.name, f.bytes);
        EXPECT_EQ(FehlerText(ordner / f.name), "Datei " + PfadText(ordner / f.name) +
                                                   " kann nicht geöffnet werden. Die Datei ist "
                                                   "keine Textdatei, " +
                                                   f.grund)
            << f.name;
        // The table parser and every other reader meet the same error.
        TTabListe liste;
        EXPECT_THROW(TabDateiAuswerten(ordner / f.name, liste), DateiFehler) << f.name;
    }
}

TEST(KeinText, TextDerSoAnfaengtOderEinzelneNulHat) {
    TempOrdner ordner;
    struct Fall {
        const char* name;
        std::string bytes;
        std::u16string text;
    } faelle[] = {
        {"mz", "MZ-Nachrichten vom Montag\n", u"MZ-Nachrichten vom Montag\r\n"},
        {"gif", "GIF ist ein Bildformat\n", u"GIF ist ein Bildformat\r\n"},
        {"eineNul", std::string("Zeile 1\nZei\0le 2\nZeile 3\n", 24), u"Zeile 1\r\nZei\r\n"},
        // UTF-16 has NULs in every other byte; its mark keeps it text.
        {"utf16", std::string("\xFF\xFEH\0i\0", 6), u"Hi\r\n"},
        // 00 00 FE FF counts as Unicode and is read as ANSI up to its first NUL.
        {"utf32be", std::string("\0\0\xFE\xFF\0\0\0A", 8), u""},
    };
    for (const Fall& f : faelle) {
        Schreiben(ordner / f.name, f.bytes);
        EXPECT_EQ(DokumentLaden(ordner / f.name).Text, f.text) << f.name;
    }
}

TEST(Nul, ZeileUndRestWerdenGemeldet) {
    struct Fall {
        const char* name;
        std::string bytes;
        std::uint64_t zeile, rest;
    } faelle[] = {
        {"ansi", std::string("a\r\nb\rc\nd\0efg", 12), 4, 4},
        {"utf8Marke", std::string("\xEF\xBB\xBFx\ny\0z", 8), 2, 2},
        {"utf16", std::string("\xFF\xFEx\0\n\0\0\0y\0", 10), 2, 4},
        {"amEnde", std::string("Text\n\0", 6), 2, 1},
    };
    TempOrdner ordner;
    for (const Fall& f : faelle) {
        Schreiben(ordner / f.name, f.bytes);
        const Dokument d = DokumentLaden(ordner / f.name);
        ASSERT_TRUE(d.Nul.has_value()) << f.name;
        EXPECT_EQ(d.Nul->Zeile, f.zeile) << f.name;
        EXPECT_EQ(d.Nul->RestBytes, f.rest) << f.name;
    }
    Schreiben(ordner / "ohne", "kein NUL\n");
    EXPECT_FALSE(DokumentLaden(ordner / "ohne").Nul.has_value());
    // 52 lines, a NUL in line 2: the message says where and how much.
    std::string lang = std::string("Zeile 1\nZei\0le 2\n", 17);
    for (int i = 3; i <= 52; ++i)
        lang += "Zeile " + std::to_string(i) + "\n";
    Schreiben(ordner / "lang", lang);
    EXPECT_EQ(NulMeldung(*DokumentLaden(ordner / "lang").Nul),
              "Der Text endet in Zeile 2 an einem NUL-Zeichen; die restlichen " +
                  std::to_string(lang.size() - 11) + " Bytes der Datei wurden nicht gelesen.");
    EXPECT_EQ(
        NulMeldung({0, 1}),
        "Der Text endet an einem NUL-Zeichen; das letzte Byte der Datei wurde nicht gelesen.");
}

// Fixtures written by LibreOffice from one source: what it reads from them
// (its text export) and what the loader reads agree word for word.
TEST(Dokumente, WortFuerWortWieLibreOffice) {
    for (const char* name : {"vergleich.docx", "vergleich.odt"}) {
        const Dokument d = DokumentLaden(kDokumente / name);
        EXPECT_EQ(d.Typ, tfText) << name;
        EXPECT_EQ(d.Quelle, std::string_view(name).ends_with("docx") ? Herkunft::Word
                                                                     : Herkunft::OpenDocument);
        const std::string libreoffice =
            OhneMarke(Lesen(kDokumente / (std::string(name) + ".libreoffice.txt")));
        EXPECT_EQ(Woerter(Utf8(d.Text)), Woerter(libreoffice)) << name;
        // Every paragraph ends with CR LF, the last one too.
        EXPECT_TRUE(d.Text.ends_with(u"\r\n")) << name;
        EXPECT_EQ(d.Text.find(u"\n\n"), std::u16string::npos) << name;
    }
}

TEST(Dokumente, AufbauDerZeilen) {
    for (const char* name : {"vergleich.docx", "vergleich.odt"}) {
        const std::u16string t = DokumentLaden(kDokumente / name).Text;
        for (const std::u16string& zeile : {
                 std::u16string(u"Brief an die Blindenschule\r\nSehr geehrte"),
                 std::u16string(u"Maße in Zentimetern: 21\t×\t29,7.\r\n"),
                 std::u16string(u"Eine Zeile mit Umbruch\r\nund Fortsetzung, ein geschütztes "
                                u"Leer\u00A0zeichen zwischen 10\u00A0km, ein weiches "
                                u"Silben\u00ADtrennzeichen und drei  Leerzeichen.\r\n"),
                 // Labels as the list styles state them, their own counters.
                 std::u16string(u"\r\n1. Deutsch\r\n2. Mathematik\r\na) Geometrie\r\n"
                                u"i. Dreiecke\r\nii. Kreise\r\nb) Algebra\r\n3. Musik"),
                 std::u16string(u"\r\n• Bücher in Punktschrift\r\n◦ Lesebuch\r\n• Tastmodelle"),
                 std::u16string(u"\r\n(C) Anlage mit eigenem Zähler\r\n(D) Zweite Anlage\r\n"),
                 // Tabs between cells, a line per row; paragraphs in a cell
                 // each on a line of their own.
                 std::u16string(u"\r\nTag\tFach\tRaum\r\nMontag\tDeutsch\r\ndanach Übungen\tA "
                                u"1.03\r\nDienstag\t\tSporthalle\r\n"),
                 std::u16string(u"Preis 12,50 €, Ellipse…"),
                 std::u16string(u"\r\n\r\nMit freundlichen Grüßen\r\n"),
             })
            EXPECT_NE(t.find(zeile), std::u16string::npos) << name << ": " << Utf8(zeile);
    }
}

TEST(Dokumente, WasNichtZumTextGehoert) {
    for (const char* name : {"besonderheiten.docx", "besonderheiten.odt"}) {
        const std::string t = Utf8(DokumentLaden(kDokumente / name).Text);
        struct Fall {
            const char* stueck;
            bool drin;
        } faelle[] = {
            {"Grüße aus Köln", true},
            {"Trenn\u00ADzeichen. Ende.", true}, // the deleted word is gone
            {"gelöschtes", false},
            {"Sichtbar weiter drei   Leerzeichen.", true},
            {"unsichtbar", false}, // hidden text
            {"Kommentar", false},
            {"Kopfzeile", false},
            {"Fußzeile geheim", false},
            // Notes: the number stays at the anchor, the text follows the body.
            {"Fußnote hier1 und noch eine2 und Endnotei.", true},
            {"Äpfel\t3\r\n", true},
        };
        for (const Fall& f : faelle)
            EXPECT_EQ(t.find(f.stueck) != std::string::npos, f.drin) << name << ": " << f.stueck;
        const auto ende = t.find("Gedankenstrich.\r\n");
        ASSERT_NE(ende, std::string::npos) << name;
        const std::vector<std::string> noten = Woerter(t.substr(ende + 17));
        const std::vector<std::string> erwartet = {"1",        "Der", "Text",    "der",
                                                   "Fußnote.", "2",   "Zweite",  "Fußnote.",
                                                   "i",        "Die", "Endnote."};
        EXPECT_EQ(noten, erwartet) << name;
    }
}

// A document shaped as Microsoft Word writes it: fields, content controls,
// revisions, comments, hidden runs, Symbol-font bullets, note separators.
TEST(Dokumente, WieWordSchreibt) {
    const Dokument d = DokumentLaden(kDokumente / "wordartig.docx");
    const std::string erwartet = Lesen(kDokumente / "wordartig.erwartet.txt");
    EXPECT_EQ(Utf8(d.Text), erwartet);
}

TEST(Dokumente, AlsCodeTabelle) {
    TempOrdner ordner;
    Schreiben(ordner / "t.docx",
              zwtest::WordDokument("<w:p><w:r><w:t>; Tabelle in Word</w:t></w:r></w:p>"
                                   "<w:p><w:r><w:t>097 065 a wird A</w:t></w:r></w:p>"
                                   "<w:p><w:r><w:t>098 066</w:t></w:r></w:p>"));
    TTabListe liste;
    TabDateiAuswerten(ordner / "t.docx", liste);
    ASSERT_EQ(liste.size(), 2u);
    EXPECT_EQ(liste[1].Ersatzzeichen, u'B');
}

TEST(Dokumente, KaputteUndFeindlicheBehaelter) {
    TempOrdner ordner;
    const std::string gut = zwtest::WordDokument("<w:p><w:r><w:t>Hallo</w:t></w:r></w:p>");
    ASSERT_EQ(DokumentLaden((Schreiben(ordner / "gut.docx", gut), ordner / "gut.docx")).Text,
              u"Hallo\r\n");

    auto grund = [&](const std::string& bytes) {
        Schreiben(ordner / "d.docx", bytes);
        const std::string f = FehlerText(ordner / "d.docx");
        const std::string davor = "geöffnet werden. ";
        const auto punkt = f.find(davor);
        return punkt == std::string::npos ? f : f.substr(punkt + davor.size());
    };
    EXPECT_EQ(grund(gut.substr(0, gut.size() / 2)),
              "Das Dokument ist beschädigt: das ZIP-Verzeichnis ist unlesbar.");
    EXPECT_EQ(grund(zwtest::WordDokument("<w:p><w:r><w:t>offen")),
              "Das Dokument ist beschädigt: ein Teil ist kein gültiges XML.");
    // No DTD, so nothing inside the file can expand.
    EXPECT_EQ(grund(zwtest::WordDokument("<!DOCTYPE a [<!ENTITY x \"xxxxxxxx\">]><w:p><w:r><w:t>"
                                         "&x;&x;</w:t></w:r></w:p>")),
              "Das Dokument ist beschädigt: ein Teil ist kein gültiges XML.");

    std::string tief;
    for (int i = 0; i < 300; ++i)
        tief = "<w:hyperlink>" + tief + "</w:hyperlink>";
    EXPECT_EQ(grund(zwtest::WordDokument("<w:p>" + tief + "</w:p>")),
              "Das Dokument ist zu tief verschachtelt (mehr als 256 Ebenen) und wird nicht "
              "gelesen.");

    std::vector<zwtest::ZipEintrag> viele = zwtest::WordGeruest();
    for (int i = 0; i < 20001; ++i)
        viele.push_back(zwtest::Gespeichert("x/" + std::to_string(i), ""));
    EXPECT_EQ(grund(zwtest::ZipBauen(viele)),
              "Das Dokument besteht aus mehr als 20000 Teilen und wird nicht gelesen.");

    // A directory that claims far more than the limit stops before inflating.
    std::vector<zwtest::ZipEintrag> luege = zwtest::WordGeruest();
    luege.push_back(zwtest::Gespeichert("word/document.xml",
                                        std::string(zwtest::kWordKopf) + zwtest::kWordFuss));
    luege.back().entpackt = std::uint64_t(3) << 30;
    EXPECT_EQ(grund(zwtest::ZipBauen(luege)),
              "Das Dokument ist entpackt größer als 96 MB und wird nicht gelesen.");
}

TEST(Dokumente, GrenzenGreifenBeimLesen) {
    // Small limits, so the cases stay small: the same checks guard the
    // defaults.
    dok::Grenzen g;
    g.EntpacktGesamt = 1 << 20;
    g.VerhaeltnisAb = 64 << 10;
    g.Verhaeltnis = 50;
    g.Elemente = 1000;
    auto grund = [&](const std::string& bytes) {
        try {
            dok::DokumentLesen(bytes, g);
        } catch (const dok::DokumentFehler& f) {
            return std::string(f.what());
        }
        return std::string("kein Fehler");
    };
    std::vector<zwtest::ZipEintrag> e = zwtest::WordGeruest();
    e.push_back(zwtest::Aufgeblasen(
        "word/document.xml", std::string(zwtest::kWordKopf) + "<w:p><w:r><w:t>",
        std::string(65536, 'a'), 100, std::string("</w:t></w:r></w:p>") + zwtest::kWordFuss));
    // The directory states the size: too large, before anything is inflated.
    EXPECT_EQ(grund(zwtest::ZipBauen(e)),
              "Das Dokument ist entpackt größer als 1 MB und wird nicht gelesen.");
    // Within the size, but packed far beyond any text.
    g.EntpacktGesamt = 64 << 20;
    EXPECT_EQ(grund(zwtest::ZipBauen(e)),
              "Das Dokument ist ungewöhnlich stark gepackt (mehr als 50 : 1) und wird nicht "
              "gelesen.");
    // A directory that states less than the part inflates to lies.
    e.back().entpackt = 100;
    g.Verhaeltnis = 100000;
    EXPECT_EQ(grund(zwtest::ZipBauen(e)), "Das Dokument ist beschädigt: word/document.xml ist "
                                          "größer, als das ZIP-Verzeichnis angibt.");

    std::string elemente;
    for (int i = 0; i < 600; ++i)
        elemente += "<w:p><w:r/></w:p>";
    EXPECT_EQ(grund(zwtest::WordDokument(elemente)),
              "Das Dokument enthält mehr als 1000 XML-Elemente und wird nicht gelesen.");
}

// Lists whose style only the paragraph style names, and bullets that are a
// font's private-use characters (OpenSymbol, Symbol): shown as "•".
TEST(Dokumente, ListenstilUeberAbsatzstilUndSymbolAufzaehlung) {
    const std::string inhalt =
        "<office:document-content xmlns:office=\"o\" xmlns:style=\"s\" xmlns:text=\"t\">"
        "<office:automatic-styles><style:style style:name=\"P1\" style:family=\"paragraph\" "
        "style:parent-style-name=\"Nummern\"/></office:automatic-styles><office:body><office:text>"
        "<text:list><text:list-item><text:p text:style-name=\"P1\">Erstens</text:p>"
        "</text:list-item><text:list-item><text:p text:style-name=\"P1\">Zweitens</text:p>"
        "</text:list-item></text:list><text:list text:style-name=\"LB\"><text:list-item><text:p>"
        "Punkt</text:p></text:list-item></text:list></office:text></office:body>"
        "</office:document-content>";
    const std::string stile =
        "<office:document-styles xmlns:office=\"o\" xmlns:style=\"s\" xmlns:text=\"t\">"
        "<office:styles><style:style style:name=\"Nummern\" style:family=\"paragraph\" "
        "style:list-style-name=\"LN\"/><text:list-style style:name=\"LN\">"
        "<text:list-level-style-number text:level=\"1\" style:num-suffix=\".\" "
        "style:num-format=\"1\"/></text:list-style><text:list-style style:name=\"LB\">"
        "<text:list-level-style-bullet text:level=\"1\" text:bullet-char=\"\xEF\x82\x95\"/>"
        "</text:list-style></office:styles></office:document-styles>";
    TempOrdner ordner;
    Schreiben(ordner / "l.odt",
              zwtest::ZipBauen(
                  {zwtest::Gespeichert("mimetype", "application/vnd.oasis.opendocument.text"),
                   zwtest::Gespeichert("styles.xml", stile),
                   zwtest::Gespeichert("content.xml", inhalt)}));
    EXPECT_EQ(DokumentLaden(ordner / "l.odt").Text, u"1. Erstens\r\n2. Zweitens\r\n• Punkt\r\n");
}

// Numbers a hostile file puts where a small one belongs: nested row groups,
// levels and start values in the billions. Each ends at once, with the file
// error or a short label, not with a full stack or gigabytes of letters.
TEST(Dokumente, FeindlicheZahlenUndVerschachtelung) {
    auto odt = [](const std::string& stile, const std::string& text) {
        return zwtest::ZipBauen(
            {zwtest::Gespeichert("mimetype", "application/vnd.oasis.opendocument.text"),
             zwtest::Gespeichert("styles.xml",
                                 "<office:document-styles xmlns:office=\"o\" xmlns:style=\"s\" "
                                 "xmlns:text=\"t\"><office:styles>" +
                                     stile + "</office:styles></office:document-styles>"),
             zwtest::Gespeichert("content.xml",
                                 "<office:document-content xmlns:office=\"o\" xmlns:text=\"t\" "
                                 "xmlns:table=\"b\"><office:body><office:text>" +
                                     text +
                                     "</office:text></office:body></office:document-content>")});
    };
    std::string gruppen;
    for (int i = 0; i < 200000; ++i)
        gruppen += "<table:table-row-group>";
    EXPECT_THROW(dok::DokumentLesen(odt("", "<table:table>" + gruppen + "</table:table>")),
                 dok::DokumentFehler);

    const std::string gliederung =
        "<text:outline-style><text:outline-level-style text:level=\"2000000000\" "
        "style:num-format=\"1\" text:display-levels=\"2000000000\"/></text:outline-style>";
    EXPECT_EQ(dok::DokumentLesen(odt(gliederung, "<text:h text:outline-level=\"2000000000\">"
                                                 "Titel</text:h>"))
                  .Text,
              "Titel\r\n");

    const std::string buchstaben =
        "<text:list-style style:name=\"L\"><text:list-level-style-number text:level=\"1\" "
        "style:num-format=\"a\" text:start-value=\"2000000000\" style:num-suffix=\")\"/>"
        "</text:list-style>";
    EXPECT_EQ(dok::DokumentLesen(odt(buchstaben, "<text:list text:style-name=\"L\"><text:list-item>"
                                                 "<text:p>Punkt</text:p></text:list-item>"
                                                 "</text:list>"))
                  .Text,
              "2000000000) Punkt\r\n");
}
