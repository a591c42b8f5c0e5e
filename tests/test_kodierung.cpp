#include "core/Kodierung.h"

#include <gtest/gtest.h>

#include <random>

using namespace zw;

TEST(Cp1252, JedesByteUeberlebtHinUndZurueck) {
    for (int b = 0; b < 256; ++b) {
        const char16_t c = Cp1252Zeichen(static_cast<unsigned char>(b));
        EXPECT_EQ(Cp1252Byte(c), b) << "Byte " << b;
    }
}

TEST(Cp1252, BekannteZeichen) {
    EXPECT_EQ(Cp1252Zeichen(0x80), u'\u20AC');
    EXPECT_EQ(Cp1252Zeichen(0x9F), u'\u0178');
    EXPECT_EQ(Cp1252Zeichen(0xE4), u'ä');
    // The five undefined bytes stand for themselves, as on Windows.
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(Cp1252Zeichen(b), char16_t(b));
    // Other C1 controls and characters outside the code page have no byte.
    EXPECT_EQ(Cp1252Byte(u'\u0080'), -1);
    EXPECT_EQ(Cp1252Byte(u'\u1E9E'), -1);
    EXPECT_EQ(Cp1252Byte(u'\u2800'), -1);
}

struct ZeilenFall {
    const char* name;
    std::string bytes;
    std::u16string text;
};

class AnsiZeilenRegel : public testing::TestWithParam<ZeilenFall> {};

