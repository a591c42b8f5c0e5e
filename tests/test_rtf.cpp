// The RTF reader and writer: documents as Word, WordPad, LibreOffice and
// TextEdit write them, the reading rules one by one, hostile input, and the
// writer's round trip through our reader and through LibreOffice.

#include "Hilfen.h"
#include "core/Kodierung.h"
#include "core/MoFiles.h"
#include "core/Rtf.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using zw::RtfAusrichtung;
using zw::RtfLesen;
using zw::RtfZuText;
using zw::TextZuRtf;
using zwtest::Lesen;

// Counts the bytes the program holds on the heap, so a test can check the
// peak a call needs.
namespace {
std::atomic<std::size_t> gBelegt{0};
std::atomic<std::size_t> gSpitze{0};

void* Belegen(std::size_t n) {
    auto* p = static_cast<std::size_t*>(std::malloc(n + sizeof(std::max_align_t)));
    if (!p)
        throw std::bad_alloc();
    *p = n;
    const std::size_t jetzt = gBelegt += n;
    std::size_t alt = gSpitze.load();
    while (jetzt > alt && !gSpitze.compare_exchange_weak(alt, jetzt)) {
    }
    return reinterpret_cast<char*>(p) + sizeof(std::max_align_t);
}
void Freigeben(void* q) noexcept {
    if (!q)
        return;
    auto* p = reinterpret_cast<std::size_t*>(static_cast<char*>(q) - sizeof(std::max_align_t));
    gBelegt -= *p;
    std::free(p);
}
} // namespace

