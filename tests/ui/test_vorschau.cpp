// The braille preview window, alone and from the main window, and the
// embosser's settings it keeps.
#include "FensterTest.h"
#include "ModalFenster.h"

#include "core/Drucktext.h"
#include "platform/BrailleEinstellungen.h"
#include "ui/DruckDlg.h"
#include "ui/Vorschau.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace zw;
using zwtest::FensterTest;

namespace {

std::unique_ptr<TVorschauForm> Zeigen(const std::string& bytes, const BrailleEinstellung& e) {
    auto form = std::make_unique<TVorschauForm>(nullptr, bytes, e);
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return form;
}

QString Zellen(std::initializer_list<int> zellen) {
    QString s;
    for (int z : zellen)
        s += QChar(0x2800 + z);
    return s;
}

} // namespace

TEST(Vorschau, SeitenMitUeberschriftZeilenUmbrochen) {
    auto form = Zeigen("abcdefg\r\nhi\fj\f", {"us6", 3, 2});
    EXPECT_EQ(form->windowTitle(), "Braille-Vorschau");
    EXPECT_EQ(form->TextVorschau->toPlainText(), "Seite 1 von 3\n" + Zellen({1, 3, 9}) + "\n" +
                                                     Zellen({25, 17, 11}) + "\n\nSeite 2 von 3\n" +
                                                     Zellen({27}) + "\n" + Zellen({19, 10}) +
                                                     "\n\nSeite 3 von 3\n" + Zellen({26}));
    EXPECT_EQ(form->SeitenZeilen(), (std::vector<int>{0, 4, 8}));
    EXPECT_EQ(form->LabelOhneZelle->text(), "Jedes Byte hat eine Zelle im Code.");
    // The text has the focus and is read by a screen reader under its name.
    EXPECT_EQ(QApplication::focusWidget(), form->TextVorschau);
    EXPECT_EQ(form->TextVorschau->accessibleName(), "Braille-Vorschau");
    EXPECT_EQ(form->LabelCode->buddy(), form->ComboCode);
    EXPECT_EQ(form->LabelZeichen->buddy(), form->EditZeichen);
    EXPECT_EQ(form->LabelZeilen->buddy(), form->EditZeilen);
}

TEST(Vorschau, BildAbUndAufBlaetternSeitenweise) {
    std::string bytes;
    for (int i = 0; i < 500; ++i)
        bytes += "Zeile\r\n";
    bytes += '\f';
    auto form = Zeigen(bytes, {"us6", 40, 10});
    EXPECT_EQ(form->LabelSeite->text(), "Seite 1 von 50");
    QTest::keyClick(form->TextVorschau, Qt::Key_PageDown);
    EXPECT_EQ(form->AktuelleSeite(), 2);
    EXPECT_EQ(form->TextVorschau->textCursor().blockNumber(), form->SeitenZeilen()[1]);
    EXPECT_EQ(form->LabelSeite->text(), "Seite 2 von 50");
    QTest::keyClick(form->TextVorschau, Qt::Key_PageDown);
    EXPECT_EQ(form->AktuelleSeite(), 3);
    QTest::keyClick(form->TextVorschau, Qt::Key_PageUp);
    EXPECT_EQ(form->LabelSeite->text(), "Seite 2 von 50");
    // The heading stands at the top of the view.
    EXPECT_EQ(form->TextVorschau->verticalScrollBar()->value(), form->SeitenZeilen()[1]);
    // From within a page, up goes to the page before.
    QTest::keyClick(form->TextVorschau, Qt::Key_Down);
    QTest::keyClick(form->TextVorschau, Qt::Key_PageUp);
    EXPECT_EQ(form->AktuelleSeite(), 1);
    QTest::keyClick(form->TextVorschau, Qt::Key_PageUp);
    EXPECT_EQ(form->AktuelleSeite(), 1);
}

TEST(Vorschau, CodeWechselnUndBytesOhneZelle) {
    auto form = Zeigen("aA\xe4\x80\f", {"us6", 40, 25});
    // 6 dots: a and A alike, ä and byte 128 without a cell, marked.
    EXPECT_TRUE(
        form->TextVorschau->toPlainText().endsWith(Zellen({1, 1, 0xAF & 0x3F, 0x88 & 0x3F})));
    EXPECT_EQ(form->LabelOhneZelle->text(),
              "2 Bytes haben keine Zelle im Code und sind markiert: Byte 128 (Zeichen 128) 1-mal, "
              "Byte 228 (ä) 1-mal");
    EXPECT_EQ(form->TextVorschau->extraSelections().size(), 2);
    form->ComboCode->setCurrentIndex(1);
    EXPECT_TRUE(form->TextVorschau->toPlainText().endsWith(Zellen({1, 0x41, 0xAF, 0x88})));
    EXPECT_TRUE(form->TextVorschau->extraSelections().isEmpty());
    EXPECT_EQ(form->Einstellung().Code, "us8");
    form->EditZeichen->setValue(2);
    EXPECT_EQ(form->TextVorschau->toPlainText(),
              "Seite 1 von 1\n" + Zellen({1, 0x41}) + "\n" + Zellen({0xAF, 0x88}));
}

