// The layout from the program font: the measuring helpers, and the main
// window and the background colour dialog for fonts from 8 to 72 points.
#include "FensterTest.h"

#include "ui/DruckDlg.h"

#include "ui/Layout.h"
#include "ui/LokalDlg.h"
#include "ui/MoHintergrund.h"
#include "ui/NetzwerkDlg.h"
#include "ui/TabPruefenDlg.h"
#include "ui/Vorschau.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>

using namespace zw;
using namespace zwtest;

namespace {

const int kGroessen[] = {8, 12, 28, 72};

TSchrift Schrift(int groesse, int stil = 0) {
    TSchrift s;
    s.Groesse = groesse;
    s.Stil = stil;
    return s;
}

// Where a control is in its window.
QRect ImFenster(const QWidget* w) {
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

// Centred on the screen one pixel up and left, never beyond its top left
// corner.
void Mittig(const QWidget* fenster) {
    const QRect schirm = fenster->screen()->geometry();
    const QRect rahmen = fenster->frameGeometry();
    EXPECT_EQ(rahmen.left(), qMax(0, (schirm.width() - rahmen.width()) / 2 - 1));
    EXPECT_EQ(rahmen.top(), qMax(0, (schirm.height() - rahmen.height()) / 2 - 1));
}

void KeineUeberschneidung(const std::vector<const QWidget*>& steuerelemente) {
    for (std::size_t i = 0; i < steuerelemente.size(); ++i)
        for (std::size_t j = i + 1; j < steuerelemente.size(); ++j)
            EXPECT_FALSE(ImFenster(steuerelemente[i]).intersects(ImFenster(steuerelemente[j])))
                << steuerelemente[i]->objectName().toStdString() << " und "
                << steuerelemente[j]->objectName().toStdString();
}

} // namespace

// ---------------------------------------------------------------------------
// The helpers.

TEST(Layout, SteuerelementHoeheIstDieSchrifthoehePlusDieArt) {
    QLineEdit edit;
    QPushButton knopf;
    QStatusBar status;
    QGroupBox gruppe;
    QLabel label;
    QCheckBox pruef;
    QRadioButton radio;
    QListWidget liste;
    const std::pair<const QWidget*, int> arten[] = {
        {&edit, 8},  {&knopf, 12}, {&status, 6}, {&gruppe, 8},
        {&label, 0}, {&pruef, 0},  {&radio, 0},  {&liste, 0},
    };
    int vorher = 0;
    for (int groesse : kGroessen) {
        SCOPED_TRACE(groesse);
        const QFont f = QtSchrift(Schrift(groesse));
        const int hoehe = SchriftHoehe(f);
        EXPECT_GT(hoehe, vorher) << "die Zeilenhöhe wächst mit der Schrift";
        // The label rounds a fractional line height up (Qt 6.8 at some sizes),
        // the font metrics round it to the nearest pixel.
        EXPECT_NEAR(hoehe, QFontMetrics(f).height(), 1);
        vorher = hoehe;
        for (const auto& [w, zusatz] : arten)
            EXPECT_EQ(SteuerelementHoehe(f, w), hoehe + zusatz) << w->metaObject()->className();
    }
}

TEST(Layout, TextBreiteMisstDenTextMitEinemLeerzeichen) {
    // A label rounds the text's width up to whole pixels.
    for (int groesse : kGroessen) {
        const QFont f = QtSchrift(Schrift(groesse));
        const QFontMetrics m(f);
        EXPECT_NEAR(TextBreite(f, QString()), m.horizontalAdvance(u' '), 1);
        EXPECT_NEAR(TextBreite(f, "AbbrechenMM"), m.horizontalAdvance("AbbrechenMM "), 1);
        EXPECT_GT(TextBreite(f, "AbbrechenMM"), TextBreite(f, "Abbrechen"));
        // Not a mnemonic: the label shows what it is given.
        EXPECT_NEAR(TextBreite(f, "&&"), m.horizontalAdvance("&& "), 1);
    }
}

TEST(Layout, UndZeichenEntfernen) {
    const std::pair<QString, QString> faelle[] = {
        {"O&K", "OK"}, {"&Abbrechen", "Abbrechen"}, {"ohne", "ohne"}, {"a&b&c", "abc"}, {"&&", ""},
        {"", ""},
    };
    for (const auto& [caption, ohne] : faelle)
        EXPECT_EQ(UndZeichenEntfernen(caption), ohne) << caption.toStdString();
}

TEST(Layout, SchriftUndFarbenNachQt) {
    TSchrift s;
    s.Name = u"Courier New";
    s.Groesse = 20;
    s.Stil = StilKursiv | StilDurchgestrichen;
    const QFont f = QtSchrift(s);
    EXPECT_EQ(f.family(), "Courier New");
    EXPECT_EQ(f.pointSize(), 20);
    EXPECT_TRUE(f.italic());
    EXPECT_FALSE(f.bold());
    EXPECT_FALSE(f.underline());
    EXPECT_TRUE(f.strikeOut());
    EXPECT_EQ(StilBits(f), StilKursiv | StilDurchgestrichen);

    // Back from a dialog: face, size and style; colour and character set stay.
    TSchrift zurueck;
    zurueck.Farbe = 0x0000FF;
    zurueck.Zeichensatz = 2;
    SchriftUebernehmen(f, zurueck);
    EXPECT_EQ(zurueck, (TSchrift{u"Courier New", 20, 0x0000FF, 2, s.Stil}));

    const QPalette p = QApplication::palette();
    EXPECT_EQ(FarbeAusWert(0x0000FF, p), QColor(255, 0, 0)) << "0x00BBGGRR";
    EXPECT_EQ(FarbeAusWert(0xF0CAA6, p), QColor(166, 202, 240));
    EXPECT_EQ(FarbeAusWert(FarbeFensterText, p), p.color(QPalette::Text));
}

// ---------------------------------------------------------------------------
// The main window.

class HauptLayoutTest : public FensterTest {
protected:
    void Schrift(const TSchrift& schrift) {
        form->ProgrammSchrift = schrift;
        form->SetHintergrundNr(form->HintergrundNr());
        QApplication::processEvents();
    }
    QRect Arbeitsflaeche() const { return form->screen()->availableGeometry(); }
    std::vector<QPushButton*> Knoepfe() const {
        return {form->ButtonOpen,   form->ButtonKonvertieren, form->ButtonSpeichern,
                form->ButtonSuchen, form->ButtonWeiterSuchen, form->ButtonDrucken};
    }
};

TEST_F(HauptLayoutTest, DreiKnopfspaltenUndDieZeilenUeberDerStatuszeile) {
    const QFont statusSchrift = form->StatusZeile->font();
    for (int groesse : kGroessen) {
        SCOPED_TRACE(groesse);
        Schrift(::Schrift(groesse));
        const int zeile = SchriftHoehe(QtSchrift(form->ProgrammSchrift));

        EXPECT_EQ(form->width(), 875);
        EXPECT_EQ(form->centralWidget()->width(), 875);
        EXPECT_EQ(form->frameGeometry().height(), Arbeitsflaeche().height());

        const int spalten[] = {125, 375, 625, 125, 375, 625};
        const auto knoepfe = Knoepfe();
        for (std::size_t i = 0; i < knoepfe.size(); ++i) {
            SCOPED_TRACE(knoepfe[i]->objectName().toStdString());
            EXPECT_EQ(knoepfe[i]->font().pointSize(), groesse);
            EXPECT_EQ(knoepfe[i]->width(), 125);
            EXPECT_EQ(knoepfe[i]->height(), zeile + 12);
            EXPECT_EQ(knoepfe[i]->x(), spalten[i]);
        }
        // Bottom up: status bar, 10, second row, 10, first row, 10, the two
        // labels with 10 between them, 10, the text from 10 to 10 above.
        const QRect status = ImFenster(form->StatusZeile);
        EXPECT_EQ(form->StatusZeile->height(), SchriftHoehe(statusSchrift) + 6);
        EXPECT_EQ(form->StatusZeile->font(), statusSchrift)
            << "die Statuszeile behält ihre Schrift";
        EXPECT_EQ(ImFenster(form->ButtonSuchen).bottom() + 1 + 10, status.top());
        for (QPushButton* k : {form->ButtonWeiterSuchen, form->ButtonDrucken})
            EXPECT_EQ(k->y(), form->ButtonSuchen->y());
        EXPECT_EQ(form->ButtonOpen->y() + form->ButtonOpen->height() + 10, form->ButtonSuchen->y());
        for (QPushButton* k : {form->ButtonKonvertieren, form->ButtonSpeichern})
            EXPECT_EQ(k->y(), form->ButtonOpen->y());
        for (QLabel* l : {form->LabelTabDatei, form->LabelTabEintraege}) {
            EXPECT_EQ(l->x(), 10);
            EXPECT_EQ(l->height(), SchriftHoehe(l->font()));
            EXPECT_EQ(l->font().pointSize(), groesse);
        }
        EXPECT_EQ(form->LabelTabEintraege->y() + form->LabelTabEintraege->height() + 10,
                  form->ButtonOpen->y());
        EXPECT_EQ(form->LabelTabDatei->y() + form->LabelTabDatei->height() + 10,
                  form->LabelTabEintraege->y());
        EXPECT_EQ(form->RichEdit->geometry(), QRect(10, 10, 855, form->LabelTabDatei->y() - 20));
        EXPECT_EQ(form->RichEdit->font().pointSize(), groesse);

        KeineUeberschneidung({form->menuBar(), form->RichEdit, form->LabelTabDatei,
                              form->LabelTabEintraege, form->ButtonOpen, form->ButtonKonvertieren,
                              form->ButtonSpeichern, form->ButtonSuchen, form->ButtonWeiterSuchen,
                              form->ButtonDrucken, form->StatusZeile});
        // Centred across the work area, at its top. The test screen is
        // narrower than the window, and Qt's offscreen screen places a window
        // left of its edge two pixels short.
        const QRect flaeche = Arbeitsflaeche();
        EXPECT_NEAR(form->frameGeometry().left(),
                    (flaeche.width() - form->frameGeometry().width()) / 2 + flaeche.left(), 2);
        EXPECT_EQ(form->frameGeometry().top(), flaeche.top());
    }
}

TEST_F(HauptLayoutTest, KnoepfeNehmenNichtDieFarbeDerSchrift) {
    TSchrift rot = ::Schrift(14, StilFett);
    rot.Farbe = 0x0000FF;
    Schrift(rot);
    for (QWidget* w : std::initializer_list<QWidget*>{form->LabelTabDatei, form->LabelTabEintraege,
                                                      form->RichEdit}) {
        EXPECT_EQ(w->palette().color(QPalette::WindowText), QColor(Qt::red));
        EXPECT_EQ(w->palette().color(QPalette::Text), QColor(Qt::red));
    }
    for (QPushButton* k : Knoepfe()) {
        EXPECT_TRUE(k->font().bold()) << "der Stil schon";
        EXPECT_EQ(k->palette().color(QPalette::Active, QPalette::ButtonText),
                  QApplication::palette(k).color(QPalette::Active, QPalette::ButtonText));
    }
    // The window text colour again is the style's, not the red left over.
    Schrift(::Schrift(14));
    for (QWidget* w : std::initializer_list<QWidget*>{form->LabelTabDatei, form->RichEdit})
        EXPECT_EQ(w->palette().color(QPalette::Text),
                  QApplication::palette(w).color(QPalette::Text));
}

// One rule for font and colours in every window: a control of a dialog shows
// the program font as the main window's controls of its kind do.
TEST_F(HauptLayoutTest, DieDialogeZeigenDieSchriftWieDasHauptfenster) {
    struct Fall {
        const char* Was;
        TSchrift Schrift;
        int HintergrundNr;
        // The application's size for a size of 0, so it differs from 12.
        double Anwendungsgroesse = 0;
    };
    const Fall faelle[] = {
        {"Systemfarbe Hervorhebung", {u"DejaVu Serif", 14, 0xFF00000D, 0, StilFett}, 2},
        {"Systemfarbe Fenstertext", {u"Arial", 12, FarbeFensterText, 0, 0}, 1},
        {"Farbe und Stil",
         {u"DejaVu Sans Mono", 20, 0x0000FF, 0, StilKursiv | StilUnterstrichen},
         5},
        {"Größe 0", {u"Arial", 0, 0x008000, 0, StilDurchgestrichen}, 3, 17},
        {"Höhe in Pixeln", {u"DejaVu Sans", -30, 0xFF000012, 0, 0}, 14},
    };
    auto gleich = [](const QWidget* w, const QWidget* vorbild) {
        SCOPED_TRACE(w->objectName().toStdString());
        const QFont f = w->font(), v = vorbild->font();
        EXPECT_EQ(f.families(), v.families());
        EXPECT_EQ(f.pointSizeF(), v.pointSizeF());
        EXPECT_EQ(f.pixelSize(), v.pixelSize());
        EXPECT_EQ(StilBits(f), StilBits(v));
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text,
                                          QPalette::ButtonText, QPalette::Window, QPalette::Base})
                EXPECT_EQ(w->palette().color(g, r), vorbild->palette().color(g, r))
                    << "Gruppe " << g << ", Rolle " << r;
    };
    const QFont anwendung = QApplication::font();
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.Was);
        if (fall.Anwendungsgroesse > 0) {
            QFont f = anwendung;
            f.setPointSizeF(fall.Anwendungsgroesse);
            QApplication::setFont(f);
        }
        form->ProgrammSchrift = fall.Schrift;
        form->SetHintergrundNr(fall.HintergrundNr);
        const TSchrift& s = form->ProgrammSchrift;
        const std::uint32_t grund = form->SchriftHintergrundFarbe;
        const QWidget* text = form->LabelTabDatei;
        const QWidget* knopf = form->ButtonOpen;
        if (fall.Anwendungsgroesse > 0) {
            EXPECT_EQ(text->font().pointSizeF(), fall.Anwendungsgroesse);
        }

        TDruckenForm druck(form.get(), dialoge, "LPT1", u"Haus");
        druck.SchriftartZuweisen(s, grund);
        for (const QWidget* w : std::initializer_list<const QWidget*>{
                 druck.LabelPort, druck.LabelKopien, druck.EditKopien, druck.EditSeitenVon,
                 druck.LabelStatusText, druck.LabelPruefung})
            gleich(w, text);
        for (const QWidget* w : {druck.ButtonDrucken, druck.ButtonVorschau, druck.ButtonAbbrechen})
            gleich(w, knopf);

        TLptWechselnForm lokal(form.get(), "LPT2");
        lokal.SchriftartZuweisen(s, grund);
        gleich(lokal.RadioGroup, text);
        gleich(lokal.RadioItems[1], text);
        gleich(lokal.ButtonOk, knopf);

        TNetzwerkForm netz(form.get(), dialoge, "lp0", "Netzwerk", "Hinweis", {});
        netz.SchriftartZuweisen(s, grund);
        for (const QWidget* w : std::initializer_list<const QWidget*>{
                 netz.LabelHinweis, netz.ListeDrucker, netz.LabelPfad, netz.EditPfad})
            gleich(w, text);
        gleich(netz.ButtonAbbrechen, knopf);

        TVorschauForm vorschau(form.get(), "Haus\f", {});
        vorschau.SchriftartZuweisen(s, grund);
        for (const QWidget* w :
             std::initializer_list<const QWidget*>{vorschau.LabelCode, vorschau.ComboCode,
                                                   vorschau.EditZeichen, vorschau.TextVorschau})
            gleich(w, text);
        gleich(vorschau.ButtonSchliessen, knopf);

        TTabPruefenForm pruefen(form.get(), {});
        pruefen.SchriftartZuweisen(s, grund);
        gleich(pruefen.ListBefunde, text);
        gleich(pruefen.ButtonZeile, knopf);

        form->HintergrundForm->SchriftartZuweisen(s, grund);
        gleich(form->HintergrundForm->ListBox1, text);
        gleich(form->HintergrundForm->Button2, knopf);
        QApplication::setFont(anwendung);
    }
}