void* operator new(std::size_t n) {
    return Belegen(n);
}
void* operator new[](std::size_t n) {
    return Belegen(n);
}
void operator delete(void* p) noexcept {
    Freigeben(p);
}
void operator delete[](void* p) noexcept {
    Freigeben(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Freigeben(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Freigeben(p);
}

namespace {

// The heap the call needed at its peak beyond what was held before.
template <typename F> std::size_t Spitzenbedarf(F&& f) {
    const std::size_t vorher = gBelegt.load();
    gSpitze = vorher;
    f();
    return gSpitze.load() - vorher;
}

// Expected texts are stored as UTF-8 with LF; the reader gives CR LF.
std::u16string Erwartet(const fs::path& datei) {
    std::u16string t;
    for (char16_t c : zw::Utf8ZuUtf16(Lesen(datei))) {
        if (c == u'\n')
            t += u'\r';
        t += c;
    }
    return t;
}

std::string U8(const std::u16string& t) {
    return zw::Utf16ZuUtf8(t);
}

const fs::path kDaten = fs::path(ZW_TESTDATEN) / "rtf";

// ---------------------------------------------------------------------------
// Documents as the word processors write them.

class RtfVorlage : public testing::TestWithParam<const char*> {};

TEST_P(RtfVorlage, TextWieErwartet) {
    const std::string rtf = Lesen(kDaten / (std::string(GetParam()) + ".rtf"));
    ASSERT_FALSE(rtf.empty());
    const std::u16string text = RtfZuText(rtf);
    EXPECT_EQ(U8(text), U8(Erwartet(kDaten / (std::string(GetParam()) + ".txt"))));
    EXPECT_EQ(U8(RtfLesen(rtf).Text()), U8(text));
    // The loader takes RTF by its first bytes and gives the same text.
    EXPECT_EQ(zw::TextDekodieren(rtf, zw::TypAusAnfang(rtf.substr(0, 4))), text);
}

INSTANTIATE_TEST_SUITE_P(Programme, RtfVorlage,
                         testing::Values("word", "wordpad", "wordpad_ostasien", "libreoffice",
                                         "textedit"));

// ---------------------------------------------------------------------------
// Reading rules, one case each.

struct Fall {
    const char* name;
    std::string rtf;
    std::u16string text;
};

std::string Dok(const std::string& rumpf) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
           "{\\f1\\fnil\\fcharset128 MS Gothic;}{\\f2\\fnil\\fcharset204 Arial Cyr;}}" +
           rumpf + "}";
}

const Fall kFaelle[] = {
    // Paragraphs and delimiters.
    {"Absatz", Dok("A\\par B"), u"A\r\nB"},
    {"LetzterAbsatzMitPar", Dok("A\\par B\\par"), u"A\r\nB\r\n"},
    {"LeereAbsaetze", Dok("\\par\\par A\\par\\par"), u"\r\n\r\nA\r\n\r\n"},
    {"LeeresDokument", "{\\rtf1}", u""},
    {"NurEinPar", "{\\rtf1\\par}", u"\r\n"},
    {"PardIstKeinUmbruch", Dok("A\\pard B"), u"AB"},
    {"EinLeerzeichenTrennt", Dok("\\b  A\\b0  B"), u" A B"},
    {"AndereTrennerBleiben", Dok("\\b;A"), u";A"},
    {"SymbolOhneTrenner", Dok("Gr\\'f6 och \\'f6\\'e4"), u"Grö och öä"},
    {"BackslashZeilenende", Dok("A\\\nB\\\r\nC"), u"A\r\nB\r\nC"},
    {"NackteZeilenendenZaehlenNicht", Dok("A\r\nB\rC\nD"), u"ABCD"},
    {"ZahlMitMinusOhneZiffer", Dok("\\b- x"), u"- x"},
    {"VorDemDokument", "Müll {\\rtf1 A}", u"A"},
    {"NachDemDokument", "{\\rtf1 A}B\\par C", u"A"},
    {"RohesTab", Dok("A\tB"), u"A\tB"},
    // Characters with text meaning.
    {"Steuersymbole", Dok("\\{a\\}\\\\"), u"{a}\\"},
    {"Woerter",
     Dok("\\tab|\\emdash|\\endash|\\lquote|\\rquote|\\ldblquote|\\rdblquote|\\bullet|\\~|\\_|a\\-"
         "b"),
     u"\t|\u2014|\u2013|\u2018|\u2019|\u201C|\u201D|\u2022|\u00A0|\u2011|ab"},
    {"ZeileUndSeite", Dok("A\\line B\\page C\\sect D"), u"A\r\nB\r\nC\r\nD"},
    {"UnbekanntesWortBehaeltText", Dok("{\\unbekannt Text}"), u"Text"},
    {"StillesSymbol", Dok("a\\:b\\|c"), u"abc"},
    // Unicode.
    {"Unicode", Dok("\\u8364?\\u252 x"), u"€ü"},
    {"UnicodeNegativ", Dok("\\u-3913?\\u-1?"), u"\uF0B7\uFFFF"},
    {"UnicodeGrossePositive", Dok("\\u65533?"), u"\uFFFD"},
    {"Surrogatpaar", Dok("\\u-10179?\\u-8704?"), u"\U0001F600"},
    {"SurrogatpaarHexErsatz", Dok("\\u55357\\'3f\\u56832\\'3f"), u"\U0001F600"},
    {"SurrogatpaarUc0", Dok("\\uc0\\u55357 \\u56832 x"), u"\U0001F600x"},
    {"EinzelnesHochSurrogat", Dok("\\u55357?x"), u"\uFFFDx"},
    {"EinzelnesTiefSurrogat", Dok("x\\u56832?"), u"x\uFFFD"},
    {"HochSurrogatAmEnde", Dok("\\u55357?"), u"\uFFFD"},
    {"Uc2UeberspringtZwei", Dok("\\uc2\\u26085\\'93\\'fax"), u"\u65E5x"},
    {"Uc0UeberspringtNichts", Dok("\\uc0\\u8364 ?"), u"\u20AC?"},
    {"UcGiltInDerGruppe", Dok("{\\uc2\\u8364 ab}\\u8364 ab"), u"\u20AC\u20ACb"},
    {"UcNegativWirdNull", Dok("\\uc-5\\u8364 a"), u"\u20ACa"},
    {"ErsatzZaehltSteuerwort", Dok("\\u8364\\par x"), u"\u20ACx"},
    {"ErsatzZaehltBin", Dok("\\u8364\\bin3 {}\\x"), u"\u20ACx"},
    {"KlammerBeendetErsatz", Dok("{\\uc3\\u8364 a}b"), u"\u20ACb"},
    {"TrennerZaehltNicht", Dok("\\u8364 ab"), u"\u20ACb"},
    {"NulWirdVerworfen", Dok("a\\u0?b\\'00c"), u"abc"},
    {"ZeilenendeAusHexVerworfen", Dok("a\\'0d\\'0ab"), u"ab"},
    {"SteuerzeichenBleiben", Dok("a\\'0c\\'1bb"),
     u"a\x0C\x1B"
     u"b"},
    // Code pages.
    {"Ansicpg", "{\\rtf1\\ansi\\ansicpg1251 \\'e6\\'c0}", u"жА"},
    {"Fcharset", Dok("\\f2 \\'e6\\f0 \\'e6"), u"жæ"},
    {"CpgVorFcharset", "{\\rtf1{\\fonttbl{\\f0\\fcharset0\\cpg1253 A;}}\\f0\\'e1}", u"α"},
    {"SchriftOhneZeichensatz", "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 A;}}\\f0\\'b9}", u"ą"},
    {"Mac", "{\\rtf1\\mac \\'8a\\'a5}", u"ä•"},
    {"Pc", "{\\rtf1\\pc \\'81\\'e1}", u"üß"},
    {"Pca", "{\\rtf1\\pca \\'9b\\'d5}", u"øı"},
    {"RoheAchtBitBytes", Dok("\xe4\\f2\xe6"), u"äж"},
    {"SchriftGiltInDerGruppe", Dok("{\\f2 \\'e6}\\'e6"), u"жæ"},
    {"PlainSetztSchriftZurueck", Dok("\\f2\\plain\\'e6"), u"æ"},
    {"Doppelbyte", Dok("\\f1 \\'93\\'fa\\'96\\'7b"), u"日本"},
    {"DoppelbyteUeberZeilenende", Dok("\\f1 \\'93\r\n\\'fa"), u"日"},
    {"DoppelbyteFolgeAlsZeichen", Dok("\\f1 \\'83A"), u"ア"},
    {"DoppelbyteOhneFolgebyte", Dok("\\f1 \\'93}x"), u"\uFFFD"},
    {"DoppelbyteUngueltigeFolge", Dok("\\f1 \\'93\\'01A"),
     u"\uFFFD\x01"
     u"A"},
    {"DoppelbyteMitUnicode", Dok("\\f1\\uc2\\u26085\\'93\\'fa\\'96\\'7b"), u"日本"},
    {"Halbbreite", Dok("\\f1 \\'b1"), u"ｱ"},
    {"SchriftnameInEigenerCodepage", "{\\rtf1{\\fonttbl{\\f0\\fcharset204 \\'e6;}}\\f0\\'e6}",
     u"ж"},
    {"SchrifttabelleOhneGruppen",
     "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;\\f1\\fnil\\fcharset204 "
     "Menlo;}\\f1\\'e6}",
     u"ж"},
    {"SchriftOhneSemikolon", "{\\rtf1{\\fonttbl{\\f0\\fcharset204 A}{\\f1 B;}}\\f0\\'e6}", u"ж"},
    {"UprNimmtUd",
     "{\\rtf1{\\upr{\\fonttbl{\\f0\\fcharset0 A;}}{\\*\\ud{\\fonttbl{\\f0\\fcharset204 "
     "A;}}}}\\f0\\'e6{\\upr{alt}{\\*\\ud{neu}}}}",
     u"жneu"},
    // Destinations without body text.
    {"Tabellen",
     Dok("{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title "
         "T}{\\author A}}A"),
     u"A"},
    {"Bild",
     Dok("{\\pict\\pngblip 89504e47}{\\*\\shppict{\\pict 00}}{\\nonshppict{\\pict "
         "00}}A"),
     u"A"},
    {"Objekt",
     Dok("{\\object\\objemb{\\*\\objclass Excel}{\\*\\objdata 0105}{\\result "
         "{\\pict 00}}}A"),
     u"A"},
    // Headers go; a note follows the body under its number.
    {"KopfFussFussnote", Dok("{\\header K\\par}{\\footerl F\\par}A{\\footnote N}B{\\*\\ftnsep x}"),
     u"AB\r\n\r\n1 N\r\n"},
    // The number stays at the anchor; footnotes, then endnotes (i, ii by
    // default), each block after an empty line.
    {"FussUndEndnoten",
     Dok("A{\\super\\chftn{\\footnote\\pard{\\super\\chftn} Eins\\par Zwei}}B"
         "{\\chftn{\\*\\footnote\\ftnalt\\chftn  End}}C{\\chftn{\\footnote\\chftn\\tab F2}}\\par"),
     u"A1BiC2\r\n\r\n1 Eins\r\nZwei\r\n2\tF2\r\n\r\ni End\r\n"},
    {"NotenFormate",
     Dok("\\ftnnauc\\aftnnar A{\\chftn{\\footnote\\chftn  x}}{\\chftn{\\footnote\\ftnalt\\chftn  "
         "y}}"),
     u"AA1\r\n\r\nA x\r\n\r\n1 y\r\n"},
    {"VersteckteNoteImVerborgenen", Dok("A{\\v{\\footnote N}}B{\\footnote{\\footnote X}M}\\par"),
     u"AB\r\n\r\n1 M\r\n"},
    {"UnbekanntesSternZiel", Dok("A{\\*\\unbekannt X{Y}\\par}B"), u"AB"},
    {"SternMitBekanntemWort", Dok("A{\\*\\bkmkstart m}{\\*\\bkmkend m}B"), u"AB"},
    {"ListenTabellen",
     Dok("{\\*\\listtable{\\list{\\listlevel{\\leveltext \\'01\\u-3913 "
         "?;}}}}{\\*\\listoverridetable{\\listoverride\\ls1}}A"),
     u"A"},
    {"ListenText", Dok("{\\listtext 1.\\tab}A"), u"1.\tA"},
    {"AlteNummerierung", Dok("{\\*\\pn\\pnlvlblt{\\pntxtb \\'b7}}{\\pntext\\'b7\\tab}A"),
     u"\u00B7\tA"},
    {"VerborgenerText", Dok("A{\\v B}C\\v D\\v0 E"), u"ACE"},
    {"BinInUebersprungenerGruppe", Dok("A{\\*\\x \\bin2 }}B}C"), u"AC"},
    {"BinDatenSindKeinText", Dok("A\\bin4 {}\\\\B"), u"AB"},
    {"BinNegativ", Dok("A\\bin-5 B"), u"AB"},
    // Fields.
    {"Feld", Dok("{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt Verweis}}"), u"Verweis"},
    {"FeldErgebnisOhneGruppe", Dok("{\\field{\\*\\fldinst X}\\fldrslt Verweis}"), u"Verweis"},
    {"FeldBefehlOhneGruppe", Dok("{\\field\\fldinst X{\\fldrslt Verweis}}"), u"Verweis"},
    {"FeldVerschachtelt", Dok("{\\field{\\*\\fldinst {\\v PAGEREF x}}{\\fldrslt {\\b 3}}}"), u"3"},
    // Tables.
    {"Tabelle",
     Dok("\\trowd\\cellx1\\cellx2\\intbl A\\cell B\\cell\\row\\trowd\\intbl "
         "C\\cell D\\cell\\row E"),
     u"A\tB\r\nC\tD\r\nE"},
    {"LeereZellen", Dok("\\trowd\\intbl \\cell\\cell C\\cell\\row"), u"\t\tC\r\n"},
    {"ZeileInGruppe", Dok("\\intbl A\\cell B\\cell{\\trowd\\cellx1\\row}"), u"A\tB\r\n"},
    {"VerschachtelteTabelle",
     Dok("\\intbl A\\nestcell B\\nestcell{\\*\\nesttableprops\\trowd\\cellx1\\nestrow}{"
         "\\nonesttables A B\\par}C\\cell\\row"),
     u"A\tB\r\nC\r\n"},
};

class RtfRegel : public testing::TestWithParam<Fall> {};

TEST_P(RtfRegel, Text) {
    const Fall& f = GetParam();
    EXPECT_EQ(U8(RtfZuText(f.rtf)), U8(f.text)) << f.rtf;
    EXPECT_EQ(U8(RtfLesen(f.rtf).Text()), U8(f.text)) << f.rtf;
}

INSTANTIATE_TEST_SUITE_P(Faelle, RtfRegel, testing::ValuesIn(kFaelle),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The formatted model.

TEST(RtfModell, WordpadLaeufeUndAbsaetze) {
    const zw::RtfDokument d = RtfLesen(Lesen(kDaten / "wordpad.rtf"));
    ASSERT_EQ(d.Absaetze.size(), 6u);
    EXPECT_TRUE(d.LetzterAbsatzEndet);

    const auto& zwei = d.Absaetze[1].Laeufe;
    auto lauf = [&](const std::u16string& text) -> const zw::RtfLauf& {
        for (const auto& l : zwei)
            if (l.Text == text)
                return l;
        ADD_FAILURE() << "kein Lauf " << U8(text);
        static zw::RtfLauf leer;
        return leer;
    };
    EXPECT_TRUE(lauf(u"fett").Fett);
    EXPECT_FALSE(lauf(u"fett").Kursiv);
    EXPECT_TRUE(lauf(u"kursiv").Kursiv);
    EXPECT_TRUE(lauf(u"unterstrichen").Unterstrichen);
    EXPECT_TRUE(lauf(u"durch").Durchgestrichen);
    EXPECT_TRUE(lauf(u"rot").HatFarbe);
    EXPECT_EQ(lauf(u"rot").Farbe, 0xFF0000u);
    EXPECT_FALSE(lauf(u" ").HatFarbe);
    EXPECT_EQ(lauf(u"fett").Schriftname, u"Calibri");
    EXPECT_EQ(lauf(u"fett").Groesse, 11);

    EXPECT_EQ(d.Absaetze[0].Ausrichtung, RtfAusrichtung::Links);
    EXPECT_EQ(d.Absaetze[3].Ausrichtung, RtfAusrichtung::Zentriert);
    ASSERT_EQ(d.Absaetze[3].Laeufe.size(), 1u);
    EXPECT_EQ(d.Absaetze[3].Laeufe[0].Groesse, 16);
    EXPECT_EQ(d.Absaetze[4].Ausrichtung, RtfAusrichtung::Links);
    // Neighbouring runs always differ.
    for (const auto& a : d.Absaetze)
        for (std::size_t i = 1; i < a.Laeufe.size(); ++i)
            EXPECT_FALSE(a.Laeufe[i - 1].Fett == a.Laeufe[i].Fett &&
                         a.Laeufe[i - 1].Kursiv == a.Laeufe[i].Kursiv &&
                         a.Laeufe[i - 1].Unterstrichen == a.Laeufe[i].Unterstrichen &&
                         a.Laeufe[i - 1].Durchgestrichen == a.Laeufe[i].Durchgestrichen &&
                         a.Laeufe[i - 1].HatFarbe == a.Laeufe[i].HatFarbe &&
                         a.Laeufe[i - 1].Farbe == a.Laeufe[i].Farbe &&
                         a.Laeufe[i - 1].Groesse == a.Laeufe[i].Groesse &&
                         a.Laeufe[i - 1].Schriftname == a.Laeufe[i].Schriftname);
}

TEST(RtfModell, LibreOffice) {
    const zw::RtfDokument d = RtfLesen(Lesen(kDaten / "libreoffice.rtf"));
    ASSERT_GE(d.Absaetze.size(), 5u);
    EXPECT_EQ(d.Absaetze[0].Ausrichtung, RtfAusrichtung::Zentriert);
    EXPECT_EQ(d.Absaetze[4].Ausrichtung, RtfAusrichtung::Rechts);
    const auto& rot = d.Absaetze[4].Laeufe.at(0);
    EXPECT_EQ(rot.Text, u"Rot und groß");
    EXPECT_TRUE(rot.HatFarbe);
    EXPECT_EQ(rot.Farbe, 0xC9211Eu);
    EXPECT_EQ(rot.Groesse, 16);
    EXPECT_EQ(rot.Schriftname, u"DejaVu Serif");
    // \line stays inside its paragraph.
    EXPECT_EQ(d.Absaetze[4].Text(), u"Rot und groß\tnach Tab\r\nneue Zeile");
    EXPECT_TRUE(d.Absaetze[0].Laeufe.at(1).Fett);
    EXPECT_EQ(d.Absaetze[0].Laeufe.at(1).Text, u"fett");
}

TEST(RtfModell, LetzterAbsatzOhneParUndAusrichtungAmEnde) {
    const zw::RtfDokument d = RtfLesen("{\\rtf1 A\\par\\qr B}");
    ASSERT_EQ(d.Absaetze.size(), 2u);
    EXPECT_FALSE(d.LetzterAbsatzEndet);
    EXPECT_EQ(d.Absaetze[1].Ausrichtung, RtfAusrichtung::Rechts);
    EXPECT_EQ(d.Text(), u"A\r\nB");
    EXPECT_TRUE(RtfLesen("{\\rtf1 }").Absaetze.empty());
    EXPECT_EQ(RtfLesen("{\\rtf1 \\par}").Text(), u"\r\n");
}

TEST(RtfModell, FormatGiltInDerGruppeUndPlainSetztZurueck) {
    const zw::RtfDokument d =
        RtfLesen("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\fs40\\cf1 a{\\b b}c\\plain d}");
    ASSERT_EQ(d.Absaetze.size(), 1u);
    const auto& l = d.Absaetze[0].Laeufe;
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0].Text, u"a");
    EXPECT_EQ(l[0].Farbe, 0x010203u);
    EXPECT_EQ(l[0].Groesse, 20);
    EXPECT_TRUE(l[1].Fett);
    EXPECT_FALSE(l[2].Fett);
    EXPECT_EQ(l[2].Groesse, 20);
    EXPECT_FALSE(l[3].HatFarbe);
    EXPECT_EQ(l[3].Groesse, 12);
}

// ---------------------------------------------------------------------------
// Hostile input: no crash, no hang, little memory, the text read so far.

struct Boese {
    const char* name;
    std::string rtf;
    std::u16string anfang; // the text must begin with this
};

std::vector<Boese> BoeseFaelle() {
    const std::size_t tief = 500000;
    std::vector<Boese> v;
    v.push_back({"OffeneKlammern", "{\\rtf1 A{\\b B{\\i C", u"ABC"});
    v.push_back({"ZuVieleSchliessende", "}}}{\\rtf1 A}}}}", u"A"});
    v.push_back({"Abgeschnitten", "{\\rtf1 A\\par B\\'f", u"A\r\nB"});
    v.push_back({"AbgeschnittenNachBackslash", "{\\rtf1 A\\", u"A"});
    v.push_back({"AbgeschnittenImWort", "{\\rtf1 A\\pa", u"A"});
    v.push_back({"TiefeLeereGruppen",
                 "{\\rtf1 " + std::string(tief, '{') + "A" + std::string(tief, '}') + "B}", u"AB"});
    std::string wechsel = "{\\rtf1 ";
    for (std::size_t i = 0; i < tief; ++i)
        wechsel += i % 2 ? "{\\b0 " : "{\\b ";
    v.push_back({"TiefeGruppenMitFormat", wechsel + "A", u"A"});
    std::string sprung = "{\\rtf1 ";
    for (std::size_t i = 0; i < tief; ++i)
        sprung += "{\\*\\x ";
    v.push_back({"TiefeUebersprungeneGruppen", sprung + "A", u""});
    v.push_back({"GrosseZahlen",
                 "{\\rtf1 \\fs99999999999999999999\\f-99999999999999999999 "
                 "\\u99999999999999999999 \\u-99999999999 A\\uc99999999999999\\u65 B}C",
                 u"\uFFFDAA"});
    v.push_back({"EndlosesWort", "{\\rtf1 A\\" + std::string(4000000, 'x') + " B}", u"AB"});
    v.push_back({"EndloseZahl", "{\\rtf1 A\\b" + std::string(4000000, '9') + " B}", u"AB"});
    v.push_back({"BinUeberDasEnde", "{\\rtf1 A\\bin999999999999 xyz", u"A"});
    v.push_back({"BinUeberDasEndeUebersprungen", "{\\rtf1 A{\\*\\x\\bin999999999 xyz", u"A"});
    v.push_back({"UnicodeUeberspringtAlles",
                 "{\\rtf1 A\\uc2000000000\\u66 " + std::string(1000000, 'x') + "}", u"AB"});
    std::string laeufe = "{\\rtf1 ";
    for (int i = 0; i < 200000; ++i)
        laeufe += "\\b a\\b0 a";
    v.push_back({"VieleLaeufe", laeufe, u"aa"});
    std::string viele = "{\\rtf1 ";
    for (int i = 0; i < 200000; ++i)
        viele += "\\u-10179?";
    v.push_back({"NurHoheSurrogate", viele + "}", u"\uFFFD\uFFFD"});
    return v;
}

TEST(RtfRobust, BoeseEingaben) {
    for (const Boese& b : BoeseFaelle()) {
        SCOPED_TRACE(b.name);
        const auto start = std::chrono::steady_clock::now();
        std::u16string text;
        const std::size_t bedarf = Spitzenbedarf([&] { text = RtfZuText(b.rtf); });
        EXPECT_EQ(U8(text.substr(0, b.anfang.size())), U8(b.anfang));
        // Two bytes of text per byte of the file at most, briefly twice while the
        // text is trimmed, and a bounded group stack.
        EXPECT_LE(bedarf, 4 * b.rtf.size() + (1 << 20)) << bedarf;
        std::size_t modell = 0;
        zw::RtfDokument d;
        modell = Spitzenbedarf([&] { d = RtfLesen(b.rtf); });
        EXPECT_EQ(d.Text(), text);
        EXPECT_LE(modell, 48 * b.rtf.size() + 65536) << modell;
        const double sekunden =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(sekunden, 10.0);
    }
}

TEST(RtfRobust, ZufaelligeBytes) {
    std::mt19937 zufall(4711);
    const std::string teile[] = {
        "{",     "}",    "\\",        "\\'",   "\\u",       "\\uc",      "\\bin",         "\\*",
        "\\par", "\\f1", "\\fonttbl", "\\upr", "\\ud",      "\\cell",    "\\row",         "-",
        "9",     " ",    "a",         "\xe4",  "\\fldinst", "\\fldrslt", "\\fcharset128", ";"};
    for (int runde = 0; runde < 3000; ++runde) {
        std::string s = "{\\rtf1";
        const int n = int(zufall() % 60);
        for (int i = 0; i < n; ++i)
            s += teile[zufall() % std::size(teile)];
        const std::u16string text = RtfZuText(s);
        ASSERT_EQ(RtfLesen(s).Text(), text) << s;
        ASSERT_EQ(RtfZuText(TextZuRtf(text, {})), text) << s;
    }
}

// ---------------------------------------------------------------------------
// The writer.

zw::TSchrift Schrift(std::u16string name, int zeichensatz) {
    zw::TSchrift s;
    s.Name = std::move(name);
    s.Zeichensatz = zeichensatz;
    return s;
}

const std::u16string kTexte[] = {
    u"",
    u"A",
    u"A\r\n",
    u"\r\n",
    u"\r\n\r\n",
    u"Zeile 1\r\n\r\nZeile 3\r\n",
    u"Letzte Zeile ohne Ende\r\nnoch eine",
    u"Grüße aus Köln: äöüß ÄÖÜ",
    u"€ „zitiert“ ‚einfach‘ – — … ™ • © ® ° ± × ÷ ¼",
    u"{Klammern} \\Backslash\\ \\par \\'e4 \\u8364?",
    u"Tab\tzwischen\t\tWörtern",
    u"  führende und   mehrfache Leerzeichen  ",
    u"Ελληνικά Русский ёЁ Polski zażółć עברית العربية ไทย",
    u"日本語 中文 한국어",
    u"Emoji \U0001F600 Note \U0001D11E Schrift \U00020000",
    u"1\r\n2\r\n-3\r\n",
    u"\u0081\u008D\u008F\u0090\u009D \u0080\u009F \u00A0\u00AD\uFFFD\uFEFF\uFFFF",
    u"Steuerzeichen \x0C Seitenvorschub \x1B Escape \x7F",
};

const zw::TSchrift kSchriften[] = {
    Schrift(u"Arial", 0),         Schrift(u"Times New Roman", 204), Schrift(u"Arial", 161),
    Schrift(u"Courier New", 238), Schrift(u"MS Gothic", 128),       Schrift(u"Symbol", 2),
    Schrift(u"Geneva", 77),       Schrift(u"Terminal", 255),        Schrift(u"Arial", 1),
};

TEST(RtfSchreiben, RundreiseDurchDenLeser) {
    for (const auto& schrift : kSchriften)
        for (const auto& text : kTexte) {
            const std::string rtf = TextZuRtf(text, schrift);
            EXPECT_EQ(U8(RtfZuText(rtf)), U8(text)) << rtf;
            EXPECT_EQ(U8(RtfLesen(rtf).Text()), U8(text)) << rtf;
        }
}

TEST(RtfSchreiben, ZeilenendenUndUngueltiges) {
    const zw::TSchrift s;
    EXPECT_EQ(RtfZuText(TextZuRtf(u"a\rb\nc\r\n\rd", s)), u"a\r\nb\r\nc\r\n\r\nd");
    EXPECT_EQ(RtfZuText(TextZuRtf(u"a\xD800"
                                  u"b\xDC00"
                                  u"c\xD800",
                                  s)),
              u"a\uFFFDb\uFFFDc\uFFFD");
    EXPECT_EQ(RtfZuText(TextZuRtf(std::u16string(u"a\0b", 3), s)), u"ab");
}

TEST(RtfSchreiben, Form) {
    zw::TSchrift s = Schrift(u"Times New Roman", 0);
    s.Groesse = 14;
    const std::string rtf = TextZuRtf(u"Grüße € 😀 ж \u0081\r\nx", s);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Times "
                        "New Roman;}}",
                        0),
              0u)
        << rtf;
    EXPECT_NE(rtf.find("\\uc1"), std::string::npos);
    EXPECT_NE(rtf.find("\\fs28 "), std::string::npos);
    EXPECT_NE(rtf.find("Gr\\'fc\\'dfe \\'80 \\u-10179?\\u-8704? \\u1078? \\u129?\\par"),
              std::string::npos)
        << rtf;
    EXPECT_EQ(rtf.find("colortbl"), std::string::npos);
    EXPECT_EQ(rtf.find("\\b"), std::string::npos);
    for (unsigned char c : rtf)
        EXPECT_LT(c, 0x80);
    // The five bytes Windows-1252 leaves undefined never appear as \'hh.
    for (const char* hh : {"\\'81", "\\'8d", "\\'8f", "\\'90", "\\'9d"})
        EXPECT_EQ(TextZuRtf(u"\u0081\u008D\u008F\u0090\u009D", s).find(hh), std::string::npos);
}