TEST(Vorschau, FolgtSchriftUndHintergrund) {
    TVorschauForm form(nullptr, "abc\f", {});
    TSchrift schrift;
    schrift.Name = u"DejaVu Sans";
    schrift.Groesse = 28;
    form.SchriftartZuweisen(schrift, 0x00FFFF);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.TextVorschau->font().pointSize(), 28);
    EXPECT_EQ(form.LabelOhneZelle->font().pointSize(), 28);
    EXPECT_EQ(form.ButtonSchliessen->font().pointSize(), 28);
    EXPECT_EQ(form.TextVorschau->palette().color(QPalette::Base), QColor(255, 255, 0));
    // Nothing leaves the window at a large size.
    for (QWidget* w :
         {static_cast<QWidget*>(form.ComboCode), static_cast<QWidget*>(form.EditZeilen),
          static_cast<QWidget*>(form.ButtonSchliessen)})
        EXPECT_TRUE(form.rect().contains(w->geometry())) << w->objectName().toStdString();
}

// ---------------------------------------------------------------------------
// From the main window.

class VorschauHaupt : public FensterTest {};

TEST_F(VorschauHaupt, AusDemDateimenueBehaeltDieEinstellungen) {
    EXPECT_FALSE(form->MenuDateiVorschau->isEnabled());
    Oeffnen(Datei("vier.txt", "aA\r\n\r\n"));
    EXPECT_TRUE(form->MenuDateiVorschau->isEnabled());
    EXPECT_EQ(form->MenuDateiVorschau->text(), "Braille-&Vorschau...");
    QString gezeigt;
    zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
        auto* v = qobject_cast<TVorschauForm*>(w);
        ASSERT_NE(v, nullptr);
        gezeigt = v->TextVorschau->toPlainText();
        v->ComboCode->setCurrentIndex(2);
        v->EditZeichen->setValue(32);
        v->EditZeilen->setValue(27);
        QTest::keyClick(v, Qt::Key_Escape);
    });
    form->MenuDateiVorschau->trigger();
    // The print text: trimmed, with its form feed.
    EXPECT_EQ(gezeigt, "Seite 1 von 1\n" + Zellen({1, 1}));
    const BrailleEinstellung b = BrailleLaden(*einstellungen);
    EXPECT_EQ(b.Code, "de8");
    EXPECT_EQ(b.Zeichen, 32);
    EXPECT_EQ(b.Zeilen, 27);

    // The print dialog takes them for its page range and its check.
    form->DruckerPortStr = QStringLiteral("LPT1");
    form->DruckerPortS = true;
    BrailleEinstellung imDialog;
    zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
        auto* d = qobject_cast<TDruckenForm*>(w);
        ASSERT_NE(d, nullptr);
        imDialog = d->Braille();
        d->reject();
    });
    form->MenuDateiDrucken->trigger();
    EXPECT_EQ(imDialog.Code, "de8");
    EXPECT_EQ(imDialog.Zeilen, 27);
}

TEST(BrailleEinstellungen, FehlendeUndUngueltigeWerteGebenDieVorgaben) {
    QTemporaryDir ordner;
    QtEinstellungen reg(ordner.filePath(QStringLiteral("zw.ini")));
    const BrailleEinstellung leer = BrailleLaden(reg);
    EXPECT_EQ(leer.Code, "us6");
    EXPECT_EQ(leer.Zeichen, 40);
    EXPECT_EQ(leer.Zeilen, 25);
    ASSERT_TRUE(reg.Oeffnen());
    reg.StringSchreiben(kWertBrailleCode, QStringLiteral("klingonisch"));
    reg.IntegerSchreiben(kWertBrailleZeichen, 0);
    reg.IntegerSchreiben(kWertBrailleZeilen, 30);
    reg.Schliessen();
    const BrailleEinstellung b = BrailleLaden(reg);
    EXPECT_EQ(b.Code, "us6");
    EXPECT_EQ(b.Zeichen, 40);
    EXPECT_EQ(b.Zeilen, 30);
}