TEST_F(HauptLayoutTest, AndereBreiteSpringtZurueck) {
    const QSize vorher = form->size();
    form->resize(1100, vorher.height() / 2);
    QApplication::processEvents();
    EXPECT_EQ(form->size(), vorher);
    EXPECT_EQ(form->ButtonDrucken->x(), 625);
}

TEST_F(HauptLayoutTest, MaximiertStehtEsObenLinksInDerArbeitsflaeche) {
    form->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(form->frameGeometry().topLeft(), Arbeitsflaeche().topLeft());
    form->showNormal();
}

TEST_F(HauptLayoutTest, NachDemSchliessenKeinLayoutMehr) {
    form->MenuDateiBeenden->trigger();
    ASSERT_TRUE(form->IsClosing);
    const QRect vorher = form->ButtonOpen->geometry();
    form->ProgrammSchrift.Groesse = 40;
    form->resize(900, 500);
    QApplication::processEvents();
    EXPECT_EQ(form->ButtonOpen->geometry(), vorher);
}

// ---------------------------------------------------------------------------
// The background colour dialog.

TEST(HintergrundLayout, KnoepfeSoBreitWieAbbrechenUndZwanzigZeilenListe) {
    for (int groesse : kGroessen) {
        SCOPED_TRACE(groesse);
        THintergrundForm dialog(nullptr, 10);
        dialog.SetHintergrundNr(1);
        dialog.SchriftartZuweisen(Schrift(groesse), 0x00FFFF);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

        const int breite = TextBreite(dialog.Button1->font(), "AbbrechenMM");
        for (QPushButton* k : {dialog.Button1, dialog.Button2}) {
            EXPECT_EQ(k->width(), breite);
            EXPECT_EQ(k->height(), SchriftHoehe(k->font()) + 12);
            EXPECT_EQ(k->font().pointSize(), groesse);
        }
        EXPECT_EQ(dialog.Button1->x(), 10);
        EXPECT_EQ(dialog.Button2->x(), 20 + breite);
        EXPECT_EQ(dialog.width(), 30 + 2 * breite);
        EXPECT_EQ(dialog.ListBox1->geometry(),
                  QRect(10, 10, dialog.width() - 20, 20 * SchriftHoehe(dialog.ListBox1->font())));
        for (QPushButton* k : {dialog.Button1, dialog.Button2})
            EXPECT_EQ(k->y(), dialog.ListBox1->y() + dialog.ListBox1->height() + 10);
        EXPECT_EQ(dialog.height(), dialog.Button1->y() + dialog.Button1->height() + 10);
        EXPECT_EQ(dialog.ListBox1->font().pointSize(), groesse);
        EXPECT_EQ(dialog.ListBox1->palette().color(QPalette::Base), QColor(255, 255, 0));
        KeineUeberschneidung({dialog.ListBox1, dialog.Button1, dialog.Button2});

        Mittig(&dialog);
    }
}

