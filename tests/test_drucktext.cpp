// The print text: what is trimmed, the closing form feed, and the byte each
// character becomes.
#include "core/Drucktext.h"

#include <gtest/gtest.h>

#include <string>

using namespace zw;

TEST(Drucktext, RechtsGetrimmtNimmtNurSteuerzeichenUndLeerzeichenAmEnde) {
    struct Fall {
        std::u16string text, erwartet;
    };
    const Fall faelle[] = {
        {u"", u""},
        {u"  \r\n\t\f\r\n ", u""},
        {u"Haus\r\n\r\n\r\n   ", u"Haus"},
        // Leading blank lines and spaces stay.
        {u"\r\n  Haus", u"\r\n  Haus"},
        // Every code up to 32 counts, none above it.
        {u"a\x01\x1f\x1a ", u"a"},
        {u"a!", u"a!"},
        {u"a\u00a0", u"a\u00a0"},
        {u"a\u007f", u"a\u007f"},
        {u"a \r\nb\f", u"a \r\nb"},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(RechtsGetrimmt(f.text), f.erwartet) << std::string(f.text.begin(), f.text.end());
}

TEST(Drucktext, EineKopieEndetMitGenauEinemSeitenvorschub) {
    const std::u16string druck = DruckTextBilden(RechtsGetrimmt(u"Zeile 1\r\nZeile 2\r\n\f\r\n  "));
    EXPECT_EQ(druck, u"Zeile 1\r\nZeile 2\f");
    EXPECT_EQ(DruckTextBilden(u""), u"\f");
}

TEST(Drucktext, JedesZeichenWirdGenauEinByte) {
    struct Fall {
        char16_t zeichen;
        unsigned char byte;
    };
    const Fall faelle[] = {
        {u'A', 65},
        {0, 0},
        {12, 12},
        // Codes a table produces go out as they are, C1 codes included.
        {0x80, 0x80},
        {0x9D, 0x9D},
        {u'ä', 0xE4},
        {0xFF, 0xFF},
        // Beyond 255: the Windows-1252 byte where there is one.
        {u'€', 0x80},
        {u'„', 0x84},
        {u'“', 0x93},
        {u'—', 0x97},
        {u'Ÿ', 0x9F},
        {u'⠁', '?'},
        {u'Ā', '?'},
        {0xD83D, '?'},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(DruckByte(f.zeichen), f.byte) << "U+" << std::hex << int(f.zeichen);
}

TEST(Drucktext, DruckBytesHatSovieleBytesWieZeichen) {
    // A character outside the basic plane is two 16-bit characters.
    const std::u16string text = u"a\u00e4\u20ac\U0001F600\f";
    const std::string bytes = DruckBytes(text);
    EXPECT_EQ(bytes, std::string("a\xe4\x80??\f"));

    std::u16string alle;
    for (int c = 0; c < 256; ++c)
        alle.push_back(char16_t(c));
    const std::string roh = DruckBytes(alle);
    ASSERT_EQ(roh.size(), 256u);
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(static_cast<unsigned char>(roh[std::size_t(c)]), c);
}
