// The background colour dialog and the main window's two view commands: the
// colour list, OK and Esc, out-of-range numbers, and the font dialog with the
// focus given back.
#include "FensterTest.h"
#include "ModalFenster.h"

#include "ui/Layout.h"
#include "ui/MoHintergrund.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>

using namespace zw;
using namespace zwtest;

namespace {

struct Farbe {
    const char* name;
    int rot, gruen, blau;
};

// The list as the user reads it, with each colour as red, green and blue.
const Farbe kListe[] = {
    {"Schwarz", 0, 0, 0},          {"Weiß", 255, 255, 255},     {"Gelb", 255, 255, 0},
    {"Blau", 0, 0, 255},           {"Marineblau", 0, 0, 128},   {"Himmelblau", 166, 202, 240},
    {"Blaugrün", 0, 128, 128},     {"Grün", 0, 128, 0},         {"Minzgrün", 192, 220, 192},
    {"Gelbgrün", 0, 255, 0},       {"Olivgrün", 128, 128, 0},   {"Grau", 128, 128, 128},
    {"Dunkelgrau", 128, 128, 128}, {"Hellgrau", 192, 192, 192}, {"Rot", 255, 0, 0},
    {"Purpur", 128, 0, 128},       {"Lila", 255, 0, 255},       {"Silber", 192, 192, 192},
    {"Braun", 128, 0, 0},
};

class HintergrundTest : public FensterTest {
protected:
    // The dialog answered by `tun`, through the view menu.
    void Waehlen(std::function<void(THintergrundForm*)> tun) {
        zwtest::BeimNaechstenModalFenster([tun](QWidget* w) {
            auto* dialog = qobject_cast<THintergrundForm*>(w);
            ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
            tun(dialog);
        });
        form->MenuAnsHintergrund->trigger();
    }
    bool Gespeichert(const QString& name) {
        QtEinstellungen s(einstellungen->Ort());
        return s.Oeffnen() && s.WertVorhanden(name);
    }
    std::int32_t Zahl(const QString& name) {
        QtEinstellungen s(einstellungen->Ort());
        EXPECT_TRUE(s.Oeffnen());
        return s.IntegerLesen(name);
    }
};

} // namespace

TEST(Hintergrund, NeunzehnNamenInIhrerOrdnungMitIhrenFarben) {
    THintergrundForm dialog(nullptr, 10);
    EXPECT_EQ(dialog.windowTitle(), "Schrifthintergrund wählen");
    EXPECT_EQ(dialog.Button1->text(), "O&K");
    EXPECT_EQ(dialog.Button2->text(), "&Abbrechen");
    EXPECT_TRUE(dialog.Button1->isDefault());
    ASSERT_EQ(dialog.ListBox1->count(), 19);
    EXPECT_EQ(dialog.HintergrundNr(), -1) << "ohne Auswahl, bis die Nummer gesetzt wird";
    const QPalette p = QApplication::palette();
    for (int i = 0; i < 19; ++i) {
        SCOPED_TRACE(kListe[i].name);
        EXPECT_EQ(dialog.ListBox1->item(i)->text(), QString::fromUtf8(kListe[i].name));
        dialog.SetHintergrundNr(i);
        EXPECT_EQ(dialog.HintergrundNr(), i);
        EXPECT_EQ(FarbeAusWert(dialog.HintergrundFarbe(), p),
                  QColor(kListe[i].rot, kListe[i].gruen, kListe[i].blau));
    }
}

TEST(Hintergrund, NummernAusserhalbWaehlenSchwarz) {
    THintergrundForm dialog(nullptr, 10);
    const std::pair<int, int> faelle[] = {{19, 0}, {-1, 0}, {18, 18}, {1000, 0}, {0, 0}, {7, 7}};
    for (const auto& [nr, position] : faelle) {
        dialog.SetHintergrundNr(5);
        dialog.SetHintergrundNr(nr);
        EXPECT_EQ(dialog.HintergrundNr(), position) << nr;
    }
}

TEST_F(HintergrundTest, ErsterStartWeissMitDemFokusAufDerListe) {
    EXPECT_EQ(form->HintergrundNr(), 1);
    bool gesehen = false;
    Waehlen([&](THintergrundForm* d) {
        gesehen = true;
        EXPECT_EQ(d->ListBox1->currentItem()->text(), "Weiß");
        EXPECT_EQ(d->MerkItemIndex, 1);
        // The focus arrives with the window's activation, which a busy
        // machine may deliver a moment after the dialog is shown.
        (void)QTest::qWaitFor([&] { return QApplication::focusWidget() == d->ListBox1; }, 5000);
        EXPECT_EQ(QApplication::focusWidget(), d->ListBox1);
        // The names in the program font on the current background.
        EXPECT_EQ(d->ListBox1->font().pointSize(), form->ProgrammSchrift.Groesse);
        EXPECT_EQ(d->ListBox1->palette().color(QPalette::Base), QColor(Qt::white));
        QTest::keyClick(d->ListBox1, Qt::Key_Escape);
    });
    EXPECT_TRUE(gesehen);
}

