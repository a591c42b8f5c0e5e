// The text control: CR LF outside, one position per line end inside.
#include "ui/EditFeld.h"
#include "ui/TextFeld.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
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

namespace {

// A shown control with many lines whose context menu is the window's own,
// as the windows set it up, and a spy on its request.
struct Kontextmenue {
    explicit Kontextmenue(std::unique_ptr<TextFeld> f) : feld(std::move(f)) {
        std::u16string text;
        for (int i = 0; i < 200; ++i)
            text += u"Zeile mit etwas Text\r\n";
        feld->TextSetzen(text);
        feld->setContextMenuPolicy(Qt::CustomContextMenu);
        feld->resize(300, 200);
        feld->show();
        feld->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(feld.get()));
        anfragen = std::make_unique<QSignalSpy>(feld.get(), &QWidget::customContextMenuRequested);
    }
    QPoint Punkt() const { return anfragen->empty() ? QPoint() : anfragen->back()[0].toPoint(); }

    std::unique_ptr<TextFeld> feld;
    std::unique_ptr<QSignalSpy> anfragen;
};

struct Art {
    const char* name;
    std::function<std::unique_ptr<TextFeld>()> machen;
};
const Art kArten[] = {
    {"TextFeld", [] { return std::make_unique<TextFeld>(); }},
    {"EditFeld", [] { return std::make_unique<zw::EditFeld>(); }},
};

} // namespace

TEST(TextFeld, UmschaltF10OeffnetDasKontextmenueAmKursor) {
    for (const Art& art : kArten) {
        SCOPED_TRACE(art.name);
        Kontextmenue k(art.machen());
        k.feld->Markieren(k.feld->PositionsText().find(u'\r', 50) + 1, 0); // a line further down
        const QRect kursor = k.feld->cursorRect();
        ASSERT_GT(kursor.top(), 0);

        QTest::keyClick(k.feld.get(), Qt::Key_F10);
        EXPECT_EQ(k.anfragen->count(), 0);

        QTest::keyClick(k.feld.get(), Qt::Key_F10, Qt::ShiftModifier);
        ASSERT_EQ(k.anfragen->count(), 1);
        // In viewport coordinates, as a right click reports it.
        EXPECT_TRUE(kursor.adjusted(-2, -2, 2, 2).contains(k.Punkt()))
            << k.Punkt().x() << "," << k.Punkt().y();
        EXPECT_EQ(k.feld->Text().size(), 200u * 22u) << "the key must not reach the text";
    }
}

TEST(TextFeld, UmschaltF10BeiKursorAusserSichtOeffnetImFeld) {
    for (const Art& art : kArten) {
        SCOPED_TRACE(art.name);
        Kontextmenue k(art.machen());
        // The caret at the start, the view scrolled to the end.
        k.feld->verticalScrollBar()->setValue(k.feld->verticalScrollBar()->maximum());
        ASSERT_FALSE(k.feld->viewport()->rect().intersects(k.feld->cursorRect()));

        QTest::keyClick(k.feld.get(), Qt::Key_F10, Qt::ShiftModifier);
        ASSERT_EQ(k.anfragen->count(), 1);
        EXPECT_TRUE(k.feld->viewport()->rect().contains(k.Punkt()))
            << k.Punkt().x() << "," << k.Punkt().y();
        EXPECT_EQ(k.feld->verticalScrollBar()->value(), k.feld->verticalScrollBar()->maximum());
    }
}