TEST(RtfSchreiben, ZeichensatzStilUndFarbe) {
    zw::TSchrift s = Schrift(u"Arial;{Cyr}\\", 204);
    s.Stil = zw::StilFett | zw::StilKursiv | zw::StilUnterstrichen | zw::StilDurchgestrichen;
    s.Farbe = 0x00332211; // blue 33, green 22, red 11
    s.Groesse = 20;
    const std::string rtf = TextZuRtf(u"жЖ ü", s);
    EXPECT_NE(rtf.find("\\ansicpg1251"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset204 Arial\\'3b\\{Cyr\\}\\\\;}"), std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("{\\colortbl ;\\red17\\green34\\blue51;}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\fs40\\b\\i\\ul\\strike\\cf1 "), std::string::npos) << rtf;
    // Cyrillic as \u with the byte of the font's code page as fallback.
    EXPECT_NE(rtf.find("\\u1078\\'e6\\u1046\\'c6 \\u252?"), std::string::npos) << rtf;

    const zw::RtfDokument d = RtfLesen(rtf);
    ASSERT_EQ(d.Absaetze.size(), 1u);
    ASSERT_EQ(d.Absaetze[0].Laeufe.size(), 1u);
    const zw::RtfLauf& l = d.Absaetze[0].Laeufe[0];
    EXPECT_EQ(l.Schriftname, u"Arial;{Cyr}\\");
    EXPECT_EQ(l.Groesse, 20);
    EXPECT_TRUE(l.Fett && l.Kursiv && l.Unterstrichen && l.Durchgestrichen);
    EXPECT_TRUE(l.HatFarbe);
    EXPECT_EQ(l.Farbe, 0x112233u);
}

TEST(RtfSchreiben, UeberDieDateischicht) {
    const zwtest::TempOrdner ordner;
    const fs::path datei = ordner / "datei.rtf";
    const std::u16string text = u"Grüße\r\n\r\n😀 Ende";
    const zw::TSchrift s = Schrift(u"Arial", 0);
    zw::TextDateiSpeichern(datei, text, zw::tfRtf, &s);
    zw::TTextFileType typ = zw::tfError;
    std::u16string gelesen;
    zw::TextDateiLaden(datei, typ, gelesen);
    EXPECT_EQ(typ, zw::tfRtf);
    EXPECT_EQ(gelesen, text);
}

// ---------------------------------------------------------------------------
// LibreOffice reads every file the writer produces to the same text.

TEST(RtfSchreiben, LibreOfficeLiestDasGleiche) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        ZW_OHNE("LibreOffice (soffice) ist nicht installiert; der Vergleich mit LibreOffice "
                "entfällt.");
    const zwtest::TempOrdner tmp;
    const fs::path& ordner = tmp.Pfad();
    fs::create_directories(ordner / "aus");
    struct Paar {
        std::string datei;
        std::u16string text;
    };
    std::vector<Paar> paare;
    for (std::size_t i = 0; i < std::size(kSchriften); ++i)
        for (std::size_t j = 0; j < std::size(kTexte); ++j) {
            // LibreOffice keeps no control characters in its documents, and it
            // reads the text of a symbol font as private-use characters, as Word does.
            if (kTexte[j].find(u'\x1B') != std::u16string::npos || kSchriften[i].Zeichensatz == 2)
                continue;
            const std::string name = "t" + std::to_string(i) + "_" + std::to_string(j);
            zwtest::Schreiben(ordner / (name + ".rtf"), TextZuRtf(kTexte[j], kSchriften[i]));
            paare.push_back({name, kTexte[j]});
        }
    const std::string befehl = "cd '" + ordner.string() +
                               "' && soffice -env:UserInstallation=file://" + ordner.string() +
                               "/profil --headless --convert-to 'txt:Text (encoded):UTF8' "
                               "--outdir aus *.rtf >/dev/null 2>&1";
    ASSERT_EQ(std::system(befehl.c_str()), 0) << befehl;
    for (const Paar& p : paare) {
        SCOPED_TRACE(p.datei);
        std::string lo = Lesen(ordner / "aus" / (p.datei + ".txt"));
        ASSERT_EQ(lo.rfind("\xEF\xBB\xBF", 0), 0u) << "keine Ausgabe";
        lo.erase(0, 3);
        // LibreOffice ends every paragraph with LF, the last one too.
        std::string erwartet;
        for (char c : U8(p.text))
            if (c != '\r')
                erwartet += c;
        if (erwartet.empty() || erwartet.back() != '\n')
            erwartet += '\n';
        EXPECT_EQ(lo, erwartet);
    }
}

} // namespace
