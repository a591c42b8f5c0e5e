// The text control: CR LF outside, one position per line end inside.
#include "ui/TextFeld.h"

#include <QApplication>
#include <QClipboard>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <stdexcept>

using zw::TextFeld;

TEST(TextFeld, ZeilenendenWerdenCrLfUndZaehlenAlsEinePosition) {
    struct Fall {
        std::u16string ein, aus, positionen;
    } faelle[] = {
        {u"", u"", u""},
        {u"a\r\nb\r\n", u"a\r\nb\r\n", u"a\rb\r"},
        {u"a\rb\nc", u"a\r\nb\r\nc", u"a\rb\rc"},
        {u"\r\n\r\n", u"\r\n\r\n", u"\r\r"},
        {u"x\r\r\ny\n\r", u"x\r\n\r\ny\r\n\r\n", u"x\r\ry\r\r"},
        // Characters the document could take for its own stay as they are.
        {u"a\u00A0b\tc\u2028d\r\n", u"a\u00A0b\tc\u2028d\r\n", u"a\u00A0b\tc\u2028d\r"},
        {u"\u2801\u280E\r\n", u"\u2801\u280E\r\n", u"\u2801\u280E\r"},
    };
    TextFeld feld;
    for (const auto& f : faelle) {
        feld.TextSetzen(f.ein);
        EXPECT_EQ(feld.Text(), f.aus);
        EXPECT_EQ(feld.PositionsText(), f.positionen);
        EXPECT_EQ(feld.Laenge(), qsizetype(f.positionen.size()));
        EXPECT_EQ(feld.IstLeer(), f.ein.empty());
        EXPECT_EQ(feld.AuswahlLaenge(), 0);
    }
}

TEST(TextFeld, MarkierenZaehltDasZeilenendeAlsEinZeichen) {
    TextFeld feld;
    feld.TextSetzen(u"eins\r\nzwei\r\n");
    feld.Markieren(3, 3); // "s", the line end, "z"
    EXPECT_EQ(feld.AuswahlStart(), 3);
    EXPECT_EQ(feld.AuswahlLaenge(), 3);
    EXPECT_EQ(feld.AusgewaehlterText(), u"s\r\nz");

    // Beyond the end the selection stops at the end.
    feld.Markieren(8, 100);
    EXPECT_EQ(feld.AuswahlStart(), 8);
    EXPECT_EQ(feld.AusgewaehlterText(), u"i\r\n");
    feld.Markieren(-5, 2);
    EXPECT_EQ(feld.AusgewaehlterText(), u"ei");

    feld.TextSetzen(u"neu\r\n");
    EXPECT_EQ(feld.AuswahlLaenge(), 0);
    EXPECT_EQ(feld.textCursor().position(), 0);
}

TEST(TextFeld, NurLesbarOhneRueckgaengig) {
    TextFeld feld;
    feld.TextSetzen(u"eins\r\n");
    feld.TextSetzen(u"zwei\r\n");
    EXPECT_TRUE(feld.isReadOnly());
    EXPECT_FALSE(feld.document()->isUndoAvailable());
    EXPECT_TRUE(feld.textInteractionFlags() & Qt::TextSelectableByKeyboard);
}

TEST(TextFeld, ZwischenablageBekommtDieZeichenWieSieStehen) {
    TextFeld feld;
    feld.TextSetzen(u"a\u00A0b\r\nc\r\n");
    feld.selectAll();
    QGuiApplication::clipboard()->clear();
    feld.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\u00A0b\nc\n"));
}

TEST(TextFeld, ZeichnenAusGiltBisZumEndeAuchNachEinerAusnahme) {
    TextFeld feld;
    {
        const TextFeld::ZeichnenAus aus(feld);
        EXPECT_FALSE(feld.updatesEnabled());
    }
    EXPECT_TRUE(feld.updatesEnabled());
    try {
        const TextFeld::ZeichnenAus aus(feld);
        throw std::runtime_error("mitten im Konvertieren");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(feld.updatesEnabled());
}
