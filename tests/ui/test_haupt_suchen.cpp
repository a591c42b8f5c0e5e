// The main window's find and find-next: availability, shortcuts, focus.
#include "FensterTest.h"
#include "ui/Suchen.h"

#include <QCheckBox>
#include <QLineEdit>

using zwtest::Art;

namespace {
class HauptSuchen : public zwtest::FensterTest {};
} // namespace

TEST_F(HauptSuchen, VerfuegbarNachDemOeffnenWeitersuchenNachDemErstenLauf) {
    EXPECT_FALSE(form->MenuBearbeitenSuchen->isEnabled());
    EXPECT_FALSE(form->ButtonSuchen->isEnabled());
    EXPECT_FALSE(form->MenuBearbeitenWeiterSuchen->isEnabled());
    EXPECT_EQ(form->MenuBearbeitenSuchen->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(form->MenuBearbeitenWeiterSuchen->shortcut(), QKeySequence(Qt::Key_F3));

    Oeffnen(Datei("see.txt", "Haus am See\r\nam Haus\r\n"));
    EXPECT_TRUE(form->MenuBearbeitenSuchen->isEnabled());
    EXPECT_TRUE(form->ButtonSuchen->isEnabled());
    EXPECT_FALSE(form->ButtonWeiterSuchen->isEnabled());

    const QString vorher = Fokus();
    form->ButtonSuchen->click();
    auto& dialog = form->DialogSuchen->Dialog();
    ASSERT_TRUE(dialog.isVisible());
    dialog.EditSuchen->setText(QStringLiteral("haus"));
    QTest::keyClick(dialog.EditSuchen, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Fokus(), vorher); // back where it was before the find command
    EXPECT_TRUE(form->MenuBearbeitenWeiterSuchen->isEnabled());
    EXPECT_TRUE(form->ButtonWeiterSuchen->isEnabled());
    EXPECT_EQ(form->RichEdit->AuswahlStart(), 0);
    EXPECT_EQ(form->RichEdit->AusgewaehlterText(), u"Haus");

    form->MenuBearbeitenWeiterSuchen->trigger();
    EXPECT_EQ(form->RichEdit->AuswahlStart(), 15); // the line end counts as one position
    form->ButtonWeiterSuchen->click();
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{QStringLiteral("Keinen weiteren Suchstring gefunden!")});
    EXPECT_EQ(form->RichEdit->AuswahlStart(), 15);
}

TEST_F(HauptSuchen, JedesFensterHatSeinenEigenenDialog) {
    zwtest::SkriptDialoge andere;
    zw::TForm1 zweites(andere);
    EXPECT_NE(&zweites.DialogSuchen->Dialog(), &form->DialogSuchen->Dialog());
    form->DialogSuchen->Dialog().EditSuchen->setText(QStringLiteral("x"));
    EXPECT_TRUE(zweites.DialogSuchen->Dialog().EditSuchen->text().isEmpty());
}