TEST_P(AnsiZeilenRegel, Lesen) {
    EXPECT_EQ(AnsiLesen(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, AnsiZeilenRegel,
    testing::Values(ZeilenFall{"leer", "", u""}, ZeilenFall{"einBuchstabe", "A", u"A\r\n"},
                    ZeilenFall{"crlf", "a\r\nb\r\n", u"a\r\nb\r\n"},
                    ZeilenFall{"lf", "a\nb", u"a\r\nb\r\n"},
                    ZeilenFall{"cr", "a\rb\r", u"a\r\nb\r\n"},
                    ZeilenFall{"lfcrSindZweiEnden", "a\n\rb", u"a\r\n\r\nb\r\n"},
                    ZeilenFall{"leereZeilen", "\r\n\n\r", u"\r\n\r\n\r\n"},
                    ZeilenFall{"nulBeendet", std::string("ab\0cd", 5), u"ab\r\n"},
                    ZeilenFall{"nulNachCr", std::string("a\r\0\n", 4), u"a\r\n"},
                    ZeilenFall{"nulAmAnfang", std::string("\0abc", 4), u""},
                    ZeilenFall{"umlauteUndEuro", "\xE4\xF6\xFC\xDF\x80", u"äöüß€\r\n"},
                    ZeilenFall{"tabBleibt", "a\tb\x0C", u"a\tb\f\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8, UngueltigeFolgenWerdenErsatzzeichen) {
    struct Fall {
        std::string bytes;
        std::u16string text;
    } faelle[] = {
        {"a\xC3\xA4z", u"aäz"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\x80", u"\uFFFD"},                               // lone continuation byte
        {"\xC3", u"\uFFFD"},                               // truncated at the end
        {"\xC3z", u"\uFFFDz"},                             // truncated before ASCII
        {"\xE2\x82", u"\uFFFD"},                           // one maximal subpart, one mark
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // beyond U+10FFFF
        {"\xFF\xFE", u"\uFFFD\uFFFD"},
    };
    for (const auto& f : faelle) {
        EXPECT_EQ(Utf8ZuUtf16(f.bytes), f.text) << testing::PrintToString(f.bytes);
        EXPECT_EQ(Utf8Lesen(f.bytes), f.text + u"\r\n");
    }
}

TEST(Utf8, NulBeendetDenText) {
    EXPECT_EQ(Utf8Lesen(std::string("a\nb\0c", 5)), u"a\r\nb\r\n");
}

TEST(Utf16, BeideByteFolgenUndUngeradeLaenge) {
    EXPECT_EQ(Utf16Lesen(std::string("a\0\n\0", 4), false), u"a\r\n");
    EXPECT_EQ(Utf16Lesen(std::string("\0a\0\r", 4), true), u"a\r\n");
    // A dangling byte is marked, not dropped silently.
    EXPECT_EQ(Utf16Lesen(std::string("a\0b", 3), false), u"a\uFFFD\r\n");
    // A NUL character (two zero bytes) ends the text.
    EXPECT_EQ(Utf16Lesen(std::string("a\0\0\0b\0", 6), false), u"a\r\n");
}

TEST(Schreiben, ZeilenRegelUndKodierung) {
    EXPECT_EQ(AnsiSchreiben(u"a\nb\rc").Bytes, "a\r\nb\r\nc\r\n");
    EXPECT_EQ(AnsiSchreiben(u"").Bytes, "");
    EXPECT_EQ(Utf8Schreiben(u"").Bytes, "\xEF\xBB\xBF");
    EXPECT_EQ(Utf16Schreiben(u"").Bytes, "\xFF\xFE");
    EXPECT_EQ(Utf8Schreiben(u"ä\r\n").Bytes, "\xEF\xBB\xBF\xC3\xA4\r\n");
    EXPECT_EQ(Utf16Schreiben(u"a").Bytes, std::string("\xFF\xFE"
                                                      "a\0\r\0\n\0",
                                                      8));
    // A NUL in a text to be saved is kept: cutting the file there would lose the rest.
    EXPECT_EQ(AnsiSchreiben(std::u16string(u"a\0b", 3)).Bytes, std::string("a\0b\r\n", 5));
}

TEST(Schreiben, NichtDarstellbareZeichenWerdenGezaehlt) {
    const Kodiert ansi = AnsiSchreiben(u"ä\u2800\U0001F600\u20AC");
    EXPECT_EQ(ansi.Bytes, "\xE4???\x80\r\n");
    EXPECT_EQ(ansi.NichtDarstellbar, 3u);
    EXPECT_EQ(AnsiNichtDarstellbar(u"ä\u2800\U0001F600\u20AC"), 3u);

    const Kodiert utf8 =
        Utf8Schreiben(std::u16string{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)});
    EXPECT_EQ(utf8.Bytes, "\xEF\xBB\xBF"
                          "a\xEF\xBF\xBD"
                          "b\xEF\xBF\xBD\r\n");
    EXPECT_EQ(utf8.NichtDarstellbar, 2u);
    EXPECT_EQ(Utf8Schreiben(u"\U0001F600").NichtDarstellbar, 0u);
}

TEST(Schreiben, ZufaelligeTexteUeberlebenUtf8UndUtf16) {
    std::mt19937 zufall(7);
    for (int runde = 0; runde < 300; ++runde) {
        std::u16string roh;
        const int laenge = int(zufall() % 200);
        for (int i = 0; i < laenge; ++i) {
            switch (zufall() % 6) {
            case 0:
                roh.push_back(u'\n');
                break;
            case 1:
                roh.push_back(u'\r');
                break;
            case 2: { // a valid surrogate pair
                const char32_t cp = 0x10000 + zufall() % 0x100000;
                roh.push_back(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
                roh.push_back(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
                break;
            }
            default: {
                char16_t c = char16_t(1 + zufall() % 0xD7FF);
                roh.push_back(c);
            }
            }
        }
        const std::u16string text = ZeilenRegelLesen(roh);
        const std::string ohneBom8 = Utf8Schreiben(text).Bytes.substr(3);
        const std::string ohneBom16 = Utf16Schreiben(text).Bytes.substr(2);
        EXPECT_EQ(Utf8Lesen(ohneBom8), text);
        EXPECT_EQ(Utf16Lesen(ohneBom16, false), text);
        EXPECT_EQ(Utf16ZuUtf8(text), ohneBom8);
    }
}