// ---------------------------------------------------------------------------
// The print dialog and the local port dialog.

TEST(DruckLayout, ZeilenVonObenUndDieKnoepfeDarunter) {
    SkriptDialoge dialoge;
    for (int groesse : kGroessen) {
        SCOPED_TRACE(groesse);
        TDruckenForm d(nullptr, dialoge, "LPT1", u"Haus");
        d.SchriftartZuweisen(Schrift(groesse), 0x00FFFF);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));

        // The preview's button is as wide as its caption, at least as the others.
        const int vorschau =
            std::max(125, TextBreite(d.ButtonVorschau->font(), "Braille-Vorschau...MM"));
        EXPECT_EQ(d.ButtonVorschau->width(), vorschau);
        EXPECT_EQ(d.ButtonVorschau->height(), SchriftHoehe(d.ButtonVorschau->font()) + 12);
        for (QPushButton* k : {d.ButtonDrucken, d.ButtonAbbrechen}) {
            EXPECT_EQ(k->size(), QSize(125, SchriftHoehe(k->font()) + 12));
            EXPECT_EQ(k->font().pointSize(), groesse);
        }
        for (QLabel* l :
             {d.LabelPort, d.LabelPortText, d.LabelKopien, d.LabelStatus, d.LabelStatusText}) {
            EXPECT_EQ(l->height(), SchriftHoehe(l->font())) << l->objectName().toStdString();
            EXPECT_EQ(l->palette().color(QPalette::Window), QColor(255, 255, 0));
        }
        EXPECT_EQ(d.LabelPort->pos(), QPoint(10, 10));
        EXPECT_EQ(d.LabelPortText->pos(), QPoint(d.LabelPort->geometry().right() + 1 + 10, 10));
        EXPECT_EQ(d.EditKopien->y(), d.LabelPort->y() + d.LabelPort->height() + 10);
        EXPECT_EQ(d.EditKopien->x(), d.LabelKopien->x() + d.LabelKopien->width() + 5);
        EXPECT_EQ(d.EditKopien->height(), SchriftHoehe(d.EditKopien->font()) + 8);
        EXPECT_EQ(d.LabelKopien->x(), 10);
        EXPECT_EQ(d.LabelKopien->y(),
                  (d.EditKopien->height() - d.LabelKopien->height()) / 2 + d.EditKopien->y());
        // The page range in its own row below the copies.
        EXPECT_EQ(d.EditSeitenVon->y(), d.EditKopien->y() + d.EditKopien->height() + 10);
        EXPECT_EQ(d.LabelSeiten->x(), 10);
        EXPECT_EQ(d.LabelStatus->pos(),
                  QPoint(10, d.EditSeitenVon->y() + d.EditSeitenVon->height() + 10));
        EXPECT_EQ(d.LabelStatusText->pos(),
                  QPoint(d.LabelStatus->geometry().right() + 1 + 10, d.LabelStatus->y()));
        EXPECT_EQ(d.ButtonDrucken->pos(),
                  QPoint(125, d.LabelStatus->y() + d.LabelStatus->height() + 10));
        EXPECT_EQ(d.ButtonVorschau->pos(), QPoint(375, d.ButtonDrucken->y()));
        EXPECT_EQ(d.ButtonAbbrechen->pos(), QPoint(500 + vorschau, d.ButtonDrucken->y()));
        EXPECT_EQ(d.size(),
                  QSize(750 + vorschau, d.ButtonDrucken->y() + d.ButtonDrucken->height() + 10));
        EXPECT_EQ(d.LabelPortText->geometry().right() + 1, 750 + vorschau - 10);
        EXPECT_EQ(d.LabelPortText->text(), "LPT1");
        KeineUeberschneidung({d.LabelPort, d.LabelPortText, d.LabelKopien, d.EditKopien,
                              d.LabelSeiten, d.EditSeitenVon, d.LabelSeitenBis, d.EditSeitenBis,
                              d.LabelSeitenAnzahl, d.LabelStatus, d.LabelStatusText,
                              d.ButtonDrucken, d.ButtonVorschau, d.ButtonAbbrechen});
        Mittig(&d);
    }
}

