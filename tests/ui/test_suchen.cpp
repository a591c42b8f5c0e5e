// Find and find-next on a text control, with the dialog driven as a user
// would and the messages answered by the script.
#include "SkriptDialoge.h"
#include "ui/Fokus.h"
#include "ui/Suchen.h"
#include "ui/TextFeld.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using zwtest::Art;

namespace {

class SuchenTest : public testing::Test {
protected:
    void SetUp() override {
        fenster = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(fenster.get());
        feld = new zw::TextFeld(fenster.get());
        knopf = new QPushButton(QStringLiteral("Anderes"), fenster.get());
        layout->addWidget(feld);
        layout->addWidget(knopf);
        suche = std::make_unique<zw::Suche>(
            fenster.get(), *feld, dialoge, [this] { ++weiterAn; }, merk);
        fenster->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fenster.get()));
    }

    // What a user does: type the text, pick the options, press the button.
    void Suchen(const QString& text, zw::Richtung richtung = zw::Richtung::Abwaerts,
                bool ganzesWort = false, bool grossKlein = false) {
        auto& d = suche->Dialog();
        suche->SuchenZeigen();
        d.EditSuchen->setText(text);
        (richtung == zw::Richtung::Aufwaerts ? d.RadioOben : d.RadioUnten)->setChecked(true);
        d.CheckGanzesWort->setChecked(ganzesWort);
        d.CheckGrossKlein->setChecked(grossKlein);
        QTest::mouseClick(d.ButtonWeitersuchen, Qt::LeftButton);
    }

    std::pair<qsizetype, qsizetype> Auswahl() const {
        return {feld->AuswahlStart(), feld->AuswahlLaenge()};
    }

    zwtest::SkriptDialoge dialoge;
    std::unique_ptr<QWidget> fenster;
    zw::TextFeld* feld = nullptr;
    QPushButton* knopf = nullptr;
    zw::FokusMerker merk;
    std::unique_ptr<zw::Suche> suche;
    int weiterAn = 0;
};

} // namespace

TEST_F(SuchenTest, DialogBeginntLeerAbwaertsOhneOptionenMitNamen) {
    auto& d = suche->Dialog();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Suchen"));
    EXPECT_FALSE(d.isModal());
    EXPECT_TRUE(d.EditSuchen->text().isEmpty());
    EXPECT_TRUE(d.RadioUnten->isChecked());
    EXPECT_FALSE(d.CheckGanzesWort->isChecked());
    EXPECT_FALSE(d.CheckGrossKlein->isChecked());
    EXPECT_EQ(d.CheckGanzesWort->text(), QStringLiteral("Nur &ganzes Wort suchen"));
    EXPECT_EQ(d.CheckGrossKlein->text(), QStringLiteral("Groß-/&Kleinschreibung"));
    EXPECT_EQ(d.RadioOben->text(), QStringLiteral("Nach &oben"));
    EXPECT_EQ(d.RadioUnten->text(), QStringLiteral("Nach &unten"));
    EXPECT_EQ(d.ButtonWeitersuchen->text(), QStringLiteral("&Weitersuchen"));
    EXPECT_EQ(d.ButtonAbbrechen->text(), QStringLiteral("Abbrechen"));
    for (QWidget* w : d.findChildren<QWidget*>()) {
        if (w->isWidgetType() && w->focusPolicy() != Qt::NoFocus) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
        }
    }
}

TEST_F(SuchenTest, AbwaertsJederTrefferBisZumEndeDannMeldung) {
    feld->TextSetzen(u"ein Wort\r\nnoch ein Wort\r\nWort\r\n");
    feld->setFocus();
    Suchen(QStringLiteral("Wort"));
    EXPECT_EQ(weiterAn, 1);
    EXPECT_FALSE(suche->Dialog().isVisible()); // a search run closes the dialog
    EXPECT_EQ(Auswahl(), std::make_pair(qsizetype(4), qsizetype(4)));
    suche->SuchLauf();
    // "noch ein Wort" starts at 9: the line end counts as one position.
    EXPECT_EQ(Auswahl(), std::make_pair(qsizetype(18), qsizetype(4)));
    suche->SuchLauf();
    EXPECT_EQ(Auswahl(), std::make_pair(qsizetype(23), qsizetype(4)));
    suche->SuchLauf();
    EXPECT_EQ(Auswahl(), std::make_pair(qsizetype(23), qsizetype(4)));
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{QStringLiteral("Keinen weiteren Suchstring gefunden!")});
    EXPECT_EQ(weiterAn, 4);
}