TEST_F(HintergrundTest, AbbrechenLaesstAllesWieEsWar) {
    // Esc, the button and the window's close box.
    const std::vector<std::pair<const char*, std::function<void(THintergrundForm*)>>> wege = {
        {"Esc", [](THintergrundForm* d) { QTest::keyClick(d->ListBox1, Qt::Key_Escape); }},
        {"Abbrechen", [](THintergrundForm* d) { d->Button2->click(); }},
        {"Schließfeld", [](THintergrundForm* d) { d->close(); }},
    };
    for (const auto& [name, abbrechen] : wege) {
        SCOPED_TRACE(name);
        Waehlen([&, abbrechen = abbrechen](THintergrundForm* d) {
            QTest::keyClick(d->ListBox1, Qt::Key_Down);
            ASSERT_EQ(d->ListBox1->currentItem()->text(), "Gelb");
            abbrechen(d);
        });
        EXPECT_EQ(form->HintergrundForm->HintergrundNr(), 1);
        EXPECT_EQ(form->HintergrundNr(), 1);
        EXPECT_EQ(form->SchriftHintergrundFarbe, 0xFFFFFFu);
        EXPECT_EQ(form->RichEdit->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_FALSE(Gespeichert("HintColor")) << "nichts gespeichert";
    }
}

TEST_F(HintergrundTest, OkFaerbtTextUndLabelsUndSpeichert) {
    Waehlen([](THintergrundForm* d) {
        QTest::keyClick(d->ListBox1, Qt::Key_Down);
        // Enter in the list is the default button.
        QTest::keyClick(d->ListBox1, Qt::Key_Return);
    });
    EXPECT_EQ(form->HintergrundNr(), 2);
    EXPECT_EQ(form->SchriftHintergrundFarbe, 0x00FFFFu);
    const QColor gelb(255, 255, 0);
    EXPECT_EQ(form->RichEdit->palette().color(QPalette::Base), gelb);
    for (QLabel* l : {form->LabelTabDatei, form->LabelTabEintraege}) {
        EXPECT_EQ(l->palette().color(QPalette::Window), gelb);
        EXPECT_TRUE(l->autoFillBackground());
    }
    EXPECT_EQ(Zahl("HintColor"), 2);
    EXPECT_TRUE(Gespeichert("FontSize")) << "alle Werte";

    // The list keeps the confirmed entry for the next showing.
    Waehlen([](THintergrundForm* d) {
        EXPECT_EQ(d->ListBox1->currentItem()->text(), "Gelb");
        EXPECT_EQ(d->ListBox1->palette().color(QPalette::Base), QColor(255, 255, 0));
        d->Button2->click();
    });
}

TEST_F(HintergrundTest, GleicheFarbenBleibenVerschiedeneEintraege) {
    for (int nr : {11, 12, 13, 17}) {
        Waehlen([nr](THintergrundForm* d) {
            d->ListBox1->setCurrentRow(nr);
            d->Button1->click();
        });
        EXPECT_EQ(Zahl("HintColor"), nr);
    }
    EXPECT_EQ(HintergrundFarben[11], HintergrundFarben[12]);
    EXPECT_EQ(HintergrundFarben[13], HintergrundFarben[17]);
}

TEST_F(HintergrundTest, OkOhneAenderungSpeichertAuch) {
    Waehlen([](THintergrundForm* d) { d->Button1->click(); });
    EXPECT_EQ(form->HintergrundNr(), 1);
    EXPECT_EQ(Zahl("HintColor"), 1);
}

// ---------------------------------------------------------------------------
// The font command.

TEST_F(HintergrundTest, SchriftBestaetigtLegtNeuAusUndSpeichert) {
    form->ProgrammSchrift.Farbe = 0x0000FF;
    form->ProgrammSchrift.Zeichensatz = 2;
    const TSchrift vorher = form->ProgrammSchrift;
    const int knopfVorher = form->ButtonOpen->height();
    form->RichEdit->setFocus();
    TSchrift neu;
    neu.Name = u"Courier New";
    neu.Groesse = 28;
    neu.Stil = StilFett;
    dialoge.SchriftWaehlt(neu);
    // The dialog takes the focus while it is open.
    dialoge.BeimAufruf = [&](const Aufruf&) { form->ButtonOpen->setFocus(); };
    form->MenuAnsSchriftart->trigger();

    ASSERT_EQ(dialoge.Arten(), std::vector<Art>{Art::Schrift});
    EXPECT_EQ(dialoge.Aufrufe[0].schrift, vorher) << "der Dialog beginnt mit der Programmschrift";
    EXPECT_EQ(form->ProgrammSchrift, (TSchrift{u"Courier New", 28, 0x0000FF, 2, StilFett}));
    EXPECT_GT(form->ButtonOpen->height(), knopfVorher);
    EXPECT_EQ(form->ButtonOpen->height(), SchriftHoehe(form->ButtonOpen->font()) + 12);
    EXPECT_EQ(form->RichEdit->font().family(), "Courier New");
    EXPECT_EQ(form->width(), 875);
    EXPECT_EQ(Zahl("FontSize"), 28);
    EXPECT_EQ(Zahl("FontStyle"), StilFett);
    EXPECT_EQ(Zahl("FontColor"), 0x0000FF);
    EXPECT_EQ(Zahl("FontCharSet"), 2);
    EXPECT_EQ(form->focusWidget(), form->RichEdit);
}

TEST_F(HintergrundTest, SchriftAbgebrochenAendertNichtsUndGibtDenFokusZurueck) {
    const TSchrift vorher = form->ProgrammSchrift;
    const QRect knopf = form->ButtonOpen->geometry();
    form->RichEdit->setFocus();
    dialoge.SchriftBricht();
    dialoge.BeimAufruf = [&](const Aufruf&) { form->ButtonOpen->setFocus(); };
    form->MenuAnsSchriftart->trigger();
    EXPECT_EQ(form->ProgrammSchrift, vorher);
    EXPECT_EQ(form->ButtonOpen->geometry(), knopf);
    EXPECT_FALSE(Gespeichert("FontSize")) << "nichts gespeichert";
    EXPECT_EQ(form->focusWidget(), form->RichEdit);
}

TEST_F(HintergrundTest, KontextmenueDesTextesZeigtDenSchriftdialog) {
    TSchrift neu;
    neu.Groesse = 16;
    dialoge.SchriftWaehlt(neu);
    form->RePopupSchriftart->trigger();
    EXPECT_EQ(dialoge.Arten(), std::vector<Art>{Art::Schrift});
    EXPECT_EQ(form->ProgrammSchrift.Groesse, 16);
    EXPECT_EQ(Zahl("FontSize"), 16);
}

// The colour chosen in the font dialog is the program font's colour: on a
// black background white text can be read, buttons keep their own text
// colour, and the next start applies the stored value.
TEST_F(HintergrundTest, SchriftfarbeMachtJedenHintergrundLesbar) {
    form->SetHintergrundNr(0); // "Schwarz"
    const QColor knopfText = form->ButtonOpen->palette().color(QPalette::ButtonText);
    TSchrift weiss = form->ProgrammSchrift;
    weiss.Farbe = 0xFFFFFF;
    weiss.Stil = StilUnterstrichen | StilDurchgestrichen;
    dialoge.SchriftWaehlt(weiss, true);
    form->MenuAnsSchriftart->trigger();

    EXPECT_EQ(form->ProgrammSchrift.Farbe, 0xFFFFFFu);
    const QColor w(255, 255, 255);
    EXPECT_EQ(form->RichEdit->palette().color(QPalette::Text), w);
    EXPECT_EQ(form->RichEdit->palette().color(QPalette::Base), QColor(0, 0, 0));
    for (QLabel* l : {form->LabelTabDatei, form->LabelTabEintraege})
        EXPECT_EQ(l->palette().color(QPalette::WindowText), w) << l->objectName().toStdString();
    EXPECT_TRUE(form->RichEdit->font().underline());
    EXPECT_TRUE(form->RichEdit->font().strikeOut());
    EXPECT_EQ(form->ButtonOpen->palette().color(QPalette::ButtonText), knopfText);
    EXPECT_EQ(Zahl("FontColor"), 0xFFFFFF);
    EXPECT_EQ(Zahl("FontStyle"), StilUnterstrichen | StilDurchgestrichen);

    // Started again with the same settings.
    form->close();
    TForm1 neu(dialoge, *einstellungen);
    neu.show();
    EXPECT_EQ(neu.ProgrammSchrift.Farbe, 0xFFFFFFu);
    EXPECT_EQ(neu.LabelTabDatei->palette().color(QPalette::WindowText), w);
    EXPECT_EQ(neu.RichEdit->palette().color(QPalette::Base), QColor(0, 0, 0));
}