TEST(DruckLayout, LangerPortWirdAufDenPlatzGekuerzt) {
    SkriptDialoge dialoge;
    const QString port = "/ein/sehr/langer/Pfad/durch/viele/verschachtelte/Ordner/bis/hin/zu/dem/"
                         "einen/Drucker/am/Ende/und/noch/ein/paar/Ordner/mehr/lp0";
    for (int groesse : {12, 28}) {
        TDruckenForm d(nullptr, dialoge, port, u"Haus");
        d.SchriftartZuweisen(Schrift(groesse), 0xFFFFFF);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        EXPECT_GE(d.width(), 875);
        EXPECT_TRUE(d.LabelPortText->text().contains("..."))
            << d.LabelPortText->text().toStdString();
        EXPECT_LE(d.LabelPortText->fontMetrics().horizontalAdvance(d.LabelPortText->text()),
                  d.LabelPortText->width());
        EXPECT_EQ(d.LabelPortText->toolTip(), port);
    }
}

TEST(LokalLayout, GruppeUeberDenKnoepfen) {
    for (int groesse : kGroessen) {
        SCOPED_TRACE(groesse);
        TLptWechselnForm d(nullptr, "LPT2");
        d.SchriftartZuweisen(Schrift(groesse), 0x00FFFF);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));

        for (QPushButton* k : {d.ButtonOk, d.ButtonAbbrechen})
            EXPECT_EQ(k->size(), QSize(125, SchriftHoehe(k->font()) + 12));
        EXPECT_EQ(d.RadioGroup->geometry(), QRect(10, 10, 260, 5 * d.ButtonOk->height()));
        EXPECT_EQ(d.ButtonOk->pos(), QPoint(10, d.RadioGroup->geometry().bottom() + 1 + 10));
        EXPECT_EQ(d.ButtonAbbrechen->pos(), QPoint(145, d.ButtonOk->y()));
        EXPECT_EQ(d.size(), QSize(280, d.ButtonOk->y() + d.ButtonOk->height() + 10));
        EXPECT_EQ(d.RadioGroup->palette().color(QPalette::Window), QColor(255, 255, 0));
        // The four ports inside the group, one under the other.
        for (QRadioButton* r : d.RadioItems) {
            EXPECT_EQ(r->font().pointSize(), groesse);
            EXPECT_TRUE(d.RadioGroup->rect().contains(r->geometry())) << r->text().toStdString();
        }
        KeineUeberschneidung({d.RadioItems[0], d.RadioItems[1], d.RadioItems[2], d.RadioItems[3]});
        KeineUeberschneidung({d.RadioGroup, d.ButtonOk, d.ButtonAbbrechen});
        Mittig(&d);
    }
}