TEST_F(SuchenTest, AufwaertsDieselbenTrefferUmgekehrt) {
    feld->TextSetzen(u"ein Wort\r\nnoch ein Wort\r\nWort\r\n");
    feld->Markieren(feld->Laenge(), 0);
    Suchen(QStringLiteral("Wort"), zw::Richtung::Aufwaerts);
    EXPECT_EQ(Auswahl().first, 23);
    suche->SuchLauf();
    EXPECT_EQ(Auswahl().first, 18);
    suche->SuchLauf();
    EXPECT_EQ(Auswahl().first, 4);
    suche->SuchLauf();
    EXPECT_EQ(Auswahl().first, 4);
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{QStringLiteral("Keinen weiteren Suchstring gefunden!")});
}

TEST_F(SuchenTest, SuchcodesFindenZeilenendenUndTreffer0) {
    feld->TextSetzen(u"A1\r\nB\tC\r\n");
    Suchen(QStringLiteral("^65"));
    EXPECT_EQ(Auswahl(), std::make_pair(qsizetype(0), qsizetype(1)));
    // The selection starts at 0: the next run covered the whole text.
    suche->SuchLauf();
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{QStringLiteral("Der Suchstring wurde nicht gefunden!")});
    feld->Markieren(0, 0);
    Suchen(QStringLiteral("1^aB^t"));
    EXPECT_EQ(Auswahl(), std::make_pair(qsizetype(1), qsizetype(4)));
    EXPECT_EQ(feld->AusgewaehlterText(), u"1\r\nB\t");
}

TEST_F(SuchenTest, GanzesWortUndGrossKlein) {
    feld->TextSetzen(u"Hausboot haus\r\n");
    Suchen(QStringLiteral("Haus"), zw::Richtung::Abwaerts, true, true);
    EXPECT_EQ(dialoge.Texte(Art::Information).size(), 1u); // only inside a word, or lower case
    feld->Markieren(0, 0);
    Suchen(QStringLiteral("HAUS"), zw::Richtung::Abwaerts, true, false);
    EXPECT_EQ(Auswahl().first, 9);
    feld->Markieren(feld->Laenge(), 0);
    Suchen(QStringLiteral("HAUS"), zw::Richtung::Aufwaerts, true, false);
    EXPECT_EQ(Auswahl().first, 9);
    // Letter case beyond ASCII folds the same way in both directions.
    feld->TextSetzen(u"ÄRGER ärger\r\n");
    Suchen(QStringLiteral("ärger"), zw::Richtung::Abwaerts, true, false);
    EXPECT_EQ(Auswahl().first, 0);
}

TEST_F(SuchenTest, FokusKehrtNachDemDialogZurueck) {
    feld->TextSetzen(u"abc\r\n");
    knopf->setFocus();
    QApplication::processEvents();
    suche->SuchenZeigen();
    EXPECT_EQ(merk.Gemerkt(), knopf);
    // The focus has gone elsewhere meanwhile; closing gives it back.
    feld->setFocus();
    QTest::mouseClick(suche->Dialog().ButtonAbbrechen, Qt::LeftButton);
    EXPECT_EQ(fenster->focusWidget(), knopf);
    EXPECT_FALSE(suche->Dialog().isVisible());
    // Text and options stay for the next time; a search run closes the
    // dialog and gives the focus back too.
    suche->SuchenZeigen();
    merk.Merken(knopf);
    feld->setFocus();
    suche->Dialog().EditSuchen->setText(QStringLiteral("b"));
    QTest::keyClick(suche->Dialog().EditSuchen, Qt::Key_Return);
    EXPECT_EQ(fenster->focusWidget(), knopf);
    EXPECT_EQ(Auswahl(), std::make_pair(qsizetype(1), qsizetype(1)));
    suche->SuchenZeigen();
    EXPECT_EQ(suche->Dialog().EditSuchen->text(), QStringLiteral("b"));
}

TEST_F(SuchenTest, NachEinerAenderungWirdDerNeueTextDurchsucht) {
    feld->TextSetzen(u"alt\r\n");
    Suchen(QStringLiteral("neu"));
    EXPECT_EQ(dialoge.Texte(Art::Information).size(), 1u);
    feld->TextSetzen(u"ganz neu\r\n");
    suche->SuchLauf();
    EXPECT_EQ(Auswahl(), std::make_pair(qsizetype(5), qsizetype(3)));
    // An edit in place, as the table editor makes them.
    feld->setReadOnly(false);
    feld->Markieren(0, 0);
    feld->insertPlainText(QStringLiteral("neu "));
    feld->Markieren(0, 0);
    suche->SuchLauf();
    EXPECT_EQ(Auswahl(), std::make_pair(qsizetype(0), qsizetype(3)));
}