// ---------------------------------------------------------------------------
// The table check's list of findings.

TEST(TabPruefenLayout, ListeUndKnoepfeWachsenMitDerSchrift) {
    std::vector<TabBefund> befunde;
    for (std::size_t i = 1; i <= 30; ++i)
        befunde.push_back(
            {i, TabBefundArt::EineZahl, "Nur eine Zahl: Die Zahl des Ersatzzeichens fehlt.", 0});
    for (int groesse : kGroessen) {
        SCOPED_TRACE(groesse);
        TTabPruefenForm d(nullptr, befunde);
        TSchrift rot = Schrift(groesse);
        rot.Farbe = 0x0000FF;
        d.SchriftartZuweisen(rot, 0x00FFFF);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        for (QPushButton* k : {d.ButtonZeile, d.ButtonSchliessen}) {
            EXPECT_EQ(k->width(), 125);
            EXPECT_EQ(k->height(), SchriftHoehe(k->font()) + 12);
            EXPECT_EQ(k->font().pointSize(), groesse);
            EXPECT_NE(k->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
        }
        EXPECT_EQ(d.ListBefunde->font().pointSize(), groesse);
        EXPECT_EQ(d.ListBefunde->palette().color(QPalette::Text), QColor(255, 0, 0));
        EXPECT_EQ(d.ListBefunde->palette().color(QPalette::Base), QColor(255, 255, 0));
        // Fifteen lines show at once, the rest scroll; at a font too large
        // for that the list is shortened so the buttons stay on the screen.
        if (groesse <= 12) {
            EXPECT_GE(d.ListBefunde->height(), 15 * SchriftHoehe(d.ListBefunde->font()));
        }
        EXPECT_EQ(d.ButtonZeile->y(), d.ListBefunde->y() + d.ListBefunde->height() + 10);
        EXPECT_LE(d.width(), d.screen()->availableGeometry().width());
        EXPECT_LE(d.height(), d.screen()->availableGeometry().height());
        KeineUeberschneidung({d.LabelBefunde, d.ListBefunde, d.ButtonZeile, d.ButtonSchliessen});
    }
}
